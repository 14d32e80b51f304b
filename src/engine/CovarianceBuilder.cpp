#include "engine/CovarianceBuilder.h"

#include <cstdint>
#include <vector>

namespace vorel {

namespace {

// Runs shorter than this are summed term by term: a difference of two running
// sums over the whole series would cost more digits than the few terms.
constexpr int kDirectRun = 64;
// Below this many lagged products one core is quicker than waking the other.
constexpr double kParallelWork = 1e6;

}  // namespace

void SvdCovariance::Build() {
  const HankelTrajectory& X = keptTrajectory_;
  const int L = X.rows();
  const int N = X.seriesLength();
  const double kept = static_cast<double>(X.cols());
  if (covariance_.rows() != L || covariance_.cols() != L) covariance_.resize(L, L);
  covariance_.setZero();
  if (L == 0 || X.cols() == 0) return;

  const std::vector<ColumnRun>& runs = X.runs();
  const double* x = X.x().data();
  const std::uint8_t* f = X.flags().data();
  const bool complete = X.AllValid();
  bool longRuns = false;
  for (const ColumnRun& run : runs) longRuns = longRuns || run.size() >= kDirectRun;
  Matrix& S = covariance_;

  // Entry (i + d, i) for lag d: over every kept column j (0-based full index),
  // x(i + j) x(i + j + d); present pairs counted alike.
#pragma omp parallel if (static_cast<double>(N) * L > kParallelWork)
  {
    std::vector<double> sums;
    std::vector<std::int32_t> pairs;
#pragma omp for schedule(dynamic, 4)
    for (int d = 0; d < L; ++d) {
      const int n = N - d;  // lagged products t = 0..n-1
      if (longRuns) {
        sums.assign(static_cast<size_t>(n) + 1, 0.0);
        for (int t = 0; t < n; ++t) sums[t + 1] = sums[t] + x[t] * x[t + d];
        if (!complete) {
          pairs.assign(static_cast<size_t>(n) + 1, 0);
          for (int t = 0; t < n; ++t) pairs[t + 1] = pairs[t] + (f[t] != 0 && f[t + d] != 0);
        }
      }
      for (int i = 0; i + d < L; ++i) {
        double s = 0.0;
        std::int64_t m = 0;
        for (const ColumnRun& run : runs) {
          const int from = i + run.first;
          const int to = i + run.last;  // inclusive, to + d <= N - 1
          if (run.size() >= kDirectRun) {
            s += sums[to + 1] - sums[from];
            if (!complete) m += pairs[to + 1] - pairs[from];
          } else {
            for (int t = from; t <= to; ++t) {
              s += x[t] * x[t + d];
              if (!complete) m += f[t] != 0 && f[t + d] != 0;
            }
          }
        }
        if (!complete) {
          const double present = static_cast<double>(m);
          if (present < kept && present > 0) s = s * kept / present;
        }
        S(i + d, i) = s;
      }
    }
  }
  S.triangularView<Eigen::StrictlyUpper>() = S.transpose();
}

void ToeplitzCovariance::Build() {
  const int L = trajectory_.rows();
  const int N = trajectory_.seriesLength();
  if (covariance_.rows() != L || covariance_.cols() != L) covariance_.resize(L, L);

  // Present values with missing ones as 0, and the 0/1 presence.
  const Vector& x = trajectory_.x();
  const Vector p = trajectory_.flags().cast<double>();
  Matrix& C = covariance_;
#pragma omp parallel for schedule(dynamic, 8) if (static_cast<double>(N) * L > kParallelWork)
  for (int k = 0; k < L; ++k) {
    const int n = N - k;
    double c = 0.0;
    if (n > 0) {
      const double s = x.head(n).dot(x.segment(k, n));
      const double m = p.head(n).dot(p.segment(k, n));
      // A lag without a present pair contributes 0.
      if (m > 0) c = (m == n ? s : n / m * s) / n;
    }
    for (int i = 0; i < L - k; ++i) {
      C(i, i + k) = c;
      C(i + k, i) = c;
    }
  }
}

}  // namespace vorel
