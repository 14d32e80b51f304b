#include "engine/EigenStep.h"

#include <Eigen/Eigenvalues>

#include "engine/Exceptions.h"

namespace vorel {

EigenStep::Result EigenStep::DecomposeDescending(const Matrix& symmetric) {
  if (!symmetric.allFinite()) throw ExceptionEigenDecomposition();
  Eigen::SelfAdjointEigenSolver<Matrix> solver(symmetric, Eigen::ComputeEigenvectors);
  if (solver.info() != Eigen::Success) throw ExceptionEigenDecomposition();
  // A finite matrix near the largest double can still give an eigenvalue beyond it.
  if (!solver.eigenvalues().allFinite() || !solver.eigenvectors().allFinite()) {
    throw ExceptionEigenDecomposition();
  }
  Result result{solver.eigenvalues(), solver.eigenvectors()};
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
