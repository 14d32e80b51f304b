#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/MethodApplicability.h"
#include "engine/SsaAnalysis.h"

namespace vorel {
namespace {

// Trajectory of a series of length n with the given 1-based positions missing.
HankelTrajectory Trajectory(int n, int L, const std::vector<int>& missing) {
  SsaAnalysis a;
  a.series.Resize(n);
  for (int t = 1; t <= n; ++t) a.series.value(t) = 0.5 * t;
  for (int t : missing) a.series.set(t, 0.0, false);
  a.SetWindowLength(L);
  a.BuildTrajectory();
  return a.trajectory;
}

// The flags in the order of the record, as a string of 0/1 for readable failures.
std::string Bits(const MethodApplicability& m) {
  std::string s;
  for (bool b : {m.principalComponents, m.piProjector, m.cnvBothSides, m.cnvLeft, m.cnvRight,
                 m.simultaneous, m.sequentialBothSides, m.sequentialLeft, m.sequentialRight}) {
    s += b ? '1' : '0';
  }
  return s;
}

struct GroupCase {
  const char* name;
  int n, L, r;
  std::vector<int> missing;
  // Expected flags: principalComponents, piProjector, cnvBothSides, cnvLeft,
  // cnvRight, simultaneous, sequentialBothSides, sequentialLeft, sequentialRight.
  std::string expected;
};

// Each case holds exactly one group; the whole-series flags then equal the
// group's, and the group is also evaluated over its exact columns and over the
// range with its complete neighbours.
class GroupApplicabilityTest : public ::testing::TestWithParam<GroupCase> {};

TEST_P(GroupApplicabilityTest, FlagsOfTheOnlyGroup) {
  const GroupCase& c = GetParam();
  const HankelTrajectory X = Trajectory(c.n, c.L, c.missing);
  const int K = X.cols();
  int first = 1;
  while (X.validCount(first) == c.L) ++first;
  int last = first;
  while (last < K && X.validCount(last + 1) != c.L) ++last;

  const MethodApplicability exact = GroupApplicability(X, first, last, c.r);
  EXPECT_EQ(Bits(exact), c.expected);
  const MethodApplicability wide =
      GroupApplicability(X, first > 1 ? first - 1 : 1, last < K ? last + 1 : K, c.r);
  EXPECT_EQ(Bits(wide), c.expected);

  const SeriesApplicability s = ComputeSeriesApplicability(X, c.r);
  EXPECT_EQ(Bits(s), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Profiles, GroupApplicabilityTest,
    ::testing::Values(
        // One missing x(s), L + 1 <= s <= N - L: counts L-1 over L columns.
        GroupCase{"SingleInside", 20, 4, 2, {8}, "111001111"},
        // The same with all L eigentriples: no column keeps r present components.
        GroupCase{"SingleInsideAllEigentriples", 20, 4, 4, {8}, "111000111"},
        // x(1): column 1 only, missing its first component.
        GroupCase{"FirstValue", 20, 4, 2, {1}, "110011001"},
        // x(N): column K only, missing its last component; nothing comes after it.
        GroupCase{"LastValue", 20, 4, 2, {20}, "110101010"},
        // x(K) = x(17): columns 14..17, the last one missing only its first component.
        GroupCase{"ValueK", 20, 4, 2, {17}, "110001111"},
        // A run of 6 > L inside: columns without a present component.
        GroupCase{"RunLongerThanL", 24, 4, 2, {9, 10, 11, 12, 13, 14}, "001000111"},
        // A run of 2 at the start: counts rise 2, 3.
        GroupCase{"RunAtStart", 20, 4, 2, {1, 2}, "110011001"},
        // A run of 6 at the start: counts 0, 0, 0, 1, 2, 3, a plateau at 0.
        GroupCase{"LongRunAtStart", 24, 4, 1, {1, 2, 3, 4, 5, 6}, "000010001"},
        // A run of 3 at the end: counts fall 3, 2, 1 (below r = 2 at the end).
        GroupCase{"RunAtEnd", 20, 4, 2, {18, 19, 20}, "110100010"},
        // x(s), x(s + 2) with L = 4: counts 3, 3, 2, 2, 3, 3.
        GroupCase{"TwoRunsCloserThanL", 20, 4, 2, {8, 10}, "110001111"},
        GroupCase{"TwoRunsCloserThanLHighRank", 20, 4, 3, {8, 10}, "110000111"},
        // x(1), x(3), x(5) with N = 5, L = 3: one group over all columns, counts 1, 2, 1.
        GroupCase{"WholeSeries", 5, 3, 2, {1, 3, 5}, "110000000"},
        // x(2), x(3) with N = 4, L = 2: counts 1, 0, 1 from column 1 to column K.
        GroupCase{"EmptyColumnBetweenEnds", 4, 2, 1, {2, 3}, "000000111"}),
    [](const ::testing::TestParamInfo<GroupCase>& info) { return info.param.name; });

TEST(GroupApplicability, RangeStartingAtACompleteFirstColumnKeepsCnvLeft) {
  // x(5) with L = 4: the group is columns 2..5; column 1 is its neighbour.
  const HankelTrajectory X = Trajectory(12, 4, {5});
  const MethodApplicability g = GroupApplicability(X, 1, 6, 2);
  EXPECT_TRUE(g.cnvBothSides);
  EXPECT_EQ(Bits(g), Bits(GroupApplicability(X, 2, 5, 2)));
}

TEST(GroupApplicability, WalkStopsAtTheFirstCompleteColumnAfterTheGroup) {
  // Two groups: x(6) (columns 3..6) and x(14) (columns 11..14). A range over
  // both evaluates only the first.
  const HankelTrajectory X = Trajectory(20, 4, {6, 14});
  EXPECT_EQ(Bits(GroupApplicability(X, 2, 15, 2)), Bits(GroupApplicability(X, 3, 6, 2)));
  EXPECT_EQ(Bits(GroupApplicability(X, 2, 15, 2)), "111001111");
}

TEST(GroupApplicability, RangeWithoutIncompleteColumnsAllowsEverything) {
  const HankelTrajectory X = Trajectory(20, 4, {10});
  EXPECT_EQ(Bits(GroupApplicability(X, 1, 6, 2)), "111111111");
}

TEST(SeriesApplicability, NoMissingValueAllowsEveryMethod) {
  const SeriesApplicability s = ComputeSeriesApplicability(Trajectory(20, 5, {}), 5);
  EXPECT_EQ(Bits(s), "111111111");
  EXPECT_TRUE(s.validEntriesCovered);
  EXPECT_TRUE(s.missingEntriesCovered);
  EXPECT_TRUE(s.bothCovered);
}

TEST(SeriesApplicability, FlagsOfAllGroupsAreCombined) {
  // x(1) (only CNV-Right of the CNV kinds) and x(10) (only CNV-Both sides).
  const HankelTrajectory X = Trajectory(20, 4, {1, 10});
  const SeriesApplicability s = ComputeSeriesApplicability(X, 2);
  EXPECT_EQ(Bits(s), "110001001");
  EXPECT_TRUE(s.validEntriesCovered);
  EXPECT_TRUE(s.missingEntriesCovered);
  EXPECT_TRUE(s.bothCovered);
}

TEST(SeriesApplicability, CoverageCountsGroupsWithSomeMethodOfEachKind) {
  struct Case {
    int n, L, r;
    std::vector<int> missing;
    bool valid, missingEntries, both;
  };
  const std::vector<Case> cases = {
      // One group (counts 1, 2, 1 over all columns): PI only; no missing-entry method.
      {5, 3, 2, {1, 3, 5}, true, false, false},
      // One group with an empty column from column 1 to K: a missing-entry
      // method (Sequential-Left) but none for the present entries.
      {4, 2, 1, {2, 3}, false, true, false},
      // Both groups above in one series are not possible; two good groups are.
      {20, 4, 2, {1, 10}, true, true, true},
  };
  for (const Case& c : cases) {
    const SeriesApplicability s = ComputeSeriesApplicability(Trajectory(c.n, c.L, c.missing), c.r);
    EXPECT_EQ(s.validEntriesCovered, c.valid) << c.n;
    EXPECT_EQ(s.missingEntriesCovered, c.missingEntries) << c.n;
    EXPECT_EQ(s.bothCovered, c.both) << c.n;
  }
}

TEST(SeriesApplicability, AnalysisUsesTheFullTrajectory) {
  SsaAnalysis a;
  a.series.Resize(20);
  for (int t = 1; t <= 20; ++t) a.series.value(t) = t;
  a.series.set(1, 0.0, false);
  a.SetWindowLength(4);
  a.BuildTrajectory();
  a.SetThreshold(0);
  a.ApplyThreshold();  // drops column 1, the only incomplete one
  const SeriesApplicability s = a.SeriesApplicability(2);
  EXPECT_EQ(s, ComputeSeriesApplicability(a.trajectory, 2));
  EXPECT_FALSE(s.cnvLeft);
  EXPECT_FALSE(s.sequentialLeft);
}

}  // namespace
}  // namespace vorel
