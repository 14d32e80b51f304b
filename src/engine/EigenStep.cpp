#include "engine/EigenStep.h"

#include <lapacke.h>

#include <Eigen/Eigenvalues>

#include "engine/Exceptions.h"

namespace vorel {

namespace {

// dsyevd on the lower triangle: eigenvalues ascending, eigenvectors in the
// columns of the overwritten matrix. False when LAPACK reports a failure.
bool LapackDecompose(const Matrix& symmetric, Vector& values, Matrix& vectors) {
  const lapack_int n = static_cast<lapack_int>(symmetric.rows());
  vectors = symmetric;
  values.resize(n);
  if (n == 0) return true;
  const lapack_int info =
      LAPACKE_dsyevd(LAPACK_COL_MAJOR, 'V', 'L', n, vectors.data(), n, values.data());
  return info == 0;
}

}  // namespace

EigenStep::Result EigenStep::DecomposeDescending(const Matrix& symmetric, Solver solver) {
  if (!symmetric.allFinite()) throw ExceptionEigenDecomposition();
  Result result;
  if (solver == Solver::kLapackDivideAndConquer) {
    if (!LapackDecompose(symmetric, result.values, result.vectors)) {
      throw ExceptionEigenDecomposition();
    }
  } else {
    Eigen::SelfAdjointEigenSolver<Matrix> eigen(symmetric, Eigen::ComputeEigenvectors);
    if (eigen.info() != Eigen::Success) throw ExceptionEigenDecomposition();
    result.values = eigen.eigenvalues();
    result.vectors = eigen.eigenvectors();
  }
  // A finite matrix near the largest double can still give an eigenvalue beyond it.
  if (!result.values.allFinite() || !result.vectors.allFinite()) {
    throw ExceptionEigenDecomposition();
  }
  SortDescending(result.values, result.vectors);
  return result;
}

void EigenStep::SortDescending(Vector& values, Matrix& vectors) {
  const Eigen::Index n = values.size();
  for (Eigen::Index i = 0; i < n; ++i) {
    Eigen::Index best = i;
    for (Eigen::Index k = i + 1; k < n; ++k) {
      if (values(k) > values(best)) best = k;
    }
    if (best != i) {
      std::swap(values(i), values(best));
      vectors.col(i).swap(vectors.col(best));
    }
  }
}

}  // namespace vorel
