#pragma once

#include "engine/EigenTypes.h"

namespace vorel {

// The eigen-decomposition of a symmetric matrix, in decreasing order.
class EigenStep {
 public:
  struct Result {
    Vector values;   // decreasing
    Matrix vectors;  // column i belongs to values(i)
  };
  // The solvers measured side by side in the benchmarks: LAPACK's
  // divide-and-conquer dsyevd (through LAPACKE, on OpenBLAS, which uses both
  // cores) and Eigen's SelfAdjointEigenSolver (tridiagonal QR, one core).
  enum class Solver { kLapackDivideAndConquer, kEigenSelfAdjoint };
  // The solver the analysis uses: the faster of the two at the window
  // lengths that matter.
  static constexpr Solver kDefaultSolver = Solver::kLapackDivideAndConquer;

  // The solver's eigenvalues and eigenvectors, then a selection sort to
  // decreasing order that moves the eigenvector columns alike (position i
  // takes the first of the largest remaining values). Raises
  // ExceptionEigenDecomposition when the matrix is not finite or the solver
  // fails. O(L^3).
  static Result DecomposeDescending(const Matrix& symmetric, Solver solver = kDefaultSolver);
  // The selection sort alone, exposed for its tie rule.
  static void SortDescending(Vector& values, Matrix& vectors);
};

}  // namespace vorel
