#include "engine/CadzowIterations.h"

#include <algorithm>
#include <functional>

#include "engine/AbstractException.h"
#include "engine/SsaPipeline.h"

namespace vorel {

namespace {

// Deviations of reconstructed from comparison, the positions split by the
// flags of source; reconstructed ends with every flag present. A comparison
// shorter than the reconstruction gives no deviation (both 0).
Deviations DeviationsBySourceFlags(MaskedSeries& reconstructed, const MaskedSeries& source,
                                   const MaskedSeries& comparison) {
  const int n = reconstructed.length();
  if (comparison.length() < n) return {};
  for (int t = 1; t <= n; ++t) reconstructed.setValid(t, t > source.length() || source.isValid(t));
  const Deviations d = SsaAnalysis::ComputeDeviations(reconstructed, comparison);
  reconstructed.SetAllValid(true);
  return d;
}

void ZeroDeviations(SsaAnalysis& analysis, int n) {
  analysis.cadzowDeviationValid.Resize(n);
  analysis.cadzowDeviationMissing.Resize(n);
  analysis.cadzowDeviationValid.values().setZero();
  analysis.cadzowDeviationMissing.values().setZero();
}

}  // namespace

std::optional<std::string> RunCadzowIterations(SsaAnalysis& analysis, ProgressSink& progress,
                                               const MaskedSeries* comparison) {
  const int n = analysis.cadzowIterations();
  const int L = analysis.windowLength();
  const int Lc = analysis.cadzowWindowLength();
  const int k = analysis.SelectedCount();

  // An analysis that cannot fit is refused before anything changes.
  try {
    SsaPipeline::CheckMemory(analysis.length(), Lc, n);
  } catch (const AbstractException& e) {
    return e.message();
  }

  progress.begin(0, n);
  progress.show();

  const MaskedSeries savedSeries = analysis.series;
  const MaskedMatrix savedEigenvectors = analysis.eigenvectors;
  const MaskedSeries savedEigenvalues = analysis.eigenvalues;

  std::optional<std::string> failure;
  // Runs one step of the restore; a failure there is reported (when nothing
  // failed before) but does not stop the other steps.
  auto guarded = [&failure](const std::function<void()>& step) {
    try {
      step();
    } catch (const AbstractException& e) {
      if (!failure) failure = e.message();
    }
  };
  auto restore = [&] {
    analysis.series = savedSeries;
    guarded([&] {
      analysis.SetWindowLength(L);
      analysis.SetCadzowWindowLength(Lc);
    });
    analysis.eigenvectors = savedEigenvectors;
    analysis.eigenvalues = savedEigenvalues;
    guarded([&] {
      analysis.BuildTrajectory();
      analysis.SelectEigentriples();
    });
    if (analysis.reconstructed.length() == analysis.series.length()) analysis.ComputeResiduals();
    progress.hide();
  };

  analysis.series = analysis.reconstructed;
  ZeroDeviations(analysis, n);
  try {
    // The window length is set inside the guard so that a refused value still
    // puts the series back.
    analysis.SetWindowLength(Lc);
    analysis.eigenvalues.Resize(Lc);
    analysis.eigenvalues.SetAllValid(false);
    for (int i = 1; i <= std::min(k, Lc); ++i) analysis.eigenvalues.setValid(i, true);

    for (int j = 1; j <= n; ++j) {
      SsaPipeline::CadzowIteration(analysis);
      progress.step();
      if (comparison != nullptr) {
        const Deviations d =
            DeviationsBySourceFlags(analysis.reconstructed, savedSeries, *comparison);
        analysis.cadzowDeviationValid.value(j) = d.valid;
        analysis.cadzowDeviationMissing.value(j) = d.missing;
      }
      analysis.series.values() = analysis.reconstructed.values();
    }
  } catch (const AbstractException& e) {
    failure = e.message();
  } catch (...) {
    restore();
    throw;
  }
  restore();
  return failure;
}

void CompareReconstruction(SsaAnalysis& analysis, const MaskedSeries& comparison) {
  ZeroDeviations(analysis, 1);
  const Deviations d = DeviationsBySourceFlags(analysis.reconstructed, analysis.series, comparison);
  analysis.cadzowDeviationValid.value(1) = d.valid;
  analysis.cadzowDeviationMissing.value(1) = d.missing;
}

}  // namespace vorel
