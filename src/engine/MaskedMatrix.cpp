#include "engine/MaskedMatrix.h"

#include <cassert>

namespace vorel {

void MaskedMatrix::Resize(int rows, int cols) {
  assert(rows >= 0 && cols >= 0);
  if (rows == this->rows() && cols == this->cols() &&
      static_cast<int>(validCount_.size()) == cols) {
    return;
  }
  // New storage first, then swapped in: Eigen frees the old block before it
  // allocates in place, and a failed allocation would leave it dangling.
  Matrix values = Matrix::Zero(rows, cols);
  FlagMatrix flags = FlagMatrix::Ones(rows, cols);
  std::vector<int> counts(static_cast<size_t>(cols), 0);
  values_.swap(values);
  flags_.swap(flags);
  validCount_.swap(counts);
}

void MaskedMatrix::RecountValid() {
  for (int j = 0; j < cols(); ++j) {
    int count = 0;
    for (int i = 0; i < rows(); ++i) count += flags_(i, j) != 0;
    validCount_[j] = count;
  }
}

MaskedMatrix MaskedMatrix::Transpose() const {
  MaskedMatrix out;
  out.values_ = values_.transpose();
  out.flags_ = flags_.transpose();
  out.validCount_.assign(static_cast<size_t>(rows()), 0);
  return out;
}

MaskedMatrix MaskedMatrix::SelectRows(const MaskedSeries& mask) const {
  assert(mask.length() == rows());
  MaskedMatrix out(mask.CountValid(), cols());
  int k = 0;
  for (int i = 1; i <= rows(); ++i) {
    if (!mask.isValid(i)) continue;
    out.values_.row(k) = values_.row(i - 1);
    out.flags_.row(k) = flags_.row(i - 1);
    ++k;
  }
  return out;
}

MaskedSeries MaskedMatrix::Column(int j) const {
  MaskedSeries out(rows());
  out.values() = values_.col(j - 1);
  out.flags() = flags_.col(j - 1);
  return out;
}

bool MaskedMatrix::AllValid() const { return flags_.size() == 0 || flags_.minCoeff() != 0; }

MaskedMatrix MaskedMatrix::MaskedProduct(const MaskedMatrix& A, const MaskedMatrix& B) {
  assert(A.cols() == B.rows());
  MaskedMatrix C;
  C.values_.noalias() = A.values_ * B.values_;
  C.flags_ = FlagMatrix::Ones(A.rows(), B.cols());
  C.validCount_.assign(static_cast<size_t>(B.cols()), 0);

  const bool aComplete = A.AllValid();
  const bool bComplete = B.AllValid();
  if (aComplete && bComplete) return C;

  const double inner = A.cols();
  // m(i, j): number of k with A(i, k) and B(k, j) both present.
  Matrix counts;
  if (bComplete) {
    counts = A.flags_.cast<double>().rowwise().sum().replicate(1, B.cols());
  } else if (aComplete) {
    counts = B.flags_.cast<double>().colwise().sum().replicate(A.rows(), 1);
  } else {
    counts.noalias() = A.Presence() * B.Presence();
  }
  for (Eigen::Index j = 0; j < C.values_.cols(); ++j) {
    for (Eigen::Index i = 0; i < C.values_.rows(); ++i) {
      const double m = counts(i, j);
      if (m < inner && m > 0) C.values_(i, j) = C.values_(i, j) * inner / m;
    }
  }
  return C;
}

MaskedSeries MaskedMatrix::CompleteFlags() const {
  const bool byColumn = cols() >= rows();
  const int n = byColumn ? cols() : rows();
  MaskedSeries out(n);
  for (int k = 1; k <= n; ++k) {
    const bool complete = byColumn ? flags_.col(k - 1).minCoeff() != 0
                                   : flags_.row(k - 1).minCoeff() != 0;
    out.setValid(k, complete);
  }
  return out;
}

}  // namespace vorel
