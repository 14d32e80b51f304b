#pragma once
// The plain dense reconstruction of the first engine, kept as the reference the
// Hankel-structured reconstruction is checked against: it stores the L x K
// working matrix W = U (X^T U)^T and averages its anti-diagonals.

#include "engine/MaskedMatrix.h"
#include "engine/MaskedSeries.h"
#include "engine/Reconstructor.h"

namespace vorel::reference {

// Turns the trajectory and the selected eigenvectors into the reconstructed
// series (length N, all flags present).
class Reconstructor {
 public:
  Reconstructor(const MaskedSeries& series, const MaskedMatrix& trajectory,
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
  // Hankelize followed by ToSeries, without writing the means back into m:
  // the same series for half the memory traffic.
  static void AverageToSeries(const MaskedMatrix& m, MaskedSeries& out);

 protected:
  // W := U (X^T U)^T with the principal components of incomplete lagged
  // vectors scaled by L / m(j). Two dense products of K L r each.
  void ProjectOntoEigenvectors();

  const MaskedSeries& series_;
  const MaskedMatrix& trajectory_;
  const MaskedMatrix& selectedEigenvectors_;
  MaskedSeries& reconstructed_;
  MaskedMatrix work_;  // W, L x K
};

// "<<Principal components>>": the selected principal components of every
// lagged vector from its present components, diagonal-averaged.
class PcReconstructor : public Reconstructor {
 public:
  using Reconstructor::Reconstructor;
  void Reconstruct() override;
  int type() const override { return kPrincipalComponents; }
};

}  // namespace vorel::reference
