#pragma once

#include <vector>

#include "engine/EigenTypes.h"
#include "engine/MaskedSeries.h"

namespace vorel {

// A matrix with one present/missing flag per element and a present count per
// column. Accessors are 1-based: element (i, j) is row i, column j. The counts
// are kept only by the operations that say so (RecountValid, and the builders
// of the engine).
class MaskedMatrix {
 public:
  MaskedMatrix() = default;
  MaskedMatrix(int rows, int cols) { Resize(rows, cols); }

  int rows() const { return static_cast<int>(values_.rows()); }
  int cols() const { return static_cast<int>(values_.cols()); }

  // Same shape: nothing happens. Otherwise values 0, all flags 1, counts 0.
  void Resize(int rows, int cols);
  void Assign(const MaskedMatrix& other) { *this = other; }

  double value(int i, int j) const { return values_(i - 1, j - 1); }
  double& value(int i, int j) { return values_(i - 1, j - 1); }
  bool isValid(int i, int j) const { return flags_(i - 1, j - 1) != 0; }
  void setValid(int i, int j, bool valid) { flags_(i - 1, j - 1) = valid ? 1 : 0; }
  void set(int i, int j, double v, bool valid) {
    values_(i - 1, j - 1) = v;
    flags_(i - 1, j - 1) = valid ? 1 : 0;
  }
  int validCount(int j) const { return validCount_[j - 1]; }
  void setValidCount(int j, int count) { validCount_[j - 1] = count; }

  // validCount(j) := rows minus the missing flags of column j. O(rows * cols).
  void RecountValid();
  // Transposed values and flags; counts 0.
  MaskedMatrix Transpose() const;
  // The rows i with mask(i) present, in order, with their flags; counts 0.
  MaskedMatrix SelectRows(const MaskedSeries& mask) const;
  // Column j as a series of length rows, with its flags.
  MaskedSeries Column(int j) const;
  // C = A B; where some pair A(i,k), B(k,j) had a missing member and m > 0 pairs
  // were present, C(i,j) is scaled by A.cols / m. All flags of C are 1.
  // Costs one dense product, plus one product of the 0/1 presence matrices when
  // both factors have missing elements.
  static MaskedMatrix MaskedProduct(const MaskedMatrix& A, const MaskedMatrix& B);
  // For each column (cols >= rows) or each row (cols < rows): 1 when all its
  // elements are present. Values are 0.
  MaskedSeries CompleteFlags() const;
  // True when no element is missing.
  bool AllValid() const;

  // 0-based storage, for bulk work.
  const Matrix& values() const { return values_; }
  Matrix& values() { return values_; }
  const FlagMatrix& flags() const { return flags_; }
  FlagMatrix& flags() { return flags_; }
  // The flags as a 0/1 matrix of doubles, for counting products.
  Matrix Presence() const { return flags_.cast<double>(); }

 private:
  Matrix values_;
  FlagMatrix flags_;
  std::vector<int> validCount_;
};

}  // namespace vorel
