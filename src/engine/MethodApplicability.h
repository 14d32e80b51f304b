#pragma once
// Which filling methods can be applied to a group of incomplete lagged vectors
// and to the whole series.

#include "engine/HankelTrajectory.h"
#include "engine/MaskedMatrix.h"

namespace vorel {

// One flag per method: true when the method can be applied.
struct MethodApplicability {
  bool principalComponents = true;  // "<<Principal components>>" (whole reconstruction)
  bool piProjector = true;          // present entries
  bool cnvBothSides = true;         // present entries
  bool cnvLeft = true;              // present entries
  bool cnvRight = true;             // present entries
  bool simultaneous = true;         // missing entries
  bool sequentialBothSides = true;  // missing entries
  bool sequentialLeft = true;       // missing entries
  bool sequentialRight = true;      // missing entries

  bool operator==(const MethodApplicability&) const = default;
};

// The flags of every group ANDed together, and whether every group has some
// method for its present entries, for its missing entries, and for both.
struct SeriesApplicability : MethodApplicability {
  bool validEntriesCovered = true;
  bool missingEntriesCovered = true;
  bool bothCovered = true;

  bool operator==(const SeriesApplicability&) const = default;
};

// Applicability for the group of incomplete columns of trajectory found in
// first..last (1-based): complete columns at the start of the range are
// skipped and the group ends before the first complete column after it, so
// the range may include the complete neighbours. r is the number of selected
// eigentriples. Reads only the column counts and the flags of the group's
// first and last columns: O(group size). With no incomplete column in the
// range every flag is true.
MethodApplicability GroupApplicability(const HankelTrajectory& trajectory, int first, int last,
                                       int r);
// The same over a stored trajectory matrix (the dense reference of the tests).
MethodApplicability GroupApplicability(const MaskedMatrix& trajectory, int first, int last, int r);

// Applicability for every group of the (full, not thresholded) trajectory.
// O(K) beside the counts.
SeriesApplicability ComputeSeriesApplicability(const HankelTrajectory& trajectory, int r);
SeriesApplicability ComputeSeriesApplicability(const MaskedMatrix& trajectory, int r);

}  // namespace vorel
