// Timings of the "<<Projection>>" reconstruction and of one Cadzow iteration
// at N = 1,000, 10,000 and 100,000 with L = N/10 capped at 1,000, 5% of the
// values missing in runs of 1 to 20, the first 3 eigentriples selected.

#include <benchmark/benchmark.h>

#include "BenchSeries.h"
#include "engine/CadzowIterations.h"
#include "engine/MethodApplicability.h"

namespace vorel::bench {
namespace {

void ProjectionSizes(benchmark::internal::Benchmark* b) {
  for (int n : {1000, 10000, 100000}) b->Arg(n);
  b->Unit(benchmark::kMillisecond);
}

// The default choice: CNV first for the present entries, simultaneous first
// for the missing ones.
void BM_ReconstructProjection(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  SsaAnalysis a;
  PrepareAnalysis(a, n, kCovarianceSvd, 3);
  a.reconstructionMethod = kProjection;
  for (auto _ : state) {
    a.Reconstruct();
    benchmark::DoNotOptimize(a.reconstructed.values().data());
  }
}
BENCHMARK(BM_ReconstructProjection)->Apply(ProjectionSizes);

// The sequential methods first (Left, then Right sequential).
void BM_ReconstructProjectionSequential(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  SsaAnalysis a;
  PrepareAnalysis(a, n, kCovarianceSvd, 3);
  a.reconstructionMethod = kProjection;
  a.missingEntriesPriority = {kLeftSequential, kRightSequential, kSimultaneous, kBothSidesToMiddle,
                              kBothSidesAveraging};
  for (auto _ : state) {
    a.Reconstruct();
    benchmark::DoNotOptimize(a.reconstructed.values().data());
  }
}
BENCHMARK(BM_ReconstructProjectionSequential)->Apply(ProjectionSizes);

void BM_SeriesApplicability(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  SsaAnalysis a;
  PrepareAnalysis(a, n, kCovarianceSvd, 3);
  for (auto _ : state) {
    const SeriesApplicability s = a.SeriesApplicability(3);
    benchmark::DoNotOptimize(&s);
  }
}
BENCHMARK(BM_SeriesApplicability)->Apply(ProjectionSizes);

// One Cadzow iteration (at the analysis' window length) with the restore steps.
void BM_CadzowIteration(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  SsaAnalysis a;
  PrepareAnalysis(a, n, kCovarianceSvd, 3);
  a.reconstructionMethod = kProjection;
  a.Reconstruct();
  a.SetCadzowIterations(1);
  NullProgress progress;
  for (auto _ : state) {
    const auto failure = RunCadzowIterations(a, progress, nullptr);
    if (failure) state.SkipWithError(failure->c_str());
    benchmark::DoNotOptimize(a.reconstructed.values().data());
  }
}
BENCHMARK(BM_CadzowIteration)->Apply(ProjectionSizes);

}  // namespace
}  // namespace vorel::bench
