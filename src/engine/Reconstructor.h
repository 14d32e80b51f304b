#pragma once

#include <functional>

#include "engine/HankelTrajectory.h"
#include "engine/MaskedMatrix.h"
#include "engine/MaskedSeries.h"

namespace vorel {

// Codes of the reconstruction methods, as stored in SsaAnalysis::reconstructionMethod.
enum ReconstructionMethod : int { kPrincipalComponents = 0, kProjection = 1 };

// Turns the trajectory and the selected eigenvectors into the reconstructed
// series (length N, all flags present). The trajectory is the view of the full
// series; the rebuilt L x K matrix is never stored: the anti-diagonal sums of
// its columns are gathered block by block.
class Reconstructor {
 public:
  Reconstructor(const MaskedSeries& series, const HankelTrajectory& trajectory,
                const MaskedMatrix& selectedEigenvectors, MaskedSeries& reconstructed)
      : series_(series),
        trajectory_(trajectory),
        selectedEigenvectors_(selectedEigenvectors),
        reconstructed_(reconstructed) {}
  virtual ~Reconstructor() = default;
  virtual void Reconstruct() = 0;
  virtual int type() const = 0;

  // Diagonal averaging in place: every anti-diagonal i + j = const becomes the
  // mean of its elements. Flags are not changed. O(rows * cols).
  static void Hankelize(MaskedMatrix& m);
  // Reads the series of length rows + cols - 1 off a Hankel matrix: the first
  // column, then the last row. Flags of out are left to the caller.
  static void ToSeries(const MaskedMatrix& m, MaskedSeries& out);
  // Hankelize followed by ToSeries, without writing the means back into m.
  static void AverageToSeries(const MaskedMatrix& m, MaskedSeries& out);
  // Turns the sums of the N = L + K - 1 anti-diagonals of an L x K matrix into
  // their means: the first and last min(L, K) divide by their element count,
  // the middle ones multiply by 1/min(L, K) computed once.
  static void SumsToMeans(Vector& sums, int L, int K);
  // reconstructed := values times 2^k (the trajectory's scale exponent), all
  // flags present.
  void SetReconstructed(Vector values) const;

 protected:
  // The principal components of full column j0 (0-based) of the trajectory:
  // U^T x_j over its present components, scaled by L / m when m < L of them
  // are present (none when m = 0). O(L r).
  void Components(int j0, Vector& p) const;
  // Adds to sums (length N) the anti-diagonal sums of the columns first..last
  // (0-based, inclusive) of U (X^T U)^T: blocks of lagged vectors are read in
  // place from the series, projected by one dense product and added along
  // their anti-diagonals. O(L r) per column; blocks that share no
  // anti-diagonal run on both cores, in an order that does not depend on the
  // number of threads.
  void AddProjectedSums(int first, int last, Vector& sums) const;
  // The lagged vectors first..first + count - 1 (0-based full columns) as an
  // L x count matrix over the series itself, missing elements 0, nothing
  // copied.
  using ColumnBlock = Eigen::Map<const Matrix, Eigen::Unaligned, Eigen::OuterStride<>>;
  ColumnBlock LaggedVectors(int first, int count) const;
  // Runs block(j0, j1) for consecutive blocks of the columns first..last
  // (inclusive, in the caller's numbering) of at least L columns each, blocks
  // that share no anti-diagonal on both cores. An exception is rethrown after
  // all blocks ended, the one of the lowest block.
  void ForEachColumnBlock(int first, int last, const std::function<void(int, int)>& block) const;
  // sums(j0 + k + i) += (U P^T)(i, k): the anti-diagonal sums of a block of
  // repaired lagged vectors whose coefficients on U are the rows of P.
  static void AddAlongAntiDiagonals(const Matrix& U, const Matrix& P, int j0, Vector& sums);
  // Runs column(c, w) for every column c = first..last (1-based) and, with
  // sums, adds the column w (length L) it leaves along its anti-diagonal;
  // columns in blocks as above. column may throw an AbstractException: after
  // all blocks ended, the PI projector's failure of the lowest column is
  // raised, else the other failure of the lowest column.
  void AddColumnSums(int first, int last, const std::function<void(int, Vector&)>& column,
                     Vector* sums) const;

  const MaskedSeries& series_;
  const HankelTrajectory& trajectory_;
  const MaskedMatrix& selectedEigenvectors_;
  MaskedSeries& reconstructed_;
};

// "<<Principal components>>": the selected principal components of every
// lagged vector from its present components, diagonal-averaged. The
// components are correlations of the series with the eigenvectors and the
// averaging a convolution, both taken as blocked products. O(N L r) time,
// O(N + L r + L^2) memory.
class PcReconstructor : public Reconstructor {
 public:
  using Reconstructor::Reconstructor;
  void Reconstruct() override;
  int type() const override { return kPrincipalComponents; }
};

}  // namespace vorel
