#include "engine/reference/DenseReconstructor.h"

#include <algorithm>

namespace vorel::reference {

void Reconstructor::ProjectOntoEigenvectors() {
  // P = X^T U, K x r: the principal components of every lagged vector from its
  // present components (missing ones hold 0), scaled by L / m(j) when lagged
  // vector j has m(j) < L present components (and none when m(j) = 0). This
  // is MaskedProduct(X^T, U) with U complete, without copying X.
  const Matrix& X = trajectory_.values();
  const Matrix& U = selectedEigenvectors_.values();
  const double L = static_cast<double>(X.rows());
  Matrix P;
  P.noalias() = X.transpose() * U;
  const FlagMatrix& flags = trajectory_.flags();
  for (Eigen::Index j = 0; j < X.cols(); ++j) {
    const double m = flags.col(j).cast<double>().sum();
    if (m < L && m > 0) P.row(j) = P.row(j) * L / m;
  }
  work_.Resize(trajectory_.rows(), trajectory_.cols());
  work_.values().noalias() = U * P.transpose();
}

namespace {

// Means of the anti-diagonals s = 1..L+K-1 of W. The first n = min(L, K) and
// the last n divide their sum by their element count, the middle ones (n
// elements each) multiply it by 1/n computed once.
Vector AntiDiagonalMeans(const Matrix& W) {
  const Eigen::Index L = W.rows();
  const Eigen::Index K = W.cols();
  const Eigen::Index N = L + K - 1;
  const Eigen::Index n = std::min(L, K);
  Vector sums = Vector::Zero(N);
  for (Eigen::Index j = 0; j < K; ++j) sums.segment(j, L) += W.col(j);
  const double reciprocal = 1.0 / static_cast<double>(n);
  for (Eigen::Index s = 1; s <= N; ++s) {
    if (s <= n) {
      sums(s - 1) = sums(s - 1) / static_cast<double>(s);
    } else if (s > N - n) {
      sums(s - 1) = sums(s - 1) / static_cast<double>(N - s + 1);
    } else {
      sums(s - 1) = sums(s - 1) * reciprocal;
    }
  }
  return sums;
}

}  // namespace

void Reconstructor::Hankelize(MaskedMatrix& m) {
  if (m.rows() == 0 || m.cols() == 0) return;
  Matrix& W = m.values();
  const Vector means = AntiDiagonalMeans(W);
  for (Eigen::Index j = 0; j < W.cols(); ++j) W.col(j) = means.segment(j, W.rows());
}

void Reconstructor::ToSeries(const MaskedMatrix& m, MaskedSeries& out) {
  const int L = m.rows();
  const int K = m.cols();
  out.Resize(L + K - 1);
  for (int t = 1; t <= L; ++t) out.value(t) = m.value(t, 1);
  for (int j = 2; j <= K; ++j) out.value(L + j - 1) = m.value(L, j);
}

void Reconstructor::AverageToSeries(const MaskedMatrix& m, MaskedSeries& out) {
  out.Resize(m.rows() + m.cols() - 1);
  if (m.rows() == 0 || m.cols() == 0) return;
  out.values() = AntiDiagonalMeans(m.values());
}

void PcReconstructor::Reconstruct() {
  ProjectOntoEigenvectors();
  AverageToSeries(work_, reconstructed_);
  reconstructed_.SetAllValid(true);
}

}  // namespace vorel::reference
