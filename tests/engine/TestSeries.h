#pragma once
// Small series builders shared by the engine tests.

#include <cmath>
#include <initializer_list>
#include <limits>
#include <vector>

#include "engine/MaskedSeries.h"

namespace vorel::test {

inline constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// A series from values; NaN marks a missing element (stored as 0).
inline MaskedSeries MakeSeries(const std::vector<double>& values) {
  MaskedSeries s(static_cast<int>(values.size()));
  for (int t = 1; t <= s.length(); ++t) {
    const double v = values[static_cast<size_t>(t - 1)];
    s.set(t, std::isnan(v) ? 0.0 : v, !std::isnan(v));
  }
  return s;
}

// x(t) = a + b cos(2 pi t / period) + c sin(2 pi t / period), t = 1..n.
inline std::vector<double> Harmonic(int n, double a, double b, double c, double period) {
  std::vector<double> v(static_cast<size_t>(n));
  const double w = 2.0 * std::acos(-1.0) / period;
  for (int t = 1; t <= n; ++t) v[t - 1] = a + b * std::cos(w * t) + c * std::sin(w * t);
  return v;
}

}  // namespace vorel::test
