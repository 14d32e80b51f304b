#pragma once

#include <optional>

#include "engine/EigenTypes.h"

namespace vorel {

// A real vector whose elements may be missing. Accessors are 1-based: element t
// runs from 1 to length(). A missing element is known by its flag only; its
// value is whatever was last stored (0 after a resize).
class MaskedSeries {
 public:
  MaskedSeries() = default;
  explicit MaskedSeries(int n) { Resize(n); }

  int length() const { return static_cast<int>(values_.size()); }

  // Same length: nothing happens. Otherwise all values become 0, all flags 1.
  void Resize(int n);
  // Copies length, values and flags of other.
  void Assign(const MaskedSeries& other) { *this = other; }

  double value(int t) const { return values_(t - 1); }
  double& value(int t) { return values_(t - 1); }
  bool isValid(int t) const { return flags_(t - 1) != 0; }
  void setValid(int t, bool valid) { flags_(t - 1) = valid ? 1 : 0; }
  void set(int t, double v, bool valid) {
    values_(t - 1) = v;
    flags_(t - 1) = valid ? 1 : 0;
  }
  void SetAllValid(bool valid) { flags_.setConstant(valid ? 1 : 0); }
  // Copies the flags of other, which must have the same length.
  void CopyFlagsFrom(const MaskedSeries& other) { flags_ = other.flags_; }

  // Number of present elements. O(n).
  int CountValid() const;
  // The present values in order, all flagged present.
  MaskedSeries CompressValid() const;
  // (n / m) * sum of a(t) b(t) over the t where both are present, m being the
  // number of such t; the plain inner product when nothing is missing, and 0
  // when no pair is present. a and b must have equal length.
  static double ScaledInnerProduct(const MaskedSeries& a, const MaskedSeries& b);
  // Least / greatest present value among from..to (clamped to 1..length());
  // empty when no element there is present. A value that is not finite (the
  // square root of a slightly negative eigenvalue) counts as missing.
  std::optional<double> MinValid(int from, int to) const;
  std::optional<double> MaxValid(int from, int to) const;
  // Replaces each value by its square root.
  void SqrtEach();

  // 0-based storage, for bulk work.
  const Vector& values() const { return values_; }
  Vector& values() { return values_; }
  const FlagVector& flags() const { return flags_; }
  FlagVector& flags() { return flags_; }

  bool operator==(const MaskedSeries& other) const {
    return values_ == other.values_ && flags_ == other.flags_;
  }

 private:
  Vector values_;
  FlagVector flags_;
};

}  // namespace vorel
