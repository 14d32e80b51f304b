#pragma once
// Cadzow iterations and the comparison of the reconstruction with a reference
// series.

#include <optional>
#include <string>

#include "engine/MaskedSeries.h"
#include "engine/ProgressSink.h"
#include "engine/SsaAnalysis.h"

namespace vorel {

// Repeats trajectory, covariance (no threshold: keptTrajectory := trajectory),
// decomposition, selection of the k leading eigentriples (k as many as are
// selected on entry) and reconstruction cadzowIterations() times at the Cadzow
// window length, each time on the previous result. With a comparison series
// (of the series' length) the deviations of every iteration are stored in
// cadzowDeviationValid / cadzowDeviationMissing (positions split by the
// source series' flags); otherwise they are all 0.
//
// Afterwards series, the window length (the Cadzow window length keeps its
// value), eigenvalues with the selection and eigenvectors are as before,
// trajectory and selectedEigenvectors are rebuilt from them, reconstructed
// holds the last iteration's result and residuals are series - reconstructed.
//
// An engine failure stops the iterations (the restore still runs) and its
// message is returned for the caller to show; nullopt when all went through.
// Iterations whose memory cannot fit (SsaPipeline::CheckMemory) are refused
// with its message before anything changes or progress is shown.
// progress gets begin(0, n) and show() first, one step() per iteration and
// hide() last.
std::optional<std::string> RunCadzowIterations(SsaAnalysis& analysis, ProgressSink& progress,
                                               const MaskedSeries* comparison);

// The comparison of the current reconstruction with comparison: both deviation
// series become length 1 and hold the total deviation and the deviation for
// missing values, the positions split by the flags of series. reconstructed
// keeps its values and ends with all flags present. O(N).
void CompareReconstruction(SsaAnalysis& analysis, const MaskedSeries& comparison);

}  // namespace vorel
