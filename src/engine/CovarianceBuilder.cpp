#include "engine/CovarianceBuilder.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace vorel {

namespace {

// Runs shorter than this are summed term by term.
constexpr int kDirectRun = 64;
// Below this many lagged products one core is quicker than waking the other.
constexpr double kParallelWork = 1e6;
// Columns of one piece of a product over a long run: pieces are summed in a
// fixed order, so the result does not depend on the number of threads.
constexpr Eigen::Index kPieceColumns = 1 << 15;

using HankelMap = Eigen::Map<const Matrix, Eigen::Unaligned, Eigen::OuterStride<>>;

// c(d) = sum over t = from..to of v(t) w(t + d) for the lags d = 0..L-1: the
// L x (to - from + 1) Hankel matrix over w, read in place, times v.
Vector LaggedProducts(const Vector& v, const Vector& w, int from, int to, int L) {
  const Eigen::Index len = to - from + 1;
  const Eigen::Index pieces = (len + kPieceColumns - 1) / kPieceColumns;
  Matrix partial = Matrix::Zero(L, pieces);
#pragma omp parallel for schedule(static) if (static_cast<double>(len) * L > kParallelWork)
  for (Eigen::Index p = 0; p < pieces; ++p) {
    const Eigen::Index t0 = from + p * kPieceColumns;
    const Eigen::Index n = std::min(kPieceColumns, from + len - t0);
    const HankelMap W(w.data() + t0, L, n, Eigen::OuterStride<>(1));
    partial.col(p).noalias() = W * v.segment(t0, n);
  }
  return partial.rowwise().sum();
}

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
  const Vector& xv = X.x();
  const double* x = xv.data();
  const std::uint8_t* f = X.flags().data();
  const bool complete = X.AllValid();
  Matrix& S = covariance_;

  // Entry (i + d, i) for lag d: over every kept column j (0-based full index),
  // x(i + j) x(i + j + d); present pairs counted alike. For a run first..last
  // of at least L columns the products over t = first + L - 1..last belong to
  // every entry of a lag: they are taken for all lags at once (one product
  // with the Hankel matrix over the series), and each entry adds the few terms
  // before and after them.
  struct LongRun {
    int first, last, core;  // core: first + L - 1
    Vector products, pairs;
  };
  std::vector<LongRun> longRuns;
  const Vector presence = complete ? Vector() : X.flags().cast<double>().eval();
  for (const ColumnRun& run : runs) {
    if (run.size() < L) continue;
    LongRun r{run.first, run.last, run.first + L - 1, Vector(), Vector()};
    r.products = LaggedProducts(xv, xv, r.core, r.last, L);
    if (!complete) r.pairs = LaggedProducts(presence, presence, r.core, r.last, L);
    longRuns.push_back(std::move(r));
  }

#pragma omp parallel if (static_cast<double>(N) * L > kParallelWork)
  {
    Vector sums(L);
    std::vector<std::int64_t> pairs(static_cast<size_t>(L));
    std::vector<double> running(2 * static_cast<size_t>(L) + 1);
    std::vector<std::int64_t> counted(2 * static_cast<size_t>(L) + 1);
#pragma omp for schedule(dynamic, 4)
    for (int d = 0; d < L; ++d) {
      const int D = L - d;  // entries of the lag: i = 0..D-1
      sums.head(D).setZero();
      std::fill(pairs.begin(), pairs.begin() + D, 0);
      auto product = [&](int t) { return x[t] * x[t + d]; };
      auto present = [&](int t) { return static_cast<int>(f[t] != 0 && f[t + d] != 0); };
      size_t next = 0;  // the next long run, in the order of runs
      for (const ColumnRun& run : runs) {
        if (run.size() >= L) {
          const LongRun& r = longRuns[next++];
          // Before the common part: t = i + first..core - 1, summed backwards.
          double s = 0.0;
          std::int64_t m = 0;
          for (int t = r.core - 1; t >= r.first; --t) {
            s += product(t);
            if (!complete) m += present(t);
            const int i = t - r.first;
            if (i < D) {
              sums(i) += s;
              pairs[i] += m;
            }
          }
          // The common part, then t = last + 1..last + i.
          const double common = r.products(d);
          const std::int64_t commonPairs =
              complete ? 0 : static_cast<std::int64_t>(r.pairs(d));
          s = 0.0;
          m = 0;
          for (int i = 0; i < D; ++i) {
            if (i > 0) {
              s += product(r.last + i);
              if (!complete) m += present(r.last + i);
            }
            sums(i) += common + s;
            pairs[i] += commonPairs + m;
          }
        } else if (run.size() >= kDirectRun) {
          // Running sums over first..last + D - 1 (fewer than 2 L terms).
          const int span = run.size() + D - 1;
          running[0] = 0.0;
          counted[0] = 0;
          for (int k = 0; k < span; ++k) {
            running[k + 1] = running[k] + product(run.first + k);
            if (!complete) counted[k + 1] = counted[k] + present(run.first + k);
          }
          for (int i = 0; i < D; ++i) {
            sums(i) += running[i + run.size()] - running[i];
            if (!complete) pairs[i] += counted[i + run.size()] - counted[i];
          }
        } else {
          for (int i = 0; i < D; ++i) {
            double s = 0.0;
            std::int64_t m = 0;
            for (int t = i + run.first; t <= i + run.last; ++t) {
              s += product(t);
              if (!complete) m += present(t);
            }
            sums(i) += s;
            pairs[i] += m;
          }
        }
      }
      for (int i = 0; i < D; ++i) {
        double s = sums(i);
        if (!complete) {
          const double m = static_cast<double>(pairs[i]);
          if (m < kept && m > 0) s = s * kept / m;
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
  if (L == 0) return;

  // Present values with missing ones as 0, and the 0/1 presence.
  const Vector& x = trajectory_.x();
  const Vector p = trajectory_.flags().cast<double>();
  // Lag k sums over t = 0..N-1-k: the terms t = 0..N-L belong to every lag and
  // are taken for all lags at once; each lag adds its fewer than L others.
  const int common = N - L;  // last t shared by every lag
  Vector products = Vector::Zero(L), pairs = Vector::Zero(L);
  if (common >= 0) {
    products = LaggedProducts(x, x, 0, common, L);
    pairs = LaggedProducts(p, p, 0, common, L);
  }
  Matrix& C = covariance_;
  for (int k = 0; k < L; ++k) {
    const int n = N - k;
    double c = 0.0;
    if (n > 0) {
      const int from = std::max(common + 1, 0);
      const double s = products(k) + x.segment(from, n - from).dot(x.segment(from + k, n - from));
      const double m = pairs(k) + p.segment(from, n - from).dot(p.segment(from + k, n - from));
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
