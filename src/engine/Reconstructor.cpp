#include "engine/Reconstructor.h"

#include <algorithm>

namespace vorel {

void Reconstructor::ProjectOntoEigenvectors() {
  // P = MaskedProduct(X^T, U): K x r principal components, scaled by L / m(j)
  // for lagged vectors with missing components.
  const MaskedMatrix P =
      MaskedMatrix::MaskedProduct(trajectory_.Transpose(), selectedEigenvectors_);
  work_.Resize(trajectory_.rows(), trajectory_.cols());
  work_.values().noalias() = selectedEigenvectors_.values() * P.values().transpose();
}

void Reconstructor::Hankelize(MaskedMatrix& m) {
  const int L = m.rows();
  const int K = m.cols();
  if (L == 0 || K == 0) return;
  const int N = L + K - 1;
  const int n = std::min(L, K);
  Matrix& W = m.values();

  Vector sums = Vector::Zero(N);
  for (int j = 0; j < K; ++j) {
    for (int i = 0; i < L; ++i) sums(i + j) += W(i, j);
  }
  // The first n and the last n anti-diagonals divide by their element count,
  // the middle ones (n elements each) multiply by 1/n.
  const double reciprocal = 1.0 / n;
  Vector means(N);
  for (int s = 1; s <= N; ++s) {
    if (s <= n) {
      means(s - 1) = sums(s - 1) / s;
    } else if (s > N - n) {
      means(s - 1) = sums(s - 1) / (N - s + 1);
    } else {
      means(s - 1) = sums(s - 1) * reciprocal;
    }
  }
  for (int j = 0; j < K; ++j) {
    for (int i = 0; i < L; ++i) W(i, j) = means(i + j);
  }
}

void Reconstructor::ToSeries(const MaskedMatrix& m, MaskedSeries& out) {
  const int L = m.rows();
  const int K = m.cols();
  out.Resize(L + K - 1);
  for (int t = 1; t <= L; ++t) out.value(t) = m.value(t, 1);
  for (int j = 2; j <= K; ++j) out.value(L + j - 1) = m.value(L, j);
}

void PcReconstructor::Reconstruct() {
  ProjectOntoEigenvectors();
  Hankelize(work_);
  ToSeries(work_, reconstructed_);
  reconstructed_.SetAllValid(true);
}

}  // namespace vorel
