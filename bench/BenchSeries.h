#pragma once
// Series for the benchmarks: a few harmonics with noise, 5% of the values
// missing in runs of 1 to 20, the same at every run.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>

#include "engine/SsaAnalysis.h"
#include "engine/SsaPipeline.h"

namespace vorel::bench {

inline MaskedSeries MakeGappySeries(int n, double missingShare = 0.05) {
  std::mt19937 rng(20261209u);
  std::normal_distribution<double> noise(0.0, 0.3);
  MaskedSeries s(n);
  for (int t = 1; t <= n; ++t) {
    s.value(t) = std::sin(2 * M_PI * t / 12.0) + 0.5 * std::cos(2 * M_PI * t / 37.0) +
                 0.001 * t + noise(rng);
  }
  const int target = static_cast<int>(missingShare * n);
  int missing = 0;
  std::uniform_int_distribution<int> start(1, n);
  std::uniform_int_distribution<int> runLength(1, 20);
  while (missing < target) {
    const int from = start(rng);
    const int to = std::min(n, from + runLength(rng) - 1);
    for (int t = from; t <= to && missing < target; ++t) {
      if (s.isValid(t)) {
        s.set(t, 0.0, false);
        ++missing;
      }
    }
  }
  return s;
}

inline int BenchWindowLength(int n) { return std::min(n / 10, 1000); }

// An analysis taken up to the covariance step: the trajectory, the threshold
// that keeps every lagged vector, and the method.
inline void PrepareTrajectory(SsaAnalysis& a, int n, int method) {
  a.series = MakeGappySeries(n);
  const int L = BenchWindowLength(n);
  SsaPipeline(a).windowLength(L).threshold(L).setUp();
  a.covarianceMethod = method;
  a.ApplyThreshold();
}

// An analysis taken up to the decomposition, with the first r eigentriples selected.
inline void PrepareAnalysis(SsaAnalysis& a, int n, int method, int r) {
  a.series = MakeGappySeries(n);
  const int L = BenchWindowLength(n);
  std::vector<unsigned char> flags(static_cast<size_t>(L), 0);
  std::fill(flags.begin(), flags.begin() + r, 1);
  SsaPipeline(a).windowLength(L).threshold(L).covarianceMethod(method).eigentriples(flags).compute();
}

}  // namespace vorel::bench
