#include "engine/SsaPipeline.h"

#include <algorithm>
#include <limits>
#include <utility>

#include "engine/Exceptions.h"
#include "engine/MemoryBudget.h"

namespace vorel {

SsaPipeline& SsaPipeline::windowLength(int L) {
  windowLength_ = L;
  return *this;
}

SsaPipeline& SsaPipeline::threshold(int t) {
  threshold_ = t;
  return *this;
}

SsaPipeline& SsaPipeline::covarianceMethod(int method) {
  covarianceMethod_ = method;
  return *this;
}

SsaPipeline& SsaPipeline::eigentriples(std::vector<unsigned char> flags) {
  eigentriples_ = std::move(flags);
  return *this;
}

SsaPipeline& SsaPipeline::reconstruction(int method, int validEntriesMethod,
                                         const std::array<int, 5>& missingEntriesPriority) {
  reconstructionMethod_ = method;
  validEntriesMethod_ = validEntriesMethod;
  missingEntriesPriority_ = missingEntriesPriority;
  return *this;
}

SsaPipeline& SsaPipeline::setUp() {
  SsaAnalysis& a = analysis_;
  a.SetWindowLength(windowLength_.value_or(a.windowLength()));
  a.SetCadzowWindowLength(a.windowLength());
  CheckMemory(a.length(), a.windowLength());
  a.BuildTrajectory();
  a.SetThreshold(threshold_.value_or(a.threshold()));
  return *this;
}

SsaPipeline& SsaPipeline::computeCovariance() {
  SsaAnalysis& a = analysis_;
  if (covarianceMethod_) a.covarianceMethod = *covarianceMethod_;
  a.ApplyThreshold();
  a.BuildCovariance();
  a.Decompose();
  a.eigenvalues.SetAllValid(false);
  return *this;
}

SsaPipeline& SsaPipeline::computeChoice() {
  if (eigentriples_) {
    analysis_.SelectEigentriples(*eigentriples_);
  } else {
    analysis_.SelectEigentriples();
  }
  return *this;
}

SsaPipeline& SsaPipeline::computeReconstruction() {
  SsaAnalysis& a = analysis_;
  if (reconstructionMethod_) {
    a.reconstructionMethod = *reconstructionMethod_;
    a.validEntriesMethod = validEntriesMethod_;
    a.missingEntriesPriority = missingEntriesPriority_;
  }
  a.Reconstruct();
  return *this;
}

SsaPipeline& SsaPipeline::compute() {
  setUp();
  computeCovariance();
  if (eigentriples_) computeChoice();
  if (reconstructionMethod_) computeReconstruction();
  return *this;
}

void SsaPipeline::CadzowIteration(SsaAnalysis& a) {
  a.BuildTrajectory();
  a.keptTrajectory = a.trajectory;
  a.BuildCovariance();
  a.Decompose();
  a.SelectEigentriples();
  a.Reconstruct();
}

std::uint64_t SsaPipeline::FootprintBytes(int N, int L, int iterations) {
  const double n = std::max(N, 1);
  const double l = std::max(L, 2);
  const double block = std::max(l, 128.0);
  const double cores = 2.0;
  // Series, view, results, Cadzow copies, a comparison series and the
  // presence of the covariance's pair counts: about a dozen vectors of N
  // doubles with their flags. The L x L covariance, eigenvectors, the solver's
  // copy and workspace. Per core: two L x block matrices of the reconstruction
  // (an upper bound on its blocks of coefficients and of lagged vectors).
  const double bytes = 136.0 * n + 64.0 * l * l + cores * 16.0 * l * block +
                       18.0 * std::max(iterations, 0);
  // Beyond what 64 bits count, the estimate saturates.
  constexpr double kMost = 18446744073709549568.0;  // the largest double below 2^64
  return bytes >= kMost ? std::numeric_limits<std::uint64_t>::max()
                        : static_cast<std::uint64_t>(bytes);
}

void SsaPipeline::CheckMemory(int N, int L, int iterations) {
  CheckMemory(N, L, iterations, AvailableMemoryBytes());
}

void SsaPipeline::CheckMemory(int N, int L, int iterations,
                              std::optional<std::uint64_t> available) {
  if (available && FootprintBytes(N, L, iterations) > *available) {
    throw ExceptionNotEnoughMemory(N, L, iterations);
  }
}

}  // namespace vorel
