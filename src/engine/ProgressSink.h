#pragma once

namespace vorel {

// Where a long engine computation reports its progress: begin(from, to) sets
// the range, step() advances by one, show() and hide() bracket the
// computation. Every operation does nothing by default.
class ProgressSink {
 public:
  virtual ~ProgressSink() = default;
  virtual void begin(int /*from*/, int /*to*/) {}
  virtual void step() {}
  virtual void show() {}
  virtual void hide() {}
};

// A sink that ignores everything.
class NullProgress final : public ProgressSink {};

}  // namespace vorel
