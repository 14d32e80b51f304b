#include <gtest/gtest.h>

#include "TestSeries.h"
#include "engine/SsaAnalysis.h"
#include "engine/reference/DenseReference.h"

namespace vorel {
namespace {

using test::kNaN;
using test::MakeSeries;

// The "SVD" covariance written out entry by entry, as a sum over the kept
// columns with the K'/m scaling.
Matrix DirectSvdCovariance(const MaskedMatrix& X) {
  const int L = X.rows(), K = X.cols();
  Matrix S(L, L);
  for (int i = 1; i <= L; ++i) {
    for (int j = 1; j <= L; ++j) {
      double s = 0;
      int m = 0;
      for (int k = 1; k <= K; ++k) {
        if (X.isValid(i, k) && X.isValid(j, k)) {
          s += X.value(i, k) * X.value(j, k);
          ++m;
        }
      }
      S(i - 1, j - 1) = (m < K && m > 0) ? s * K / m : s;
    }
  }
  return S;
}

// Toeplitz entries as means over the present pairs of the series.
Matrix DirectToeplitz(const std::vector<double>& x, int L) {
  const int N = static_cast<int>(x.size());
  Matrix C(L, L);
  for (int i = 0; i < L; ++i) {
    for (int j = 0; j < L; ++j) {
      const int k = std::abs(i - j);
      double s = 0;
      int m = 0;
      for (int t = 0; t + k < N; ++t) {
        if (!std::isnan(x[t]) && !std::isnan(x[t + k])) {
          s += x[t] * x[t + k];
          ++m;
        }
      }
      C(i, j) = m ? s / m : 0.0;
    }
  }
  return C;
}

SsaAnalysis& Prepare(SsaAnalysis& a, const std::vector<double>& x, int L, int threshold,
                     int method) {
  a.series = MakeSeries(x);
  a.SetWindowLength(L);
  a.BuildTrajectory();
  a.SetThreshold(threshold);
  a.covarianceMethod = method;
  a.ApplyThreshold();
  a.BuildCovariance();
  return a;
}

TEST(Covariance, SvdWithoutMissingValuesIsXXt) {
  SsaAnalysis a;
  Prepare(a, {1, -2, 3, 5, 0.5, 7, -1, 2}, 3, 0, kCovarianceSvd);
  const Matrix X = reference::Materialize(a.trajectory).values();
  EXPECT_TRUE(a.covariance.isApprox(X * X.transpose(), 1e-14));
  EXPECT_EQ(a.keptTrajectory.cols(), 6);
}

TEST(Covariance, SvdScalesEachEntryByItsPresentPairs) {
  struct Case {
    std::vector<double> x;
    int L, threshold;
  };
  const Case cases[] = {
      {{1, 2, kNaN, 4, 5, 6, kNaN, 8, 9, 10}, 3, 1},
      {{1, 2, kNaN, 4, 5, 6, kNaN, 8, 9, 10}, 3, 3},
      {{kNaN, 2, 3, kNaN, kNaN, 6, 7, 8, 9, kNaN, 11, 12}, 4, 2},
      {{3, 1, 4, 1, 5, 9, 2, 6, 5, 3}, 4, 0},
  };
  for (const Case& c : cases) {
    SsaAnalysis a;
    Prepare(a, c.x, c.L, c.threshold, kCovarianceSvd);
    const Matrix expected = DirectSvdCovariance(reference::Materialize(a.keptTrajectory));
    EXPECT_TRUE(a.covariance.isApprox(expected, 1e-13)) << a.covariance << "\n\n" << expected;
    EXPECT_TRUE(a.covariance.isApprox(a.covariance.transpose()));
  }
}

TEST(Covariance, SvdThresholdZeroUsesOnlyCompleteVectorsUnscaled) {
  SsaAnalysis a;
  Prepare(a, {1, 2, 3, kNaN, 5, 6, 7, 8}, 2, 0, kCovarianceSvd);
  // Complete columns: (1,2), (2,3), (5,6), (6,7), (7,8).
  Matrix expected(2, 2);
  expected << 1 + 4 + 25 + 36 + 49, 2 + 6 + 30 + 42 + 56, 2 + 6 + 30 + 42 + 56,
      4 + 9 + 36 + 49 + 64;
  EXPECT_TRUE(a.covariance.isApprox(expected, 1e-14));
}

TEST(Covariance, ToeplitzUsesEveryPresentPair) {
  struct Case {
    std::vector<double> x;
    int L, threshold;
  };
  const Case cases[] = {
      {{1, -2, 3, 5, 0.5, 7, -1, 2}, 3, 0},
      // Pairs inside lagged vectors deleted by the threshold still count.
      {{1, 2, kNaN, 4, 5, kNaN, 7, 8, 9}, 3, 0},
      {{kNaN, 2, 3, kNaN, kNaN, 6, 7, 8, 9, kNaN, 11, 12}, 5, 1},
  };
  for (const Case& c : cases) {
    SsaAnalysis a;
    Prepare(a, c.x, c.L, c.threshold, kCovarianceToeplitz);
    EXPECT_TRUE(a.covariance.isApprox(DirectToeplitz(c.x, c.L), 1e-14)) << a.covariance;
    EXPECT_EQ(a.covarianceBuilder().type(), kCovarianceToeplitz);
  }
}

TEST(Covariance, ToeplitzLagWithoutPresentPairIsZero) {
  // Every other value missing: lag 1 never has both elements present.
  SsaAnalysis a;
  Prepare(a, {1, kNaN, 3, kNaN, 5, kNaN, 7, kNaN, 9}, 3, 3, kCovarianceToeplitz);
  EXPECT_EQ(a.covariance(0, 1), 0.0);
  EXPECT_EQ(a.covariance(1, 2), 0.0);
  EXPECT_DOUBLE_EQ(a.covariance(0, 0), (1 + 9 + 25 + 49 + 81) / 5.0);
  EXPECT_DOUBLE_EQ(a.covariance(0, 2), (3 + 15 + 35 + 63) / 4.0);
  EXPECT_TRUE(a.covariance.allFinite());
}

TEST(Covariance, SwitchingMethodsReplacesTheBuilder) {
  SsaAnalysis a;
  const std::vector<double> x = {1, 2, 3, 4, 3, 2, 1, 2, 3};
  Prepare(a, x, 3, 0, kCovarianceToeplitz);
  a.covarianceMethod = kCovarianceSvd;
  a.BuildCovariance();
  EXPECT_EQ(a.covarianceBuilder().type(), kCovarianceSvd);
  const Matrix X = reference::Materialize(a.keptTrajectory).values();
  EXPECT_TRUE(a.covariance.isApprox(X * X.transpose()));
}

}  // namespace
}  // namespace vorel
