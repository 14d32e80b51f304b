#include <gtest/gtest.h>

#include <string>

#include "TestSeries.h"
#include "engine/Exceptions.h"
#include "engine/SsaAnalysis.h"

namespace vorel {
namespace {

using test::kNaN;
using test::MakeSeries;

TEST(SsaAnalysis, ConstructionDefaults) {
  SsaAnalysis a;
  EXPECT_EQ(a.windowLength(), 10);
  EXPECT_EQ(a.cadzowWindowLength(), 10);
  EXPECT_EQ(a.cadzowIterations(), 10);
  EXPECT_EQ(a.threshold(), 0);
  EXPECT_EQ(a.covarianceMethod, 2);
  EXPECT_EQ(a.reconstructionMethod, 1);
  EXPECT_EQ(a.validEntriesMethod, 11);
  EXPECT_EQ(a.missingEntriesPriority, (std::array<int, 5>{12, 13, 14, 15, 16}));
  EXPECT_EQ(a.series.length(), 10);
  EXPECT_EQ(a.trajectory.rows(), 10);
  EXPECT_EQ(a.covariance.rows(), 10);
  // The first reconstruction with the default method builds a projection reconstructor.
  EXPECT_EQ(a.covarianceBuilder().type(), kCovarianceSvd);
  EXPECT_EQ(a.reconstructor().type(), kPrincipalComponents);
}

TEST(SsaAnalysis, ExceptionMessagesAreTheSystemsOwn) {
  struct Case {
    std::string actual, expected;
  };
  const Case cases[] = {
      {ExceptionWindowLength().message(),
       "The window length must satisfy to the following requirements: 1 < L < N-1.\nEnter another "
       "window length value, please."},
      {ExceptionThresholdOutOfRange().message(),
       "Attention!\nWrong threshold value is entered. Threshold value should be not negative number "
       "and be less than the series length."},
      {ExceptionThresholdDeleteAllVectors().message(),
       "Attention!\nCurrent threshold value cause deletion of all lagged vectors.\nEnter another "
       "parameters, please (down the window length or up the threshold)."},
      {ExceptionNoEVSelected().message(), "Attention!\nNo eigentriples have been selected."},
      {ExceptionWrongCadzowWL().message(),
       "Attention!\nThe window length of Cadzow's iterations should be greater or equal to window "
       "length used before and less than length of the source time series minus one."},
      {ExceptionWrongCadzowIterationsNumber().message(),
       "Attention!\nThe Cadzow's iterations number should be greater zero."},
      {ExceptionProjectorPi().message(),
       "Attention!\nThe error of matrix inversion detected while PI projector was applied."},
      {ExceptionSimultaneousFillingIn().message(),
       "Attention!\nThe error of matrix inversion detected while formula of simulteneous filling "
       "was applied."},
      {ExceptionForecasting().message(),
       "Attention!\nThe error of applicability of the forecast formula detected. It occured because "
       "condition of applicability of the formula was disturbed(for example, in case when signal "
       "dimension is equal to L, e.g. window length)."},
      {ExceptionImposibleToCombine().message(),
       "Attention!\nSelected methods'  combination cannot be applied to the source "
       "series.\nUse another combination."},
  };
  for (const Case& c : cases) EXPECT_EQ(c.actual, c.expected);
  const AbstractException& base = ExceptionNoEVSelected();
  EXPECT_STREQ(base.what(), "Attention!\nNo eigentriples have been selected.");
}

TEST(SsaAnalysis, WindowLengthBounds) {
  SsaAnalysis a;
  a.series = MakeSeries(test::Harmonic(20, 1, 1, 0, 5));
  struct Case {
    int L;
    bool accepted;
  };
  for (const Case c : {Case{1, false}, Case{2, true}, Case{19, true}, Case{20, false},
                       Case{-3, false}, Case{10, true}}) {
    SsaAnalysis b;
    b.series = a.series;
    b.SetWindowLength(5);
    if (c.accepted) {
      b.SetWindowLength(c.L);
      EXPECT_EQ(b.windowLength(), c.L);
      EXPECT_EQ(b.cadzowWindowLength(), c.L);
    } else {
      EXPECT_THROW(b.SetWindowLength(c.L), ExceptionWindowLength) << c.L;
      EXPECT_EQ(b.windowLength(), 5);
      EXPECT_EQ(b.cadzowWindowLength(), 5);
    }
  }
}

TEST(SsaAnalysis, ClampWindowLength) {
  struct Case {
    int N, L, expected;
  };
  for (const Case c : {Case{20, 1, 2}, Case{20, 20, 19}, Case{20, 25, 19}, Case{20, 10, 10},
                       Case{7, 4, 4}, Case{3, 2, 2}}) {
    SsaAnalysis a;
    a.series = MaskedSeries(c.N);
    a.ClampWindowLength(c.L);
    EXPECT_EQ(a.windowLength(), c.expected) << c.N << " " << c.L;
    EXPECT_EQ(a.cadzowWindowLength(), c.expected);
  }
}

TEST(SsaAnalysis, CadzowSetters) {
  SsaAnalysis a;
  a.series = MaskedSeries(20);
  a.SetWindowLength(6);
  EXPECT_THROW(a.SetCadzowWindowLength(5), ExceptionWrongCadzowWL);
  EXPECT_THROW(a.SetCadzowWindowLength(20), ExceptionWrongCadzowWL);
  EXPECT_EQ(a.cadzowWindowLength(), 6);
  a.SetCadzowWindowLength(19);
  EXPECT_EQ(a.cadzowWindowLength(), 19);
  a.SetCadzowWindowLength(6);
  EXPECT_EQ(a.cadzowWindowLength(), 6);

  EXPECT_THROW(a.SetCadzowIterations(0), ExceptionWrongCadzowIterationsNumber);
  EXPECT_THROW(a.SetCadzowIterations(-2), ExceptionWrongCadzowIterationsNumber);
  EXPECT_EQ(a.cadzowIterations(), 10);
  a.SetCadzowIterations(1);
  EXPECT_EQ(a.cadzowIterations(), 1);
}

TEST(SsaAnalysis, ThresholdChecks) {
  SsaAnalysis a;
  // L = 3; every lagged vector of this series misses at least one component
  // but the first (x1..x3) and the last (x6..x8).
  a.series = MakeSeries({1, 2, 3, kNaN, kNaN, 6, 7, 8});
  a.SetWindowLength(3);
  a.BuildTrajectory();
  EXPECT_THROW(a.SetThreshold(-1), ExceptionThresholdOutOfRange);
  EXPECT_THROW(a.SetThreshold(4), ExceptionThresholdOutOfRange);
  a.SetThreshold(3);
  EXPECT_EQ(a.threshold(), 3);
  a.SetThreshold(0);
  EXPECT_EQ(a.threshold(), 0);

  // Every lagged vector misses at least two components: threshold 1 deletes all.
  SsaAnalysis b;
  b.series = MakeSeries({kNaN, 1, kNaN, 2, kNaN, 3, kNaN});
  b.SetWindowLength(4);
  b.BuildTrajectory();
  EXPECT_THROW(b.SetThreshold(1), ExceptionThresholdDeleteAllVectors);
  EXPECT_EQ(b.threshold(), 0);
  b.SetThreshold(2);
  EXPECT_EQ(b.threshold(), 2);
}

TEST(SsaAnalysis, TrajectoryAndThreshold) {
  SsaAnalysis a;
  a.series = MakeSeries({1, 2, kNaN, 4, 5, 6});
  a.SetWindowLength(3);
  a.BuildTrajectory();
  ASSERT_EQ(a.trajectory.rows(), 3);
  ASSERT_EQ(a.trajectory.cols(), 4);
  for (int i = 1; i <= 3; ++i) {
    for (int j = 1; j <= 4; ++j) {
      const int t = i + j - 1;
      EXPECT_EQ(a.trajectory.isValid(i, j), t != 3);
      EXPECT_EQ(a.trajectory.value(i, j), t == 3 ? 0.0 : t);
    }
  }
  EXPECT_EQ(a.trajectory.validCount(1), 2);
  EXPECT_EQ(a.trajectory.validCount(3), 2);
  EXPECT_EQ(a.trajectory.validCount(4), 3);

  a.SetThreshold(0);
  a.ApplyThreshold();
  ASSERT_EQ(a.keptTrajectory.cols(), 1);  // only column 4 is complete
  EXPECT_EQ(a.keptTrajectory.value(1, 1), 4);
  EXPECT_EQ(a.keptTrajectory.validCount(1), 3);

  a.SetThreshold(1);
  a.ApplyThreshold();
  ASSERT_EQ(a.keptTrajectory.cols(), 4);
  EXPECT_EQ(a.keptTrajectory.validCount(2), 2);
  EXPECT_FALSE(a.keptTrajectory.isValid(2, 2));
}

TEST(SsaAnalysis, ThresholdCurves) {
  // L = 3, columns of x1..x7 with x3 and x4 missing: missing counts per column
  // are 1, 2, 2, 1, 0.
  SsaAnalysis a;
  a.series = MakeSeries({1, 2, kNaN, kNaN, 5, 6, 7});
  a.SetWindowLength(3);
  a.BuildTrajectory();
  a.ComputeThresholdCurves();
  ASSERT_EQ(a.columnsAfterDeletion.length(), 4);
  // Kept columns for t = 0..3: 1, 3, 5, 5.
  const double kept[] = {1, 3, 5, 5};
  // Distorted rows: t = 0 none; t = 1: columns 1 (row 3) and 4 (row 1) -> rows 1, 3;
  // t = 2: columns 2, 3 add row 2 -> all three rows.
  const int d[] = {0, 2, 3, 3};
  for (int t = 0; t <= 3; ++t) {
    EXPECT_EQ(a.columnsAfterDeletion.value(t + 1), kept[t]) << t;
    EXPECT_DOUBLE_EQ(a.distortedRatio.value(t + 1), d[t] * (6.0 - d[t]) / 9.0) << t;
  }

  // Without missing values every threshold keeps all K columns and nothing is distorted.
  SsaAnalysis b;
  b.series = MakeSeries({1, 2, 3, 4, 5, 6});
  b.SetWindowLength(2);
  b.BuildTrajectory();
  b.ComputeThresholdCurves();
  for (int t = 1; t <= 3; ++t) {
    EXPECT_EQ(b.columnsAfterDeletion.value(t), 5);
    EXPECT_EQ(b.distortedRatio.value(t), 0.0);
  }
}

TEST(SsaAnalysis, UnknownMethodsAreRefused) {
  SsaAnalysis a;
  a.series = MakeSeries(test::Harmonic(12, 0, 1, 0, 4));
  a.SetWindowLength(4);
  a.BuildTrajectory();
  a.ApplyThreshold();
  a.covarianceMethod = 4;
  EXPECT_THROW(a.BuildCovariance(), ExceptionUnknownCovarianceMethod);
  a.covarianceMethod = 2;
  a.BuildCovariance();
  a.Decompose();
  a.SelectEigentriples({1, 1});
  a.reconstructionMethod = 7;
  EXPECT_THROW(a.Reconstruct(), ExceptionUnknownReconstructionMethod);
}

TEST(SsaAnalysis, ComputeDeviations) {
  MaskedSeries a = MakeSeries({1, kNaN, 3, 4});
  a.value(2) = 2.0;  // values under a missing flag still count, in the second class
  MaskedSeries b = MakeSeries({2, 5, kNaN, 4});
  b.value(3) = 1.0;  // a missing comparison value is taken as stored
  const Deviations d = SsaAnalysis::ComputeDeviations(a, b);
  // Both present: t = 1 (d = -1), t = 4 (d = 0). Others: t = 2 (d = -3), t = 3 (d = 2).
  EXPECT_DOUBLE_EQ(d.valid, std::sqrt(1.0 / 2));
  EXPECT_DOUBLE_EQ(d.missing, std::sqrt(13.0 / 2));

  const Deviations none = SsaAnalysis::ComputeDeviations(MakeSeries({1, 2}), MakeSeries({1, 4}));
  EXPECT_DOUBLE_EQ(none.valid, std::sqrt(2.0));
  EXPECT_EQ(none.missing, 0.0);
}

}  // namespace
}  // namespace vorel
