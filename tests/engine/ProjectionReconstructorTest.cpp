#include <gtest/gtest.h>

#include <Eigen/QR>
#include <algorithm>
#include <array>
#include <cmath>
#include <random>
#include <vector>

#include "TestSeries.h"
#include "engine/Exceptions.h"
#include "engine/ProjectionReconstructor.h"
#include "engine/SsaAnalysis.h"

namespace vorel {
namespace {

using test::kNaN;
using test::MakeSeries;

constexpr double kTol = 1e-10;
using Priority = std::array<int, 5>;
constexpr Priority kLeftFirst{13, 12, 14, 15, 16};
constexpr Priority kRightFirst{14, 12, 13, 15, 16};
constexpr Priority kMiddleFirst{15, 12, 13, 14, 16};
constexpr Priority kAveragingFirst{16, 12, 13, 14, 15};
constexpr Priority kSimultaneousFirst{12, 13, 14, 15, 16};

// An orthonormal L x r basis: the Q factor of a fixed full-rank matrix.
Matrix Basis(int L, int r) {
  Matrix A(L, r);
  for (int i = 0; i < L; ++i) {
    for (int j = 0; j < r; ++j)
      A(i, j) = std::sin(1.3 * (i + 1) + 0.7 * (j + 1) * (j + 1)) + (i == j);
  }
  Eigen::HouseholderQR<Matrix> qr(A);
  return qr.householderQ() * Matrix::Identity(L, r);
}

std::vector<double> Noisy(int n) {
  std::vector<double> x(static_cast<size_t>(n));
  for (int t = 1; t <= n; ++t)
    x[t - 1] = std::sin(0.9 * t) + 0.4 * std::cos(0.23 * t * t) + 0.1 * t;
  return x;
}

std::vector<double> WithMissing(std::vector<double> x, const std::vector<int>& missing) {
  for (int t : missing) x[static_cast<size_t>(t - 1)] = kNaN;
  return x;
}

// An analysis with the trajectory built and U set by hand.
struct Projection {
  SsaAnalysis a;
  Projection(const std::vector<double>& x, int L, const Matrix& U, int validEntries,
             const Priority& priority) {
    a.series = MakeSeries(x);
    a.SetWindowLength(L);
    a.BuildTrajectory();
    a.selectedEigenvectors.Resize(L, static_cast<int>(U.cols()));
    a.selectedEigenvectors.values() = U;
    a.reconstructionMethod = kProjection;
    a.validEntriesMethod = validEntries;
    a.missingEntriesPriority = priority;
  }
  double y(int t) const { return a.reconstructed.value(t); }
};

// Series element t (1-based) -> mean of its cells over the given L x K' cells
// (NaN where it has none); the cells of column j stand for elements j..j+L-1
// shifted by offset.
std::vector<double> AntiDiagonalMeans(const Matrix& W, int n, int offset) {
  std::vector<double> sum(static_cast<size_t>(n) + 1, 0.0), count(sum.size(), 0.0);
  for (int j = 0; j < W.cols(); ++j) {
    for (int i = 0; i < W.rows(); ++i) {
      sum[offset + i + j + 1] += W(i, j);
      count[offset + i + j + 1] += 1;
    }
  }
  for (size_t t = 0; t < sum.size(); ++t) sum[t] = count[t] > 0 ? sum[t] / count[t] : kNaN;
  return sum;
}

// Diagonal averages of the projections U U^T x_j of the complete lagged
// vectors j = from..to, by element (1-based).
std::vector<double> BlockMeans(const std::vector<double>& x, int L, const Matrix& U, int from,
                               int to) {
  Matrix block(L, to - from + 1);
  for (int j = from; j <= to; ++j) {
    Vector v(L);
    for (int i = 0; i < L; ++i) v(i) = x[static_cast<size_t>(j - 1 + i)];
    block.col(j - from) = U * (U.transpose() * v);
  }
  return AntiDiagonalMeans(block, static_cast<int>(x.size()), from - 1);
}

// Forward estimate sum_j R_j y_j from the L-1 values before, and backward
// estimate from the L-1 values after, with R_j = U_j . U_k / (1 - |U_k|^2).
double Forward(const Matrix& U, const std::vector<double>& before) {
  const int L = static_cast<int>(U.rows());
  const double nu2 = U.row(L - 1).squaredNorm();
  double g = 0.0;
  for (int j = 0; j < L - 1; ++j) g += U.row(j).dot(U.row(L - 1)) / (1.0 - nu2) * before[j];
  return g;
}
double Backward(const Matrix& U, const std::vector<double>& after) {
  const int L = static_cast<int>(U.rows());
  const double nu2 = U.row(0).squaredNorm();
  double g = 0.0;
  for (int j = 1; j < L; ++j) g += U.row(j).dot(U.row(0)) / (1.0 - nu2) * after[j - 1];
  return g;
}

// Least-squares fit of the present entries on the rows of U: the projection
// of x_P onto the column space of U_P, and the fitted missing entries U_M b.
struct Fit {
  Vector projected;  // length L, at present rows
  Vector filled;     // length L, at missing rows
};
Fit LeastSquares(const Matrix& U, const Vector& x, const std::vector<bool>& present) {
  std::vector<int> P, M;
  for (int i = 0; i < U.rows(); ++i) (present[i] ? P : M).push_back(i);
  Matrix UP(P.size(), U.cols());
  Vector xP(P.size());
  for (size_t k = 0; k < P.size(); ++k) {
    UP.row(k) = U.row(P[k]);
    xP(k) = x(P[k]);
  }
  const Vector b = UP.colPivHouseholderQr().solve(xP);
  Fit f{x, x};
  for (int i : P) f.projected(i) = U.row(i).dot(b);
  for (int i : M) f.filled(i) = U.row(i).dot(b);
  return f;
}

void ExpectSeries(const Projection& p, const std::vector<double>& expected, int from, int to) {
  for (int t = from; t <= to; ++t) {
    EXPECT_NEAR(p.y(t), expected[static_cast<size_t>(t)], kTol) << "t = " << t;
  }
  EXPECT_EQ(p.a.reconstructed.CountValid(), p.a.reconstructed.length());
}

// --- one gap inside the series, CNV from both sides -------------------------

// N = 20, L = 4, K = 17; the gap starts at s = 8. Complete columns 1..4 before
// the group and s + m..17 after it.
struct InsideGap {
  static constexpr int N = 20, L = 4, s = 8;
  Matrix U = Basis(L, 2);
  std::vector<double> x = Noisy(N);
  // Expected values: before the gap the first block, after it the second.
  std::vector<double> Expected(int m) const {
    const std::vector<double> left = BlockMeans(x, L, U, 1, s - L);
    const std::vector<double> right = BlockMeans(x, L, U, s + m, N - L + 1);
    std::vector<double> e(N + 1, kNaN);
    for (int t = 1; t < s; ++t) e[t] = left[t];
    for (int t = s + m; t <= N; ++t) e[t] = right[t];
    return e;
  }
};

TEST(ProjectionReconstruction, SingleValueByEachSequentialMethod) {
  const InsideGap g;
  const int s = InsideGap::s;
  std::vector<double> e = g.Expected(1);
  const double forward = Forward(g.U, {e[s - 3], e[s - 2], e[s - 1]});
  const double backward = Backward(g.U, {e[s + 1], e[s + 2], e[s + 3]});
  ASSERT_GT(std::abs(forward - backward), 1e-3);  // the methods differ here
  struct Case {
    Priority priority;
    double value;
  };
  // Every estimate is written into all L cells of its anti-diagonal, so the
  // diagonal average is the estimate itself; both sides to the middle fill a
  // single value from the left.
  for (const Case& c :
       {Case{kLeftFirst, forward}, Case{kRightFirst, backward}, Case{kMiddleFirst, forward},
        Case{kAveragingFirst, 0.5 * (forward + backward)}}) {
    Projection p(WithMissing(g.x, {s}), InsideGap::L, g.U, kCnv, c.priority);
    p.a.Reconstruct();
    e[s] = c.value;
    ExpectSeries(p, e, 1, InsideGap::N);
  }
}

TEST(ProjectionReconstruction, GapOfTwoFromEachSide) {
  const InsideGap g;
  const int s = InsideGap::s;
  std::vector<double> e = g.Expected(2);
  // Left: both values forward, the second from the first.
  const double f1 = Forward(g.U, {e[s - 3], e[s - 2], e[s - 1]});
  const double f2 = Forward(g.U, {e[s - 2], e[s - 1], f1});
  // Right: both backward, the first from the second.
  const double b2 = Backward(g.U, {e[s + 2], e[s + 3], e[s + 4]});
  const double b1 = Backward(g.U, {b2, e[s + 2], e[s + 3]});
  // Averaging: forward values first, then backward ones from the current values.
  const double a2 = 0.5 * (f2 + b2);
  const double a1 = 0.5 * (f1 + Backward(g.U, {a2, e[s + 2], e[s + 3]}));
  struct Case {
    Priority priority;
    double first, second;
  };
  for (const Case& c : {Case{kLeftFirst, f1, f2}, Case{kRightFirst, b1, b2},
                        Case{kMiddleFirst, f1, f2}, Case{kAveragingFirst, a1, a2}}) {
    Projection p(WithMissing(g.x, {s, s + 1}), InsideGap::L, g.U, kCnv, c.priority);
    p.a.Reconstruct();
    e[s] = c.first;
    e[s + 1] = c.second;
    ExpectSeries(p, e, 1, InsideGap::N);
  }
}

TEST(ProjectionReconstruction, OddGapToTheMiddleTakesTheMiddleValueFromTheLeft) {
  // m = 3: h = 1, o = 1, so the left pass covers h + o + 1 = 3 values, all of them.
  const InsideGap g;
  const int s = InsideGap::s;
  std::vector<double> e = g.Expected(3);
  for (int t = s; t < s + 3; ++t) e[t] = Forward(g.U, {e[t - 3], e[t - 2], e[t - 1]});
  Projection p(WithMissing(g.x, {s, s + 1, s + 2}), InsideGap::L, g.U, kCnv, kMiddleFirst);
  p.a.Reconstruct();
  ExpectSeries(p, e, 1, InsideGap::N);
}

TEST(ProjectionReconstruction, RunLongerThanWindow) {
  // 6 > L missing values: no column keeps a present component inside, so the
  // PI projector and simultaneous filling do not apply; CNV is used whichever
  // kind comes first.
  const InsideGap g;
  const int s = InsideGap::s, m = 6;
  std::vector<double> left = g.Expected(m), middle = g.Expected(m);
  for (int t = s; t < s + m; ++t) {
    left[t] = Forward(g.U, {left[t - 3], left[t - 2], left[t - 1]});
  }
  // To the middle: m = 6 gives h = 3, o = 0, so the first h + o + 1 = 4 values
  // come from the left, the last two from the right (the last one first).
  for (int t = s; t < s + 4; ++t)
    middle[t] = Forward(g.U, {middle[t - 3], middle[t - 2], middle[t - 1]});
  for (int t = s + m - 1; t >= s + 4; --t) {
    middle[t] = Backward(g.U, {middle[t + 1], middle[t + 2], middle[t + 3]});
  }
  for (int valid : {kCnv, kPiProjector}) {
    Projection pl(WithMissing(g.x, {8, 9, 10, 11, 12, 13}), InsideGap::L, g.U, valid, kLeftFirst);
    pl.a.Reconstruct();
    ExpectSeries(pl, left, 1, InsideGap::N);
    Projection pm(WithMissing(g.x, {8, 9, 10, 11, 12, 13}), InsideGap::L, g.U, valid, kMiddleFirst);
    pm.a.Reconstruct();
    ExpectSeries(pm, middle, 1, InsideGap::N);
  }
}

TEST(ProjectionReconstruction, TwoRunsCloserThanWindowUsePiAndSimultaneous) {
  // x(8), x(10) with L = 4: counts 3, 3, 2, 2, 3, 3 in columns 5..10; no CNV
  // applies, so each lagged vector of the group gets the PI projector and the
  // simultaneous filling, i.e. the least-squares fit of its present entries.
  const int N = 16, L = 4, K = N - L + 1;
  const Matrix U = Basis(L, 2);
  const std::vector<double> x = Noisy(N);
  const std::vector<double> before = BlockMeans(x, L, U, 1, 4);
  const std::vector<double> after = BlockMeans(x, L, U, 11, K);
  Matrix W(L, K);
  for (int j = 1; j <= K; ++j) {
    Vector v(L);
    std::vector<bool> present(L);
    for (int i = 0; i < L; ++i) {
      const int t = i + j;
      present[i] = t != 8 && t != 10;
      v(i) = present[i] ? x[t - 1] : 0.0;
      if (j <= 4) W(i, j - 1) = before[t];
      if (j >= 11) W(i, j - 1) = after[t];
    }
    if (j >= 5 && j <= 10) {
      const Fit f = LeastSquares(U, v, present);
      for (int i = 0; i < L; ++i) W(i, j - 1) = present[i] ? f.projected(i) : f.filled(i);
    }
  }
  const std::vector<double> e = AntiDiagonalMeans(W, N, 0);
  for (int valid : {kCnv, kPiProjector}) {
    Projection p(WithMissing(x, {8, 10}), L, U, valid, kSimultaneousFirst);
    p.a.Reconstruct();
    ExpectSeries(p, e, 1, N);
  }
}

TEST(ProjectionReconstruction, ValueKFromTheValuesAfterIt) {
  // x(K) missing: the group is columns K-L+1..K and reaches the end; no CNV
  // applies, so the PI projector sets the present entries, and Right
  // sequential fills x(K) backward from the projected x(K+1..N) of column K.
  const int N = 16, L = 4, K = N - L + 1;
  const Matrix U = Basis(L, 2);
  const std::vector<double> x = Noisy(N);
  Vector last(L);
  std::vector<bool> present{false, true, true, true};
  for (int i = 0; i < L; ++i) last(i) = i == 0 ? 0.0 : x[K - 1 + i];
  const Fit f = LeastSquares(U, last, present);
  const double expected = Backward(U, {f.projected(1), f.projected(2), f.projected(3)});
  Projection p(WithMissing(x, {K}), L, U, kCnv, kRightFirst);
  p.a.Reconstruct();
  EXPECT_NEAR(p.y(K), expected, kTol);
  // The elements before the group come from the complete block alone.
  const std::vector<double> block = BlockMeans(x, L, U, 1, K - L);
  for (int t = 1; t <= K - L; ++t) EXPECT_NEAR(p.y(t), block[t], kTol) << t;
}

TEST(ProjectionReconstruction, AllEigentriplesFailWithTheirException) {
  const InsideGap g;
  const Matrix full = Basis(InsideGap::L, InsideGap::L);
  struct Case {
    int validEntries;
    Priority priority;
    const char* message;
  };
  // PI projector first: the inversion fails. CNV first: the present entries
  // succeed, simultaneous filling does not apply (no column keeps L present
  // components) and the forecast formula fails.
  for (const Case& c : {Case{kPiProjector, kSimultaneousFirst, ExceptionProjectorPi::kMessage},
                        Case{kCnv, kSimultaneousFirst, ExceptionForecasting::kMessage}}) {
    Projection p(WithMissing(g.x, {InsideGap::s}), InsideGap::L, full, c.validEntries, c.priority);
    p.a.reconstructed = MakeSeries(std::vector<double>(InsideGap::N, 7.0));
    try {
      p.a.Reconstruct();
      ADD_FAILURE() << "no exception";
    } catch (const AbstractException& e) {
      EXPECT_EQ(e.message(), c.message);
    }
    EXPECT_EQ(p.a.reconstructed, MakeSeries(std::vector<double>(InsideGap::N, 7.0)));
  }
}

TEST(ProjectionReconstruction, WithoutMissingValuesEqualsPrincipalComponents) {
  SsaAnalysis a;
  a.series = MakeSeries(Noisy(30));
  a.SetWindowLength(7);
  a.BuildTrajectory();
  a.SetThreshold(0);
  a.ApplyThreshold();
  a.BuildCovariance();
  a.Decompose();
  a.SelectEigentriples(std::vector<unsigned char>{1, 1, 0, 1, 0, 0, 0});
  a.reconstructionMethod = kPrincipalComponents;
  a.Reconstruct();
  const MaskedSeries pc = a.reconstructed;
  a.reconstructionMethod = kProjection;
  a.Reconstruct();
  ASSERT_EQ(a.reconstructed.length(), 30);
  for (int t = 1; t <= 30; ++t) EXPECT_NEAR(a.reconstructed.value(t), pc.value(t), 1e-12) << t;
}

TEST(ProjectionReconstruction, SignalInTheSubspaceIsRecoveredByEveryMethod) {
  // x(t) = cos(w t) + 0.5 sin(w t) lies in the span of the two eigenvectors of
  // a harmonic; every method fills its gaps with the exact values.
  const int N = 30, L = 5;
  const std::vector<double> x = test::Harmonic(N, 0.0, 1.0, 0.5, 7.3);
  Matrix A(L, 2);
  for (int i = 0; i < L; ++i) {
    A(i, 0) = std::cos(2 * M_PI * (i + 1) / 7.3);
    A(i, 1) = std::sin(2 * M_PI * (i + 1) / 7.3);
  }
  Eigen::HouseholderQR<Matrix> qr(A);
  const Matrix U = qr.householderQ() * Matrix::Identity(L, 2);
  const std::vector<std::vector<int>> gaps = {
      {1},          {1, 2},       {12},
      {12, 13, 14}, {10, 12},     {26},
      {30},         {28, 29, 30}, {12, 13, 14, 15, 16, 17, 18}};
  for (const auto& gap : gaps) {
    for (const Priority& priority :
         {kSimultaneousFirst, kLeftFirst, kRightFirst, kMiddleFirst, kAveragingFirst}) {
      for (int valid : {kCnv, kPiProjector}) {
        Projection p(WithMissing(x, gap), L, U, valid, priority);
        p.a.Reconstruct();
        for (int t = 1; t <= N; ++t) {
          EXPECT_NEAR(p.y(t), x[t - 1], 1e-9)
              << "gap at " << gap[0] << ", method " << priority[0] << ", t = " << t;
        }
      }
    }
  }
}

TEST(ProjectionReconstruction, GroupWithoutAnyPresentEntryMethodEnds) {
  // x(2), x(3) with N = 4, L = 2: counts 1, 0, 1 over all columns; neither the
  // PI projector nor CNV applies; Left sequential still fills the gap.
  const Matrix U = Basis(2, 1);
  for (int valid : {kCnv, kPiProjector}) {
    Projection p({1.0, kNaN, kNaN, 2.0}, 2, U, valid, kLeftFirst);
    p.a.Reconstruct();
    for (int t = 1; t <= 4; ++t) EXPECT_TRUE(std::isfinite(p.y(t)));
  }
}

// --- window longer than half the series (K < L) ------------------------------

// W after the projection step: columns U P^T with the principal components of
// an incomplete column scaled by L / m.
Matrix ProjectedColumns(const std::vector<double>& x, const std::vector<int>& missing, int L,
                        const Matrix& U) {
  const int K = static_cast<int>(x.size()) - L + 1;
  Matrix W(L, K);
  for (int j = 1; j <= K; ++j) {
    Vector v(L);
    int m = 0;
    for (int i = 0; i < L; ++i) {
      const int t = i + j;
      const bool gone = std::find(missing.begin(), missing.end(), t) != missing.end();
      v(i) = gone ? 0.0 : x[t - 1];
      m += !gone;
    }
    Vector pc = U.transpose() * v;
    if (m < L) pc *= static_cast<double>(L) / m;
    W.col(j - 1) = U * pc;
  }
  return W;
}

TEST(ProjectionReconstruction, ShortTrajectoryStartGapByRows) {
  // N = 9, L = 6, K = 4; x(1), x(2) missing: rows 3..6 are complete and are
  // averaged as one block; CNV-Right copies their values into the present
  // entries of rows 1 and 2, and Right sequential fills x(2), then x(1).
  const int N = 9, L = 6;
  const Matrix U = Basis(L, 2);
  const std::vector<double> x = Noisy(N);
  const Matrix W = ProjectedColumns(x, {1, 2}, L, U);
  std::vector<double> e = AntiDiagonalMeans(W.middleRows(2, 4), N, 2);
  e[2] = Backward(U, {e[3], e[4], e[5], e[6], e[7]});
  e[1] = Backward(U, {e[2], e[3], e[4], e[5], e[6]});
  Projection p(WithMissing(x, {1, 2}), L, U, kCnv, kRightFirst);
  p.a.Reconstruct();
  ExpectSeries(p, e, 1, N);
}

TEST(ProjectionReconstruction, ShortTrajectoryEndGapByRows) {
  // N = 9, L = 6, K = 4; x(9) missing: rows 1..5 are complete. Left sequential
  // fills x(9) forward from the block's x(4..8) of column 4.
  const int N = 9, L = 6;
  const Matrix U = Basis(L, 2);
  const std::vector<double> x = Noisy(N);
  const Matrix W = ProjectedColumns(x, {9}, L, U);
  const std::vector<double> e = AntiDiagonalMeans(W.topRows(5), N, 0);
  Projection p(WithMissing(x, {9}), L, U, kCnv, kLeftFirst);
  p.a.Reconstruct();
  for (int t = 1; t <= 5; ++t) EXPECT_NEAR(p.y(t), e[t], kTol) << t;
  EXPECT_NEAR(p.y(9), Forward(U, {e[4], e[5], e[6], e[7], e[8]}), kTol);
}

TEST(ProjectionReconstruction, GroupOverAllColumnsGetsNoCnvRight) {
  // N = 7, L = K = 4, x(1..4) missing: counts 0, 1, 2, 3 rise up to column K,
  // so the group reaches the end and has no complete column after it: CNV-Right
  // does not apply (nor the PI projector, nor CNV-Left). The present entries
  // keep their projections and Right sequential fills x(4) down to x(1).
  const int L = 4;
  const Matrix U = Basis(L, 2);
  const std::vector<double> x = Noisy(7);
  const Matrix W = ProjectedColumns(x, {1, 2, 3, 4}, L, U);
  const double g4 = Backward(U, {W(1, 3), W(2, 3), W(3, 3)});
  const double g3 = Backward(U, {g4, W(2, 2), W(3, 2)});
  const double g2 = Backward(U, {g3, g4, W(3, 1)});
  const double g1 = Backward(U, {g2, g3, g4});
  for (int valid : {kCnv, kPiProjector}) {
    Projection p(WithMissing(x, {1, 2, 3, 4}), L, U, valid, kRightFirst);
    p.a.Reconstruct();
    EXPECT_NEAR(p.y(4), g4, kTol);
    EXPECT_NEAR(p.y(3), g3, kTol);
    EXPECT_NEAR(p.y(2), g2, kTol);
    EXPECT_NEAR(p.y(1), g1, kTol);
  }
}

// --- the building blocks ----------------------------------------------------

struct Parts {
  MaskedSeries series{1}, reconstructed{1};
  HankelTrajectory trajectory{MaskedSeries(1), 1};
  MaskedMatrix U;
  int validEntries = kCnv;
  Priority priority = kSimultaneousFirst;
  ProjectionReconstructor rec{series, trajectory, U, reconstructed, validEntries, priority};
  explicit Parts(const Matrix& basis) {
    U.Resize(static_cast<int>(basis.rows()), static_cast<int>(basis.cols()));
    U.values() = basis;
  }
};

TEST(ProjectionParts, ForecastCoefficientsByHand) {
  // U = [e1, (0, 0.6, 0.8)]: row 1 has unit length.
  Matrix basis(3, 2);
  basis << 1, 0, 0, 0.6, 0, 0.8;
  Parts parts(basis);
  // k = 3: nu^2 = 0.64, q = 1 / 0.36; R(1) = q (1*0 + 0*0.8) = 0, R(2) = q 0.48.
  const MaskedSeries R3 = parts.rec.ForecastCoefficients(3);
  ASSERT_EQ(R3.length(), 2);
  EXPECT_NEAR(R3.value(1), 0.0, 1e-15);
  EXPECT_NEAR(R3.value(2), 4.0 / 3.0, 1e-14);
  // k = 2: nu^2 = 0.36, q = 1 / 0.64; R(1) = 0, R(2) = q 0.48 = 0.75 (row 3).
  const MaskedSeries R2 = parts.rec.ForecastCoefficients(2);
  EXPECT_NEAR(R2.value(1), 0.0, 1e-15);
  EXPECT_NEAR(R2.value(2), 0.75, 1e-14);
  // k = 1: nu^2 is exactly 1.
  EXPECT_THROW(parts.rec.ForecastCoefficients(1), ExceptionForecasting);
}

TEST(ProjectionParts, ForecastCoefficientsFailWithAllEigentriples) {
  Parts parts(Basis(4, 4));
  for (int k = 1; k <= 4; ++k)
    EXPECT_THROW(parts.rec.ForecastCoefficients(k), ExceptionForecasting);
}

TEST(ProjectionParts, PiProjectorAndSimultaneousFillingAreLeastSquaresFits) {
  const int L = 7;
  const Matrix U = Basis(L, 3);
  Parts parts(U);
  Vector v(L);
  v << 0.3, -1.2, 2.5, 0.7, -0.4, 1.9, 0.1;
  // 1 and 3 missing entries (a <= r) and 4 (a > r).
  for (const std::vector<int>& missing : {std::vector<int>{4}, {2, 5, 7}, {1, 3, 4, 6}}) {
    MaskedSeries x(L);
    std::vector<bool> present(L, true);
    for (int i = 1; i <= L; ++i) x.set(i, v(i - 1), true);
    for (int i : missing) {
      x.set(i, 99.0, false);
      present[i - 1] = false;
    }
    const Fit f = LeastSquares(U, v, present);
    MaskedSeries pi = x;
    parts.rec.PiProjector(pi);
    MaskedSeries sim = x;
    parts.rec.SimultaneousFilling(sim);
    for (int i = 1; i <= L; ++i) {
      EXPECT_EQ(pi.isValid(i), present[i - 1]);
      EXPECT_EQ(sim.isValid(i), present[i - 1]);
      if (present[i - 1]) {
        EXPECT_NEAR(pi.value(i), f.projected(i - 1), 1e-12);
        EXPECT_EQ(sim.value(i), v(i - 1));
      } else {
        EXPECT_EQ(pi.value(i), 99.0);
        EXPECT_NEAR(sim.value(i), f.filled(i - 1), 1e-12);
      }
    }
  }
}

TEST(ProjectionParts, SingularSystemsRaise) {
  // A basis vector supported on the missing rows makes I - U_M U_M^T singular.
  Matrix basis = Matrix::Zero(4, 2);
  basis(1, 0) = 1.0;
  basis(0, 1) = basis(2, 1) = basis(3, 1) = 1.0 / std::sqrt(3.0);
  Parts parts(basis);
  MaskedSeries x(4);
  x.set(2, 0.0, false);
  EXPECT_THROW(parts.rec.PiProjector(x), ExceptionProjectorPi);
  EXPECT_THROW(parts.rec.SimultaneousFilling(x), ExceptionSimultaneousFillingIn);
  // All L eigentriples of a decomposition: singular up to rounding.
  Parts full(Basis(5, 5));
  MaskedSeries y(5);
  y.set(3, 0.0, false);
  EXPECT_THROW(full.rec.PiProjector(y), ExceptionProjectorPi);
  EXPECT_THROW(full.rec.SimultaneousFilling(y), ExceptionSimultaneousFillingIn);
}

TEST(ProjectionParts, HankelizeCompleteRunsAveragesEachRunAlone) {
  // 3 x 6 with column 3 incomplete: columns 1..2 and 4..6 are two blocks.
  MaskedMatrix m(3, 6);
  for (int i = 1; i <= 3; ++i) {
    for (int j = 1; j <= 6; ++j) m.value(i, j) = 10 * i + j;
  }
  m.setValid(2, 3, false);
  MaskedMatrix expected = m;
  // Block 1..2: anti-diagonals {11}, {21, 12}, {31, 22}, {32}.
  expected.value(2, 1) = expected.value(1, 2) = 16.5;
  expected.value(3, 1) = expected.value(2, 2) = 26.5;
  // Block 4..6: {14}, {24, 15}, {34, 25, 16}, {35, 26}, {36}.
  expected.value(2, 4) = expected.value(1, 5) = 19.5;
  expected.value(3, 4) = expected.value(2, 5) = expected.value(1, 6) = 25.0;
  expected.value(3, 5) = expected.value(2, 6) = 30.5;
  ProjectionReconstructor::HankelizeCompleteRuns(m);
  EXPECT_EQ(m.values(), expected.values());
  EXPECT_EQ(m.flags(), expected.flags());

  // 5 x 3 (K < L) with row 3 incomplete: rows 1..2 and 4..5 are two blocks.
  MaskedMatrix t(5, 3);
  for (int i = 1; i <= 5; ++i) {
    for (int j = 1; j <= 3; ++j) t.value(i, j) = 10 * i + j;
  }
  t.setValid(3, 1, false);
  MaskedMatrix te = t;
  te.value(1, 2) = te.value(2, 1) = 16.5;
  te.value(1, 3) = te.value(2, 2) = 17.5;
  te.value(4, 2) = te.value(5, 1) = 46.5;
  te.value(4, 3) = te.value(5, 2) = 47.5;
  ProjectionReconstructor::HankelizeCompleteRuns(t);
  EXPECT_EQ(t.values(), te.values());
  EXPECT_EQ(t.flags(), te.flags());
}

}  // namespace
}  // namespace vorel

namespace vorel {
namespace {

TEST(ProjectionReconstruction, AnyGapPatternEndsWithFiniteValuesOrAnException) {
  // The reconstruction runs without the dialog's checks in the Cadzow loop:
  // whatever the pattern, window and choice of methods, it must end, never
  // leave a value that is not finite, and fail only with its own exceptions.
  std::mt19937 rng(7);
  const std::vector<Priority> priorities = {kSimultaneousFirst, kLeftFirst, kRightFirst,
                                            kMiddleFirst, kAveragingFirst};
  int failures = 0;
  for (int trial = 0; trial < 300; ++trial) {
    const int N = std::uniform_int_distribution<int>(6, 40)(rng);
    const int L = std::uniform_int_distribution<int>(2, N - 1)(rng);
    const int r = std::uniform_int_distribution<int>(1, L)(rng);
    std::vector<double> x = Noisy(N);
    const int runs = std::uniform_int_distribution<int>(1, 3)(rng);
    for (int k = 0; k < runs; ++k) {
      const int from = std::uniform_int_distribution<int>(1, N)(rng);
      const int len = std::uniform_int_distribution<int>(1, 6)(rng);
      for (int t = from; t < std::min(N + 1, from + len); ++t) x[t - 1] = kNaN;
    }
    if (std::all_of(x.begin(), x.end(), [](double v) { return std::isnan(v); })) x[0] = 1.0;
    Projection p(x, L, Basis(L, r), trial % 2 ? kCnv : kPiProjector,
                 priorities[static_cast<size_t>(trial) % priorities.size()]);
    try {
      p.a.Reconstruct();
    } catch (const AbstractException&) {
      ++failures;
      continue;
    }
    ASSERT_EQ(p.a.reconstructed.length(), N);
    for (int t = 1; t <= N; ++t) ASSERT_TRUE(std::isfinite(p.y(t))) << "trial " << trial;
  }
  EXPECT_LT(failures, 200);
}

}  // namespace
}  // namespace vorel
