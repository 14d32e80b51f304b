#include "engine/Reconstructor.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <limits>
#include <vector>

#include "engine/Exceptions.h"


namespace vorel {

namespace {

// Columns per block: at least L, so that the anti-diagonals of blocks two
// apart never meet.
int BlockColumns(int L) { return std::max(L, 128); }

// Runs body(b) for the blocks 0..blocks-1: first the even ones, then the odd
// ones, each half on all cores. An exception is rethrown after every block
// has run, the one of the lowest block, so that the caller sees the failure a
// walk in column order would have met first.
void ForEachBlock(int blocks, const std::function<void(int)>& body) {
  std::exception_ptr failure;
  int failedBlock = std::numeric_limits<int>::max();
  for (int parity = 0; parity < 2; ++parity) {
#pragma omp parallel for schedule(static) if (blocks > 2)
    for (int b = parity; b < blocks; b += 2) {
      try {
        body(b);
      } catch (...) {
#pragma omp critical(vorel_block_failure)
        {
          if (b < failedBlock) {
            failedBlock = b;
            failure = std::current_exception();
          }
        }
      }
    }
  }
  if (failure) std::rethrow_exception(failure);
}

}  // namespace

void Reconstructor::Components(int j0, Vector& p) const {
  const Matrix& U = selectedEigenvectors_.values();
  const int L = trajectory_.rows();
  p.noalias() = U.transpose() * trajectory_.x().segment(j0, L);
  const double m = trajectory_.fullValidCount(j0);
  if (m < L && m > 0) p = p * static_cast<double>(L) / m;
}

Reconstructor::ColumnBlock Reconstructor::LaggedVectors(int first, int count) const {
  // Column k starts one element after column k - 1: a matrix whose columns
  // overlap, read in place.
  return ColumnBlock(trajectory_.x().data() + first, trajectory_.rows(), count,
                     Eigen::OuterStride<>(1));
}

void Reconstructor::ForEachColumnBlock(int first, int last,
                                       const std::function<void(int, int)>& block) const {
  const int count = last - first + 1;
  if (count <= 0 || trajectory_.rows() == 0) return;
  const int B = BlockColumns(trajectory_.rows());
  const int blocks = (count + B - 1) / B;
  ForEachBlock(blocks, [&](int b) {
    const int j0 = first + b * B;
    block(j0, std::min(last, j0 + B - 1));
  });
}

void Reconstructor::AddProjectedSums(int first, int last, Vector& sums) const {
  const int L = trajectory_.rows();
  const Matrix& U = selectedEigenvectors_.values();
  const double rows = static_cast<double>(L);
  ForEachColumnBlock(first, last, [&](int j0, int j1) {
    const int nb = j1 - j0 + 1;
    Matrix P;
    P.noalias() = LaggedVectors(j0, nb).transpose() * U;
    for (int k = 0; k < nb; ++k) {
      const double m = trajectory_.fullValidCount(j0 + k);
      if (m < rows && m > 0) P.row(k) = P.row(k) * rows / m;
    }
    AddAlongAntiDiagonals(U, P, j0, sums);
  });
}

void Reconstructor::AddAlongAntiDiagonals(const Matrix& U, const Matrix& P, int j0,
                                          Vector& sums) {
  // Column by column: U stays in the cache, the L x count product is never
  // formed.
  const Eigen::Index L = U.rows();
  for (Eigen::Index k = 0; k < P.rows(); ++k) {
    sums.segment(j0 + k, L).noalias() += U * P.row(k).transpose();
  }
}

void Reconstructor::AddColumnSums(int first, int last,
                                  const std::function<void(int, Vector&)>& column,
                                  Vector* sums) const {
  const int L = trajectory_.rows();
  // A failure is ranked by its kind (the PI projector's before any other, as a
  // walk that treats the present entries of a group before its missing ones
  // meets it) and then by column; every column still runs, so that the
  // ranking sees them all.
  std::exception_ptr failure;
  long long failedRank = std::numeric_limits<long long>::max();
  ForEachColumnBlock(first, last, [&](int c0, int c1) {
    Vector w(L);
    for (int c = c0; c <= c1; ++c) {
      try {
        column(c, w);
        if (sums != nullptr) sums->segment(c - 1, L) += w;
      } catch (...) {
        std::exception_ptr e = std::current_exception();
        long long kind = 1;
        try {
          std::rethrow_exception(e);
        } catch (const ExceptionProjectorPi&) {
          kind = 0;
        } catch (...) {
        }
        const long long rank = kind * (1LL << 32) + c;
#pragma omp critical(vorel_column_failure)
        {
          if (rank < failedRank) {
            failedRank = rank;
            failure = e;
          }
        }
      }
    }
  });
  if (failure) std::rethrow_exception(failure);
}

void Reconstructor::SetReconstructed(Vector values) const {
  const int k = trajectory_.scaleExponent();
  if (k != 0) {
    for (Eigen::Index t = 0; t < values.size(); ++t) values(t) = std::ldexp(values(t), k);
  }
  reconstructed_.Resize(static_cast<int>(values.size()));
  reconstructed_.values() = std::move(values);
  reconstructed_.SetAllValid(true);
}

void Reconstructor::SumsToMeans(Vector& sums, int L, int K) {
  const Eigen::Index N = static_cast<Eigen::Index>(L) + K - 1;
  const Eigen::Index n = std::min(L, K);
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
}

namespace {

Vector AntiDiagonalMeans(const Matrix& W) {
  const Eigen::Index L = W.rows();
  const Eigen::Index K = W.cols();
  Vector sums = Vector::Zero(L + K - 1);
  for (Eigen::Index j = 0; j < K; ++j) sums.segment(j, L) += W.col(j);
  Reconstructor::SumsToMeans(sums, static_cast<int>(L), static_cast<int>(K));
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
  const int L = trajectory_.rows();
  const int K = trajectory_.fullCols();
  Vector sums = Vector::Zero(trajectory_.seriesLength());
  AddProjectedSums(0, K - 1, sums);
  SumsToMeans(sums, L, K);
  SetReconstructed(std::move(sums));
}

}  // namespace vorel
