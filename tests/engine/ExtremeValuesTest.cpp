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
