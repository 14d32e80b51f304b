#include <gtest/gtest.h>

#include "TestSeries.h"
#include "engine/EigenStep.h"
#include "engine/Exceptions.h"
#include "engine/SsaAnalysis.h"

namespace vorel {
namespace {

using test::MakeSeries;

// An analysis whose covariance is set directly.
void SetCovariance(SsaAnalysis& a, const Matrix& c) {
  a.series = MaskedSeries(2 * static_cast<int>(c.rows()));
  a.SetWindowLength(static_cast<int>(c.rows()));
  a.covariance = c;
}

TEST(Decompose, DecreasingOrderWithVectorsAlike) {
  SsaAnalysis a;
  Matrix c(3, 3);
  c << 2, 1, 0, 1, 2, 0, 0, 0, 5;  // eigenvalues 5, 3, 1
  SetCovariance(a, c);
  a.Decompose();
  EXPECT_NEAR(a.eigenvalues.value(1), 5, 1e-12);
  EXPECT_NEAR(a.eigenvalues.value(2), 3, 1e-12);
  EXPECT_NEAR(a.eigenvalues.value(3), 1, 1e-12);
  for (int i = 1; i <= 3; ++i) {
    const Vector v = a.eigenvectors.values().col(i - 1);
    EXPECT_NEAR(v.norm(), 1.0, 1e-12);
    EXPECT_TRUE((c * v).isApprox(a.eigenvalues.value(i) * v, 1e-12));
  }
  EXPECT_NEAR(a.shares.value(1), 100.0 * 5 / 9, 1e-10);
  EXPECT_NEAR(a.shares.value(3), 100.0 * 1 / 9, 1e-10);
}

TEST(Decompose, NegativeEigenvaluesAreStoredAsZeroAndLeftOutOfShares) {
  SsaAnalysis a;
  Matrix c(2, 2);
  c << 1, 2, 2, 1;  // eigenvalues 3 and -1
  SetCovariance(a, c);
  a.Decompose();
  EXPECT_NEAR(a.eigenvalues.value(1), 3, 1e-12);
  EXPECT_EQ(a.eigenvalues.value(2), 0.0);
  EXPECT_NEAR(a.shares.value(1), 100.0, 1e-12);
  EXPECT_EQ(a.shares.value(2), 0.0);
}

TEST(Decompose, NoPositiveEigenvalueGivesZeroShares) {
  SsaAnalysis a;
  SetCovariance(a, -Matrix::Identity(3, 3));
  a.Decompose();
  for (int i = 1; i <= 3; ++i) {
    EXPECT_EQ(a.eigenvalues.value(i), 0.0);
    EXPECT_EQ(a.shares.value(i), 0.0);
  }
}

TEST(Decompose, NonFiniteCovarianceIsRefused) {
  SsaAnalysis a;
  Matrix c = Matrix::Identity(2, 2);
  c(0, 1) = c(1, 0) = std::numeric_limits<double>::infinity();
  SetCovariance(a, c);
  EXPECT_THROW(a.Decompose(), ExceptionEigenDecomposition);
}

TEST(Decompose, SelectionFlagsSurviveTheSameWindowLengthOnly) {
  SsaAnalysis a;
  SetCovariance(a, Vector::LinSpaced(4, 4, 1).asDiagonal());
  a.Decompose();
  a.SelectEigentriples({0, 1, 0, 1});
  a.Decompose();  // same L: flags kept
  EXPECT_EQ(a.SelectedCount(), 2);
  EXPECT_TRUE(a.eigenvalues.isValid(2));
  EXPECT_TRUE(a.eigenvalues.isValid(4));

  SetCovariance(a, Vector::LinSpaced(3, 3, 1).asDiagonal());
  a.Decompose();  // new L: flags cleared
  EXPECT_EQ(a.eigenvalues.length(), 3);
  EXPECT_EQ(a.SelectedCount(), 0);
}

TEST(Decompose, TiesTakeTheFirstOfTheLargestRemaining) {
  // The selection sort on (1, 3, 3, 2): position 1 takes index 2 (the first
  // 3) and swaps with index 1, giving (3, 1, 3, 2); position 2 takes index 3.
  Vector values(4);
  values << 1, 3, 3, 2;
  Matrix vectors = Matrix::Identity(4, 4);
  EigenStep::SortDescending(values, vectors);
  EXPECT_EQ(values, (Vector(4) << 3, 3, 2, 1).finished());
  // Columns follow: e2, e3, e4, e1.
  EXPECT_EQ(vectors(1, 0), 1.0);
  EXPECT_EQ(vectors(2, 1), 1.0);
  EXPECT_EQ(vectors(3, 2), 1.0);
  EXPECT_EQ(vectors(0, 3), 1.0);
}

TEST(SelectEigentriples, ColumnsOfTheSelectedInIncreasingOrder) {
  SsaAnalysis a;
  SetCovariance(a, Vector::LinSpaced(5, 5, 1).asDiagonal());
  a.Decompose();
  a.SelectEigentriples({1, 0, 1, 0, 0});
  ASSERT_EQ(a.selectedEigenvectors.rows(), 5);
  ASSERT_EQ(a.selectedEigenvectors.cols(), 2);
  EXPECT_EQ(a.selectedEigenvectors.values().col(0), a.eigenvectors.values().col(0));
  EXPECT_EQ(a.selectedEigenvectors.values().col(1), a.eigenvectors.values().col(2));
  EXPECT_TRUE(a.selectedEigenvectors.AllValid());
}

TEST(SelectEigentriples, NoneSelectedRaisesAndKeepsTheCopiedFlags) {
  SsaAnalysis a;
  SetCovariance(a, Vector::LinSpaced(3, 3, 1).asDiagonal());
  a.Decompose();
  a.SelectEigentriples({1, 1, 0});
  EXPECT_THROW(a.SelectEigentriples({0, 0, 0}), ExceptionNoEVSelected);
  EXPECT_EQ(a.SelectedCount(), 0);
  EXPECT_THROW(a.SelectEigentriples(), ExceptionNoEVSelected);
  a.eigenvalues.Resize(0);
  EXPECT_THROW(a.SelectEigentriples({1}), ExceptionNoEVSelected);
}

}  // namespace
}  // namespace vorel
