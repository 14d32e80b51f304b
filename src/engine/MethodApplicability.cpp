#include "engine/MethodApplicability.h"

#include <algorithm>

namespace vorel {

namespace {

template <class Trajectory>
MethodApplicability GroupApplicabilityOf(const Trajectory& trajectory, int first, int last, int r) {
  MethodApplicability out;
  const int L = trajectory.rows();
  const int K = trajectory.cols();
  last = std::min(last, K);
  first = std::max(first, 1);
  // Complete columns at the start of the range are the neighbour before.
  while (first <= last && trajectory.validCount(first) == L) ++first;
  if (first > last) return out;
  // The group ends before the first complete column after it.
  int end = first;
  while (end < last && trajectory.validCount(end + 1) != L) ++end;
  last = end;

  if (first == 1) out.cnvLeft = false;
  // The first column may miss only its last component, the last column only its first one.
  if (!(trajectory.validCount(first) == L - 1 && !trajectory.isValid(L, first))) {
    out.sequentialLeft = false;
  }

  bool down = false, up = false, flat = false;
  int decRuns = 0, incRuns = 0, flatRuns = 0, flatSteps = 0;
  int minPrev = L;
  for (int j = first; j <= last; ++j) {
    const int q = trajectory.validCount(j);
    if (q < r) out.simultaneous = false;
    if (q == 0) {
      out.principalComponents = false;
      out.piProjector = false;
    }
    if (j > 1) {
      const int p = trajectory.validCount(j - 1);
      if (p > q && !down) {
        ++decRuns;
        down = true;
        up = false;
        flat = false;
      } else if (p < q && !up) {
        ++incRuns;
        up = true;
        down = false;
        flat = false;
      } else if (p == q) {
        if (!flat) {
          ++flatRuns;
          flat = true;
          up = false;
          down = false;
        }
        ++flatSteps;
      }
      minPrev = std::min(minPrev, p);
    }
  }
  // The step up to the complete column after the group.
  if (last < K) {
    const int p = trajectory.validCount(last);
    const int q = trajectory.validCount(last + 1);
    if (p < q && !up) ++incRuns;
  }

  if (!(trajectory.validCount(last) == L - 1 && !trajectory.isValid(1, last))) {
    out.sequentialRight = false;
  }
  if (!(incRuns == 1 && decRuns == 1 && (flatSteps == minPrev || minPrev == 0))) {
    out.cnvBothSides = false;
  }
  if (!out.cnvLeft || !out.cnvRight) out.cnvBothSides = false;
  if (!(decRuns == 0 && incRuns == 1 && (flatRuns == 0 || (flatRuns == 1 && minPrev == 0)))) {
    out.cnvRight = false;
  }
  if (!(incRuns == 0 && decRuns == 1 && (flatRuns == 0 || (flatRuns == 1 && minPrev == 0)))) {
    out.cnvLeft = false;
  }
  out.sequentialBothSides = out.sequentialLeft && out.sequentialRight;
  return out;
}

template <class Trajectory>
SeriesApplicability SeriesApplicabilityOf(const Trajectory& trajectory, int r) {
  SeriesApplicability out;
  const int L = trajectory.rows();
  const int K = trajectory.cols();
  int groups = 0, validGroups = 0, missingGroups = 0;
  int i = 1;
  while (i <= K) {
    if (trajectory.validCount(i) == L) {
      ++i;
      continue;
    }
    int last = i;
    while (last < K && trajectory.validCount(last + 1) != L) ++last;
    const int from = i > 1 ? i - 1 : 1;
    const int to = last < K ? last + 1 : K;
    const MethodApplicability g = GroupApplicabilityOf(trajectory, from, to, r);
    ++groups;
    if (g.piProjector || g.cnvBothSides || g.cnvLeft || g.cnvRight) ++validGroups;
    if (g.simultaneous || g.sequentialLeft || g.sequentialRight) ++missingGroups;
    out.principalComponents = out.principalComponents && g.principalComponents;
    out.piProjector = out.piProjector && g.piProjector;
    out.cnvBothSides = out.cnvBothSides && g.cnvBothSides;
    out.cnvLeft = out.cnvLeft && g.cnvLeft;
    out.cnvRight = out.cnvRight && g.cnvRight;
    out.simultaneous = out.simultaneous && g.simultaneous;
    out.sequentialBothSides = out.sequentialBothSides && g.sequentialBothSides;
    out.sequentialLeft = out.sequentialLeft && g.sequentialLeft;
    out.sequentialRight = out.sequentialRight && g.sequentialRight;
    i = to + 1;
  }
  out.validEntriesCovered = validGroups == groups;
  out.missingEntriesCovered = missingGroups == groups;
  out.bothCovered = 2 * groups == validGroups + missingGroups;
  return out;
}

}  // namespace

MethodApplicability GroupApplicability(const HankelTrajectory& trajectory, int first, int last,
                                       int r) {
  return GroupApplicabilityOf(trajectory, first, last, r);
}

MethodApplicability GroupApplicability(const MaskedMatrix& trajectory, int first, int last, int r) {
  return GroupApplicabilityOf(trajectory, first, last, r);
}

SeriesApplicability ComputeSeriesApplicability(const HankelTrajectory& trajectory, int r) {
  return SeriesApplicabilityOf(trajectory, r);
}

SeriesApplicability ComputeSeriesApplicability(const MaskedMatrix& trajectory, int r) {
  return SeriesApplicabilityOf(trajectory, r);
}

}  // namespace vorel
