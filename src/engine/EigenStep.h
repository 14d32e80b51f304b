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
  // Eigen's SelfAdjointEigenSolver, then a selection sort to decreasing order
  // that moves the eigenvector columns alike (position i takes the first of the
  // largest remaining values). Raises ExceptionEigenDecomposition when the
  // matrix is not finite or the solver fails. O(L^3).
  static Result DecomposeDescending(const Matrix& symmetric);
  // The selection sort alone, exposed for its tie rule.
  static void SortDescending(Vector& values, Matrix& vectors);
};

}  // namespace vorel
