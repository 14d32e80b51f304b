// Values near the largest double: results that fit in a double are found, and
// those that do not are refused instead of leaving as infinities.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "TestSeries.h"
#include "engine/Exceptions.h"
#include "engine/SsaAnalysis.h"

namespace vorel {
namespace {

using test::kNaN;
using test::MakeSeries;

void SetCovariance(SsaAnalysis& a, const Matrix& c) {
  a.series = MaskedSeries(2 * static_cast<int>(c.rows()));
  a.SetWindowLength(static_cast<int>(c.rows()));
  a.covariance = c;
}

TEST(ExtremeValues, SharesWhenTheEigenvaluesAddUpBeyondTheLargestDouble) {
  SsaAnalysis a;
  Matrix c = Matrix::Zero(3, 3);
  c.diagonal() << 1e308, 1e307, 1e308;  // eigenvalues 1e308, 1e308, 1e307; their sum overflows
  SetCovariance(a, c);
  a.Decompose();
  EXPECT_NEAR(a.eigenvalues.value(1) / 1e308, 1.0, 1e-14);
  EXPECT_NEAR(a.eigenvalues.value(2) / 1e308, 1.0, 1e-14);
  EXPECT_NEAR(a.eigenvalues.value(3) / 1e307, 1.0, 1e-14);
  // share i = 100 * lambda_i / 2.1e308
  EXPECT_NEAR(a.shares.value(1), 100.0 / 2.1, 1e-12);
  EXPECT_NEAR(a.shares.value(2), 100.0 / 2.1, 1e-12);
  EXPECT_NEAR(a.shares.value(3), 10.0 / 2.1, 1e-12);
}

TEST(ExtremeValues, AnEigenvalueBeyondTheLargestDoubleIsRefused) {
  // Every entry finite, yet the eigenvalue 3e308 of the all-equal matrix is not.
  SsaAnalysis a;
  SetCovariance(a, Matrix::Constant(3, 3, 1e308));
  EXPECT_THROW(a.Decompose(), ExceptionEigenDecomposition);
}

TEST(ExtremeValues, DeviationsWhoseSquaresOverflow) {
  // Both present: differences 1e300, -1e300, 0 -> RMS 1e300 sqrt(2/3).
  // Otherwise: differences 3e200 and 4e200 -> RMS 1e200 sqrt(25/2).
  const MaskedSeries a = MakeSeries({1e300, -1e300, 0.0, kNaN, 4e200});
  const MaskedSeries b = MakeSeries({0.0, 0.0, 0.0, -3e200, kNaN});
  const Deviations d = SsaAnalysis::ComputeDeviations(a, b);
  EXPECT_NEAR(d.valid / (1e300 * std::sqrt(2.0 / 3.0)), 1.0, 1e-14);
  EXPECT_NEAR(d.missing / (1e200 * std::sqrt(12.5)), 1.0, 1e-14);

  // A difference beyond the largest double has no finite deviation.
  const double big = std::numeric_limits<double>::max();
  const Deviations beyond =
      SsaAnalysis::ComputeDeviations(MakeSeries({big, 1.0}), MakeSeries({-big, 1.0}));
  EXPECT_EQ(beyond.valid, std::numeric_limits<double>::infinity());
  EXPECT_EQ(beyond.missing, 0.0);
}

}  // namespace
}  // namespace vorel

namespace vorel {
namespace {

// A whole analysis of x times scale: the reconstruction of every method
// combination, and the shares, against the same analysis at scale 1.
void ExpectSameAnalysisAtScale(const std::vector<double>& x, int L, double scale) {
  for (const int covariance : {kCovarianceSvd, kCovarianceToeplitz}) {
    for (const int method : {kPrincipalComponents, kProjection}) {
      SsaAnalysis at[2];
      for (int k = 0; k < 2; ++k) {
        std::vector<double> v = x;
        if (k == 1) {
          for (double& e : v) e *= scale;
        }
        SsaAnalysis& a = at[k];
        a.series = test::MakeSeries(v);
        a.SetWindowLength(L);
        a.BuildTrajectory();
        a.SetThreshold(L);
        a.covarianceMethod = covariance;
        a.ApplyThreshold();
        a.BuildCovariance();
        a.Decompose();
        std::vector<unsigned char> flags(static_cast<size_t>(L), 0);
        flags[0] = flags[1] = 1;
        a.SelectEigentriples(flags);
        a.reconstructionMethod = method;
        a.Reconstruct();
      }
      const std::string where = "scale " + std::to_string(std::log10(scale)) + " covariance " +
                                std::to_string(covariance) + " method " + std::to_string(method);
      for (int i = 1; i <= L; ++i) {
        EXPECT_NEAR(at[1].shares.value(i), at[0].shares.value(i), 1e-9) << where;
      }
      for (int t = 1; t <= at[0].length(); ++t) {
        const double expected = at[0].reconstructed.value(t) * scale;
        EXPECT_NEAR(at[1].reconstructed.value(t) / scale, at[0].reconstructed.value(t),
                    1e-10 * std::max(1.0, std::abs(at[0].reconstructed.value(t))))
            << where << " t=" << t << " expected " << expected;
        EXPECT_TRUE(at[1].residuals.isValid(t) == at[0].residuals.isValid(t));
      }
    }
  }
}

TEST(ExtremeValues, TinyAndHugeSeriesAreAnalysedAsAtScaleOne) {
  // 1, 2, 3 repeated, and a gappy wave: scaled down to where squares
  // underflow (even to subnormal values) and up to where they near overflow.
  const std::vector<double> periodic = {1, 2, 3, 1, 2, 3};
  std::vector<double> wave(40);
  for (int t = 0; t < 40; ++t) wave[t] = 1.5 + std::sin(0.8 * t) + 0.3 * std::cos(0.13 * t * t);
  wave[5] = wave[17] = wave[18] = kNaN;
  for (const double scale : {1e-300, std::ldexp(1.0, -1040), 1e-160, 1e150, std::ldexp(1.0, 500)}) {
    ExpectSameAnalysisAtScale(periodic, 3, scale);
    ExpectSameAnalysisAtScale(wave, 8, scale);
  }
}

TEST(ExtremeValues, OrdinarySeriesAreNotScaled) {
  EXPECT_EQ(HankelTrajectory::ScaleExponentFor(0.0), 0);
  EXPECT_EQ(HankelTrajectory::ScaleExponentFor(3.0), 0);
  EXPECT_EQ(HankelTrajectory::ScaleExponentFor(1e70), 0);
  EXPECT_EQ(HankelTrajectory::ScaleExponentFor(1e-70), 0);
  // Beyond 2^250 either way the largest magnitude becomes 0.5..1.
  for (const double v : {1e-300, 1e100, 1e300, 4.9e-324}) {
    const double scaled = std::ldexp(v, -HankelTrajectory::ScaleExponentFor(v));
    EXPECT_GE(scaled, 0.5) << v;
    EXPECT_LT(scaled, 1.0) << v;
  }
}

}  // namespace
}  // namespace vorel
