// Timings of the engine's main steps at N = 1,000, 10,000 and 100,000 with
// L = N/10 capped at 1,000, beside a plain Eigen product of the trajectory's
// shape as the yardstick.

#include <benchmark/benchmark.h>

#include <vector>

#include "BenchSeries.h"
#include "engine/EigenStep.h"

namespace vorel::bench {
namespace {

void Sizes(benchmark::internal::Benchmark* b) {
  for (int n : {1000, 10000, 100000}) b->Arg(n);
  b->Unit(benchmark::kMillisecond);
}

// The yardstick: X X^T for an L x K matrix, as one dense Eigen product.
void BM_YardstickProduct(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const int L = BenchWindowLength(n);
  const Matrix X = Matrix::Random(L, n - L + 1);
  Matrix S(L, L);
  for (auto _ : state) {
    S.noalias() = X * X.transpose();
    benchmark::DoNotOptimize(S.data());
  }
}
BENCHMARK(BM_YardstickProduct)->Apply(Sizes);

// The "<<SVD>>" covariance as the first engine computed it, side by side with
// BM_BuildCovariance/Svd: the stored L x K' kept trajectory, one symmetric rank
// update over it, and the co-missing counts gathered column by column.
Matrix DenseSvdCovariance(const Matrix& X, const FlagMatrix& flags) {
  const Eigen::Index L = X.rows();
  const double kept = static_cast<double>(X.cols());
  Matrix S = Matrix::Zero(L, L);
  S.selfadjointView<Eigen::Lower>().rankUpdate(X);
  std::vector<int> missingRows;
  std::vector<double> z(static_cast<size_t>(L), 0.0);
  Matrix both = Matrix::Zero(L, L);
  for (Eigen::Index k = 0; k < flags.cols(); ++k) {
    missingRows.clear();
    for (Eigen::Index i = 0; i < L; ++i) {
      if (!flags(i, k)) missingRows.push_back(static_cast<int>(i));
    }
    for (size_t a = 0; a < missingRows.size(); ++a) {
      z[missingRows[a]] += 1.0;
      for (size_t b = 0; b <= a; ++b) both(missingRows[a], missingRows[b]) += 1.0;
    }
  }
  for (Eigen::Index j = 0; j < L; ++j) {
    for (Eigen::Index i = j; i < L; ++i) {
      const double m = kept - z[i] - z[j] + both(i, j);
      if (m < kept && m > 0) S(i, j) = S(i, j) * kept / m;
    }
  }
  S.triangularView<Eigen::StrictlyUpper>() = S.transpose();
  return S;
}

void BM_SvdCovarianceDense(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  SsaAnalysis a;
  PrepareTrajectory(a, n, kCovarianceSvd);
  const HankelTrajectory& kept = a.keptTrajectory;
  Matrix X(kept.rows(), kept.cols());
  FlagMatrix flags(kept.rows(), kept.cols());
  for (int j = 1; j <= kept.cols(); ++j) {
    for (int i = 1; i <= kept.rows(); ++i) {
      X(i - 1, j - 1) = kept.value(i, j);
      flags(i - 1, j - 1) = kept.isValid(i, j) ? 1 : 0;
    }
  }
  for (auto _ : state) {
    const Matrix S = DenseSvdCovariance(X, flags);
    benchmark::DoNotOptimize(S.data());
  }
}
BENCHMARK(BM_SvdCovarianceDense)->Apply(Sizes);

void BM_BuildCovariance(benchmark::State& state, int method) {
  const int n = static_cast<int>(state.range(0));
  SsaAnalysis a;
  PrepareTrajectory(a, n, method);
  for (auto _ : state) {
    a.BuildCovariance();
    benchmark::DoNotOptimize(a.covariance.data());
  }
}
BENCHMARK_CAPTURE(BM_BuildCovariance, Svd, kCovarianceSvd)->Apply(Sizes);
BENCHMARK_CAPTURE(BM_BuildCovariance, Toeplitz, kCovarianceToeplitz)->Apply(Sizes);

void BM_Decompose(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  SsaAnalysis a;
  PrepareAnalysis(a, n, kCovarianceSvd, 3);
  for (auto _ : state) {
    a.Decompose();
    benchmark::DoNotOptimize(a.eigenvalues.values().data());
  }
}
BENCHMARK(BM_Decompose)->Apply(Sizes);

// The two symmetric eigen-solvers side by side on the same covariance matrix.
void BM_EigenSolver(benchmark::State& state, EigenStep::Solver solver) {
  const int n = static_cast<int>(state.range(0));
  SsaAnalysis a;
  PrepareTrajectory(a, n, kCovarianceSvd);
  a.BuildCovariance();
  for (auto _ : state) {
    EigenStep::Result r = EigenStep::DecomposeDescending(a.covariance, solver);
    benchmark::DoNotOptimize(r.values.data());
  }
}
BENCHMARK_CAPTURE(BM_EigenSolver, LapackDsyevd, EigenStep::Solver::kLapackDivideAndConquer)
    ->Apply(Sizes);
BENCHMARK_CAPTURE(BM_EigenSolver, EigenSelfAdjoint, EigenStep::Solver::kEigenSelfAdjoint)
    ->Apply(Sizes);

void BM_ReconstructPc(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  SsaAnalysis a;
  PrepareAnalysis(a, n, kCovarianceSvd, 3);
  a.reconstructionMethod = kPrincipalComponents;
  for (auto _ : state) {
    a.Reconstruct();
    benchmark::DoNotOptimize(a.reconstructed.values().data());
  }
}
BENCHMARK(BM_ReconstructPc)->Apply(Sizes);

}  // namespace
}  // namespace vorel::bench
