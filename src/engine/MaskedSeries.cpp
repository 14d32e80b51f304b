#include "engine/MaskedSeries.h"

#include <algorithm>
#include <cassert>
#include <cmath>

namespace vorel {

void MaskedSeries::Resize(int n) {
  assert(n >= 0);
  if (n == length()) return;
  // New storage first, then swapped in: Eigen frees the old block before it
  // allocates in place, and a failed allocation would leave it dangling.
  Vector values = Vector::Zero(n);
  FlagVector flags = FlagVector::Ones(n);
  values_.swap(values);
  flags_.swap(flags);
}

int MaskedSeries::CountValid() const {
  int count = 0;
  for (Eigen::Index t = 0; t < flags_.size(); ++t) count += flags_(t) != 0;
  return count;
}

MaskedSeries MaskedSeries::CompressValid() const {
  MaskedSeries out(CountValid());
  int k = 0;
  for (Eigen::Index t = 0; t < flags_.size(); ++t) {
    if (flags_(t)) out.values_(k++) = values_(t);
  }
  return out;
}

double MaskedSeries::ScaledInnerProduct(const MaskedSeries& a, const MaskedSeries& b) {
  assert(a.length() == b.length());
  const int n = a.length();
  double s = 0.0;
  int m = 0;
  for (int t = 0; t < n; ++t) {
    if (a.flags_(t) && b.flags_(t)) {
      s += a.values_(t) * b.values_(t);
      ++m;
    }
  }
  if (m == n) return s;
  if (m == 0) return 0.0;
  return static_cast<double>(n) / m * s;
}

std::optional<double> MaskedSeries::MinValid(int from, int to) const {
  std::optional<double> best;
  for (int t = std::max(from, 1); t <= std::min(to, length()); ++t) {
    if (isValid(t) && std::isfinite(value(t)) && (!best || value(t) < *best)) best = value(t);
  }
  return best;
}

std::optional<double> MaskedSeries::MaxValid(int from, int to) const {
  std::optional<double> best;
  for (int t = std::max(from, 1); t <= std::min(to, length()); ++t) {
    if (isValid(t) && std::isfinite(value(t)) && (!best || value(t) > *best)) best = value(t);
  }
  return best;
}

void MaskedSeries::SqrtEach() { values_ = values_.array().sqrt(); }

}  // namespace vorel
