#pragma once
// The one entry that runs an analysis in the program's order: window length,
// trajectory, threshold, covariance, decomposition, choice of eigentriples,
// reconstruction. The covariance dialog, the batch tool, the Cadzow loop and
// the benchmarks all run it, so that the order is written once.
//
//   SsaPipeline(analysis).windowLength(24).threshold(2).covarianceMethod(kCovarianceSvd)
//       .eigentriples(flags).reconstruction(kProjection, kCnv, priority).compute();
//
// Failures are the engine's exceptions, raised by the step that meets them,
// with the analysis as that step leaves it.

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "engine/SsaAnalysis.h"

namespace vorel {

class SsaPipeline {
 public:
  explicit SsaPipeline(SsaAnalysis& analysis) : analysis_(analysis) {}

  // --- configuration: nothing runs until a compute call --------------------
  SsaPipeline& windowLength(int L);
  SsaPipeline& threshold(int t);
  SsaPipeline& covarianceMethod(int method);
  // One flag per eigentriple (1 = selected).
  SsaPipeline& eigentriples(std::vector<unsigned char> flags);
  SsaPipeline& reconstruction(int method, int validEntriesMethod,
                              const std::array<int, 5>& missingEntriesPriority);

  // --- steps ----------------------------------------------------------------
  // The checks of the covariance step, in its order: the window length (the
  // Cadzow window length follows it), the memory the analysis needs, the
  // trajectory, the threshold. Raises ExceptionWindowLength,
  // ExceptionNotEnoughMemory, ExceptionThresholdOutOfRange or
  // ExceptionThresholdDeleteAllVectors.
  SsaPipeline& setUp();
  // The rest of the covariance step: the method, the kept columns, the
  // covariance and its decomposition; every selection flag is then cleared.
  SsaPipeline& computeCovariance();
  // The choice of eigentriples: raises ExceptionNoEVSelected.
  SsaPipeline& computeChoice();
  // The reconstruction by the configured method, with the residuals.
  SsaPipeline& computeReconstruction();
  // setUp and computeCovariance, then the choice when eigentriples were
  // given and the reconstruction when it was configured.
  SsaPipeline& compute();

  // One Cadzow iteration on the analysis as it stands: trajectory at its
  // window length, every column kept, covariance, decomposition, the current
  // selection, reconstruction.
  static void CadzowIteration(SsaAnalysis& analysis);

  // --- memory ---------------------------------------------------------------
  // Bytes an analysis of N points at window length L needs at its peak (the
  // series and its results, the L x L matrices and the solver's workspace,
  // the per-core buffers of the covariance and the reconstruction), with the
  // deviations of `iterations` Cadzow iterations.
  static std::uint64_t FootprintBytes(int N, int L, int iterations = 0);
  // ExceptionNotEnoughMemory when that is more than the process may still
  // take (AvailableMemoryBytes); nothing is checked when that is unknown.
  static void CheckMemory(int N, int L, int iterations = 0);
  // The same against a given number of available bytes.
  static void CheckMemory(int N, int L, int iterations, std::optional<std::uint64_t> available);

  // --- accessors --------------------------------------------------------------
  SsaAnalysis& analysis() { return analysis_; }
  const SsaAnalysis& analysis() const { return analysis_; }
  const MaskedSeries& eigenvalues() const { return analysis_.eigenvalues; }
  const MaskedSeries& shares() const { return analysis_.shares; }
  const MaskedSeries& reconstructed() const { return analysis_.reconstructed; }
  const MaskedSeries& residuals() const { return analysis_.residuals; }

 private:
  SsaAnalysis& analysis_;
  std::optional<int> windowLength_;
  std::optional<int> threshold_;
  std::optional<int> covarianceMethod_;
  std::optional<std::vector<unsigned char>> eigentriples_;
  std::optional<int> reconstructionMethod_;
  int validEntriesMethod_ = kCnv;
  std::array<int, 5> missingEntriesPriority_{};
};

}  // namespace vorel
