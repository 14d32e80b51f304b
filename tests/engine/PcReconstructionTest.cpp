#include <gtest/gtest.h>

#include <Eigen/SVD>

#include "TestSeries.h"
#include "engine/SsaAnalysis.h"
#include "engine/reference/DenseReference.h"

namespace vorel {
namespace {

using test::kNaN;
using test::MakeSeries;

// A series without ties among its singular values.
std::vector<double> Irregular(int n) {
  std::vector<double> x(static_cast<size_t>(n));
  for (int t = 1; t <= n; ++t) x[t - 1] = std::sin(0.7 * t) + 0.3 * std::cos(0.11 * t * t) + 0.05 * t;
  return x;
}

// Mean of every anti-diagonal of W, read off as a series.
std::vector<double> DiagonalAverage(const Matrix& W) {
  const int L = static_cast<int>(W.rows()), K = static_cast<int>(W.cols());
  std::vector<double> sum(static_cast<size_t>(L + K - 1), 0.0), count(sum.size(), 0.0);
  for (int i = 0; i < L; ++i) {
    for (int j = 0; j < K; ++j) {
      sum[i + j] += W(i, j);
      count[i + j] += 1;
    }
  }
  for (size_t s = 0; s < sum.size(); ++s) sum[s] /= count[s];
  return sum;
}

void RunToDecomposition(SsaAnalysis& a, const std::vector<double>& x, int L) {
  a.series = MakeSeries(x);
  a.SetWindowLength(L);
  a.BuildTrajectory();
  a.SetThreshold(L);
  a.ApplyThreshold();
  a.BuildCovariance();
  a.Decompose();
  a.reconstructionMethod = kPrincipalComponents;
}

TEST(PcReconstruction, AllEigentriplesReturnTheSeries) {
  for (const int L : {2, 5, 12, 19}) {  // L > K included (N = 20)
    SsaAnalysis a;
    const std::vector<double> x = Irregular(20);
    RunToDecomposition(a, x, L);
    a.SelectEigentriples(std::vector<unsigned char>(static_cast<size_t>(L), 1));
    a.Reconstruct();
    ASSERT_EQ(a.reconstructed.length(), 20);
    for (int t = 1; t <= 20; ++t) {
      EXPECT_NEAR(a.reconstructed.value(t), x[t - 1], 1e-10) << "L=" << L << " t=" << t;
      EXPECT_TRUE(a.reconstructed.isValid(t));
      EXPECT_NEAR(a.residuals.value(t), 0.0, 1e-10);
    }
  }
}

TEST(PcReconstruction, LeadingEigentriplesGiveTheRankRApproximation) {
  struct Case {
    int N, L, r;
  };
  for (const Case c : {Case{30, 8, 2}, Case{30, 20, 3}, Case{25, 12, 1}}) {
    SsaAnalysis a;
    const std::vector<double> x = Irregular(c.N);
    RunToDecomposition(a, x, c.L);
    std::vector<unsigned char> flags(static_cast<size_t>(c.L), 0);
    for (int i = 0; i < c.r; ++i) flags[i] = 1;
    a.SelectEigentriples(flags);
    a.Reconstruct();

    // Independent: truncated SVD of the trajectory matrix, then diagonal averaging.
    const Matrix X = reference::Materialize(a.trajectory).values();
    Eigen::JacobiSVD<Matrix> svd(X, Eigen::ComputeThinU | Eigen::ComputeThinV);
    const Matrix Xr = svd.matrixU().leftCols(c.r) *
                      svd.singularValues().head(c.r).asDiagonal() *
                      svd.matrixV().leftCols(c.r).transpose();
    const std::vector<double> expected = DiagonalAverage(Xr);
    for (int t = 1; t <= c.N; ++t) {
      EXPECT_NEAR(a.reconstructed.value(t), expected[t - 1], 1e-10) << "t=" << t;
    }
  }
}

TEST(PcReconstruction, IncompleteLaggedVectorsAreScaledByPresentComponents) {
  // U fixed by hand; x(3) and x(6) missing, so lagged vectors miss one
  // component (scale L / (L - 1)) or none.
  const std::vector<double> x = {1.0, 2.5, kNaN, -1.0, 0.5, kNaN, 3.0, 2.0, -0.5};
  SsaAnalysis a;
  a.series = MakeSeries(x);
  a.SetWindowLength(3);
  a.BuildTrajectory();
  Matrix U(3, 2);
  U << 0.6, 0.0, 0.8, 0.0, 0.0, 1.0;
  a.selectedEigenvectors.Resize(3, 2);
  a.selectedEigenvectors.values() = U;
  a.reconstructionMethod = kPrincipalComponents;
  a.Reconstruct();

  const int L = 3, K = 7;
  Matrix W(L, K);
  for (int j = 0; j < K; ++j) {
    double pc[2] = {0, 0};
    int present = 0;
    for (int i = 0; i < L; ++i) {
      const double v = x[i + j];
      if (std::isnan(v)) continue;
      ++present;
      for (int c = 0; c < 2; ++c) pc[c] += v * U(i, c);
    }
    const double scale = present < L ? double(L) / present : 1.0;
    for (int i = 0; i < L; ++i) W(i, j) = U(i, 0) * pc[0] * scale + U(i, 1) * pc[1] * scale;
  }
  const std::vector<double> expected = DiagonalAverage(W);
  for (int t = 1; t <= 9; ++t) {
    EXPECT_NEAR(a.reconstructed.value(t), expected[t - 1], 1e-12) << t;
    EXPECT_EQ(a.residuals.isValid(t), !std::isnan(x[t - 1]));
    if (!std::isnan(x[t - 1])) {
      EXPECT_DOUBLE_EQ(a.residuals.value(t), x[t - 1] - a.reconstructed.value(t));
    }
  }
}

TEST(PcReconstruction, AllMissingLaggedVectorGivesZeroComponents) {
  // L = 2 with x(4), x(5) missing: lagged vector 4 has no present component.
  SsaAnalysis a;
  a.series = MakeSeries({1, 2, 3, kNaN, kNaN, 6, 7});
  a.SetWindowLength(2);
  a.BuildTrajectory();
  a.selectedEigenvectors.Resize(2, 1);
  a.selectedEigenvectors.values() << std::sqrt(0.5), std::sqrt(0.5);
  a.reconstructionMethod = kPrincipalComponents;
  a.Reconstruct();
  // Anti-diagonal 5 holds W(1,5) = U(1) * pc5 and W(2,4) = 0; pc5 = 2 * 6 / sqrt(2).
  EXPECT_NEAR(a.reconstructed.value(5), 0.5 * (0.5 * 12.0 + 0.0), 1e-12);
  for (int t = 1; t <= 7; ++t) EXPECT_TRUE(std::isfinite(a.reconstructed.value(t)));
}

TEST(Hankelize, AveragesAntiDiagonalsInBothShapes) {
  for (const auto& shape : {std::pair{3, 5}, std::pair{5, 3}, std::pair{4, 4}, std::pair{1, 4}}) {
    MaskedMatrix m(shape.first, shape.second);
    m.values() = Matrix::Random(shape.first, shape.second);
    const std::vector<double> expected = DiagonalAverage(m.values());
    const MaskedMatrix before = m;
    Reconstructor::Hankelize(m);
    for (int i = 1; i <= m.rows(); ++i)
      for (int j = 1; j <= m.cols(); ++j)
        EXPECT_NEAR(m.value(i, j), expected[i + j - 2], 1e-15);
    MaskedSeries out, direct;
    Reconstructor::ToSeries(m, out);
    ASSERT_EQ(out.length(), m.rows() + m.cols() - 1);
    for (int t = 1; t <= out.length(); ++t) EXPECT_NEAR(out.value(t), expected[t - 1], 1e-15);
    Reconstructor::AverageToSeries(before, direct);
    EXPECT_EQ(direct.values(), out.values());
  }
}

}  // namespace
}  // namespace vorel
