#pragma once

#include <cstdint>

namespace vorel {

// The integer position of a progress bar with range 0 to 100: each step adds
// one to a count, the position is count * 100 / range (integer division) and
// only ever grows.
class ProgressCounter {
 public:
  // range := to - from; count, shown maximum and position := 0.
  void begin(int from, int to);
  // count += 1; returns true when the position moved (to a new maximum). A
  // range of 0 or less never moves the position.
  bool step();
  int position() const { return position_; }
  int count() const { return count_; }

 private:
  std::int64_t range_ = 0;
  int count_ = 0;
  int shownMaximum_ = 0;
  int position_ = 0;
};

}  // namespace vorel
