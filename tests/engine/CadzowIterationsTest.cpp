#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "TestSeries.h"
#include "engine/CadzowIterations.h"
#include "engine/Exceptions.h"
#include "engine/ProgressCounter.h"

namespace vorel {
namespace {

using test::kNaN;
using test::MakeSeries;

constexpr int kN = 40;

std::vector<double> Source() {
  std::vector<double> x = test::Harmonic(kN, 1.0, 2.0, 0.5, 9.0);
  for (int t = 1; t <= kN; ++t) x[t - 1] += 0.3 * std::sin(2.1 * t * t) + 0.02 * t;
  for (int t : {7, 8, 20, 33}) x[t - 1] = kNaN;
  return x;
}

// An analysis reconstructed by projection with the given eigentriples of L = 8.
void Prepare(SsaAnalysis& a, const std::vector<int>& chosen) {
  a.series = MakeSeries(Source());
  a.SetWindowLength(8);
  a.BuildTrajectory();
  a.SetThreshold(8);
  a.ApplyThreshold();
  a.BuildCovariance();
  a.Decompose();
  std::vector<unsigned char> flags(8, 0);
  for (int i : chosen) flags[i - 1] = 1;
  a.SelectEigentriples(flags);
  a.reconstructionMethod = kProjection;
  a.missingEntriesPriority = {13, 12, 14, 15, 16};
  a.Reconstruct();
}

// Records what the iterations see at every step; fails at one step if asked.
class RecordingProgress : public ProgressSink {
 public:
  explicit RecordingProgress(const SsaAnalysis& a, int failAt = 0) : a_(a), failAt_(failAt) {}
  void begin(int from, int to) override {
    range = to - from;
    ++begins;
  }
  void show() override { ++shows; }
  void hide() override { ++hides; }
  void step() override {
    ++steps;
    windowLengths.push_back(a_.windowLength());
    std::vector<int> chosen;
    for (int i = 1; i <= a_.eigenvalues.length(); ++i) {
      if (a_.eigenvalues.isValid(i)) chosen.push_back(i);
    }
    choices.push_back(chosen);
    seriesComplete = seriesComplete && a_.series.CountValid() == a_.series.length();
    keptEqualsTrajectory = keptEqualsTrajectory &&
                           a_.keptTrajectory == a_.trajectory;
    if (steps == failAt_) throw ExceptionProjectorPi();
  }
  int range = -1, begins = 0, shows = 0, hides = 0, steps = 0;
  std::vector<int> windowLengths;
  std::vector<std::vector<int>> choices;
  bool seriesComplete = true;
  bool keptEqualsTrajectory = true;

 private:
  const SsaAnalysis& a_;
  int failAt_;
};

TEST(CadzowIterations, RunWithTheLeadingEigentriplesAndRestoreTheAnalysis) {
  SsaAnalysis a;
  Prepare(a, {3, 5, 7});
  a.SetCadzowWindowLength(10);
  a.SetCadzowIterations(4);
  const MaskedSeries series = a.series;
  const MaskedSeries eigenvalues = a.eigenvalues;
  const Matrix eigenvectors = a.eigenvectors.values();

  RecordingProgress progress(a);
  EXPECT_FALSE(RunCadzowIterations(a, progress, nullptr).has_value());

  // Every iteration ran at Lc on the complete series with eigentriples 1, 2, 3.
  EXPECT_EQ(progress.steps, 4);
  EXPECT_EQ(progress.windowLengths, std::vector<int>(4, 10));
  EXPECT_EQ(progress.choices, std::vector<std::vector<int>>(4, std::vector<int>{1, 2, 3}));
  EXPECT_TRUE(progress.seriesComplete);
  EXPECT_TRUE(progress.keptEqualsTrajectory);
  EXPECT_EQ(progress.range, 4);
  EXPECT_EQ(progress.begins, 1);
  EXPECT_EQ(progress.shows, 1);
  EXPECT_EQ(progress.hides, 1);

  // Restored: series, L (the Cadzow window length stays), choice 3, 5, 7, eigenvectors.
  EXPECT_EQ(a.series, series);
  EXPECT_EQ(a.windowLength(), 8);
  EXPECT_EQ(a.cadzowWindowLength(), 10);
  EXPECT_EQ(a.eigenvalues, eigenvalues);
  EXPECT_EQ(a.eigenvectors.values(), eigenvectors);
  ASSERT_EQ(a.trajectory.rows(), 8);
  EXPECT_EQ(a.trajectory.cols(), kN - 7);
  ASSERT_EQ(a.selectedEigenvectors.cols(), 3);
  EXPECT_EQ(a.selectedEigenvectors.values().col(0), eigenvectors.col(2));
  EXPECT_EQ(a.selectedEigenvectors.values().col(1), eigenvectors.col(4));
  EXPECT_EQ(a.selectedEigenvectors.values().col(2), eigenvectors.col(6));
  // Without a comparison the deviations are all 0; residuals use the source flags.
  EXPECT_EQ(a.cadzowDeviationValid.values(), Vector::Zero(4));
  EXPECT_EQ(a.cadzowDeviationMissing.values(), Vector::Zero(4));
  ASSERT_EQ(a.residuals.length(), kN);
  for (int t = 1; t <= kN; ++t) {
    EXPECT_EQ(a.residuals.value(t), a.series.value(t) - a.reconstructed.value(t));
    EXPECT_EQ(a.residuals.isValid(t), a.series.isValid(t));
    EXPECT_TRUE(a.reconstructed.isValid(t));
  }
}

TEST(CadzowIterations, EachIterationReconstructsThePreviousResult) {
  SsaAnalysis a;
  Prepare(a, {1, 2});
  a.SetCadzowWindowLength(9);
  a.SetCadzowIterations(2);
  // The same two iterations by hand, on a second analysis.
  SsaAnalysis b;
  Prepare(b, {1, 2});
  b.series = b.reconstructed;
  b.SetWindowLength(9);
  b.eigenvalues.Resize(9);
  b.eigenvalues.SetAllValid(false);
  b.eigenvalues.setValid(1, true);
  b.eigenvalues.setValid(2, true);
  for (int j = 0; j < 2; ++j) {
    b.BuildTrajectory();
    b.keptTrajectory = b.trajectory;
    b.BuildCovariance();
    b.Decompose();
    b.SelectEigentriples();
    b.Reconstruct();
    b.series.values() = b.reconstructed.values();
  }
  NullProgress progress;
  ASSERT_FALSE(RunCadzowIterations(a, progress, nullptr).has_value());
  EXPECT_EQ(a.reconstructed, b.reconstructed);
}

TEST(CadzowIterations, DeviationsPerIterationSplitBySourceFlags) {
  SsaAnalysis a;
  Prepare(a, {1, 2});
  a.SetCadzowIterations(1);
  // Reference: the source series' values with 1 at the missing positions, and
  // position 3 flagged missing in the reference.
  MaskedSeries reference = a.series;
  for (int t = 1; t <= kN; ++t) {
    if (!reference.isValid(t)) reference.set(t, 1.0, true);
  }
  reference.setValid(3, false);
  const MaskedSeries source = a.series;
  NullProgress progress;
  ASSERT_FALSE(RunCadzowIterations(a, progress, &reference).has_value());

  double validSum = 0, missingSum = 0;
  int validCount = 0, missingCount = 0;
  for (int t = 1; t <= kN; ++t) {
    const double d = a.reconstructed.value(t) - reference.value(t);
    if (source.isValid(t) && t != 3) {
      validSum += d * d;
      ++validCount;
    } else {
      missingSum += d * d;
      ++missingCount;
    }
  }
  ASSERT_EQ(validCount, kN - 5);
  ASSERT_EQ(a.cadzowDeviationValid.length(), 1);
  ASSERT_EQ(a.cadzowDeviationMissing.length(), 1);
  EXPECT_NEAR(a.cadzowDeviationValid.value(1), std::sqrt(validSum / validCount), 1e-12);
  EXPECT_NEAR(a.cadzowDeviationMissing.value(1), std::sqrt(missingSum / missingCount), 1e-12);
  EXPECT_EQ(a.reconstructed.CountValid(), kN);
}

TEST(CadzowIterations, FailureStopsTheLoopAndStillRestores) {
  SsaAnalysis a;
  Prepare(a, {1, 2});
  a.SetCadzowIterations(10);
  const MaskedSeries series = a.series;
  const MaskedSeries eigenvalues = a.eigenvalues;
  const MaskedSeries reference = MakeSeries(std::vector<double>(kN, 0.5));
  // The third iteration fails after its reconstruction, before its deviations.
  RecordingProgress progress(a, 3);
  const auto message = RunCadzowIterations(a, progress, &reference);
  ASSERT_TRUE(message.has_value());
  EXPECT_EQ(*message, ExceptionProjectorPi::kMessage);
  EXPECT_EQ(progress.steps, 3);
  EXPECT_EQ(progress.hides, 1);
  ASSERT_EQ(a.cadzowDeviationValid.length(), 10);
  for (int j = 1; j <= 10; ++j) {
    EXPECT_EQ(a.cadzowDeviationValid.value(j) > 0, j < 3) << j;
    EXPECT_EQ(a.cadzowDeviationMissing.value(j) > 0, j < 3) << j;
  }
  EXPECT_EQ(a.series, series);
  EXPECT_EQ(a.eigenvalues, eigenvalues);
  EXPECT_EQ(a.windowLength(), 8);
}

TEST(CadzowIterations, NoEigentripleChosenIsReportedNotThrown) {
  SsaAnalysis a;
  Prepare(a, {1});
  a.eigenvalues.SetAllValid(false);
  a.SetCadzowIterations(3);
  const MaskedSeries series = a.series;
  RecordingProgress progress(a);
  const auto message = RunCadzowIterations(a, progress, nullptr);
  ASSERT_TRUE(message.has_value());
  EXPECT_EQ(*message, ExceptionNoEVSelected::kMessage);
  EXPECT_EQ(progress.steps, 0);
  EXPECT_EQ(progress.hides, 1);
  EXPECT_EQ(a.series, series);
}

TEST(CompareReconstruction, DeviationsByHand) {
  SsaAnalysis a;
  a.series = MakeSeries({5.0, kNaN, 7.0, 8.0});
  a.reconstructed = MakeSeries({1.0, 2.0, 3.0, 4.0});
  a.cadzowDeviationValid.Resize(10);
  a.cadzowDeviationValid.value(2) = 3.0;
  MaskedSeries reference = MakeSeries({1.5, 2.0, 2.0, 6.0});
  reference.setValid(4, false);
  CompareReconstruction(a, reference);
  // Total over positions 1 and 3 (source and reference present): d = -0.5, 1.
  // Missing over 2 (source missing, d = 0) and 4 (reference missing, d = -2).
  ASSERT_EQ(a.cadzowDeviationValid.length(), 1);
  ASSERT_EQ(a.cadzowDeviationMissing.length(), 1);
  EXPECT_DOUBLE_EQ(a.cadzowDeviationValid.value(1), std::sqrt((0.25 + 1.0) / 2));
  EXPECT_DOUBLE_EQ(a.cadzowDeviationMissing.value(1), std::sqrt(4.0 / 2));
  EXPECT_EQ(a.reconstructed, MakeSeries({1.0, 2.0, 3.0, 4.0}));
}

TEST(CompareReconstruction, CompleteSourceHasNoMissingDeviation) {
  SsaAnalysis a;
  a.series = MakeSeries({1.0, 2.0, 3.0});
  a.reconstructed = MakeSeries({1.0, 2.0, 5.0});
  CompareReconstruction(a, MakeSeries({1.0, 2.0, 3.0}));
  EXPECT_DOUBLE_EQ(a.cadzowDeviationValid.value(1), std::sqrt(4.0 / 3));
  EXPECT_EQ(a.cadzowDeviationMissing.value(1), 0.0);
}

TEST(ProgressCounter, PositionIsTheIntegerPercentageAndNeverFalls) {
  struct Case {
    int from, to;
    std::vector<int> positions;  // after each step
    std::vector<bool> moved;
  };
  const std::vector<Case> cases = {
      {0, 3, {33, 66, 100}, {true, true, true}},
      {0, 200, {0, 1, 1, 2}, {false, true, false, true}},
      {5, 7, {50, 100, 150}, {true, true, true}},
      {0, 0, {0, 0}, {false, false}},
  };
  for (const Case& c : cases) {
    ProgressCounter counter;
    counter.begin(c.from, c.to);
    EXPECT_EQ(counter.position(), 0);
    for (size_t k = 0; k < c.positions.size(); ++k) {
      EXPECT_EQ(counter.step(), c.moved[k]) << c.to << " step " << k + 1;
      EXPECT_EQ(counter.position(), c.positions[k]) << c.to << " step " << k + 1;
    }
  }
  // begin starts over.
  ProgressCounter counter;
  counter.begin(0, 2);
  counter.step();
  counter.begin(0, 4);
  EXPECT_EQ(counter.position(), 0);
  EXPECT_EQ(counter.count(), 0);
  EXPECT_TRUE(counter.step());
  EXPECT_EQ(counter.position(), 25);
}

}  // namespace
}  // namespace vorel
