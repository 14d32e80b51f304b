#pragma once

#include <array>

#include "engine/MethodApplicability.h"
#include "engine/reference/DenseReconstructor.h"

namespace vorel::reference {

// "<<Projection>>": complete lagged vectors projected onto the selected
// eigenvectors, incomplete ones repaired group by group. For each group of
// incomplete columns one method sets the present entries (CNV or the PI
// projector, validEntriesMethod tried first) and the first applicable method
// of missingEntriesPriority fills the missing entries; the repaired matrix is
// then diagonal-averaged into the series.
class ProjectionReconstructor : public Reconstructor {
 public:
  ProjectionReconstructor(const MaskedSeries& series, const MaskedMatrix& trajectory,
                          const MaskedMatrix& selectedEigenvectors, MaskedSeries& reconstructed,
                          const int& validEntriesMethod,
                          const std::array<int, 5>& missingEntriesPriority)
      : Reconstructor(series, trajectory, selectedEigenvectors, reconstructed),
        validEntriesMethod_(validEntriesMethod),
        missingEntriesPriority_(missingEntriesPriority) {}

  // Fills reconstructed (length N, all flags present). Raises
  // ExceptionProjectorPi, ExceptionSimultaneousFillingIn or ExceptionForecasting;
  // reconstructed is then left as it was. Costs the two products of the
  // projection (K L r each), O(L K) for the diagonal averaging, and per group
  // what its size needs.
  void Reconstruct() override;
  int type() const override { return kProjection; }

  // Present entries of one lagged vector x (length L, missing rows flagged):
  // x_P := U_P (I_r + U_M^T (I_a - U_M U_M^T)^-1 U_M) U_P^T x_P, the orthogonal
  // projection of x_P onto the column space of U_P. Missing entries and flags
  // are not changed. ExceptionProjectorPi when the a x a matrix is singular
  // (always so with all L eigentriples selected) or the result is not finite.
  // O(L r + a r min(a, r) + min(a, r)^3).
  void PiProjector(MaskedSeries& x) const;
  // Missing entries of one lagged vector x:
  // x_M := (I_a - U_M U_M^T)^-1 U_M U_P^T x_P. Present entries and flags are not
  // changed. ExceptionSimultaneousFillingIn when the matrix is singular or the
  // result is not finite. Same cost as PiProjector.
  void SimultaneousFilling(MaskedSeries& x) const;
  // The L - 1 coefficients R with x(k) ~ sum_j R(j) y(j), y the lagged vector
  // without its component k (1 <= k <= L): k = L is the forward formula, k = 1
  // the backward one. ExceptionForecasting when nu^2 = sum_c U(k, c)^2 is 1,
  // which it is in exact arithmetic whenever all L eigentriples are selected.
  // O(L r).
  MaskedSeries ForecastCoefficients(int k) const;

  // Diagonal averaging of every maximal run of complete columns (K >= L) or of
  // complete rows (K < L) of m on its own; the rest is not changed. O(L K).
  static void HankelizeCompleteRuns(MaskedMatrix& m);

  // The working matrix W of the last Reconstruct: the repaired trajectory
  // matrix before its final diagonal averaging.
  const MaskedMatrix& work() const { return work_; }

 private:
  // Copies along anti-diagonals from the complete column before the group
  // (CnvLeft), after it (CnvRight), or both (CnvBothSides); with K < L the
  // roles of rows and columns are exchanged.
  void CnvLeft(int a, int count);
  void CnvRight(int a, int end);
  void CnvBothSides(int a, int b);
  // Fills the missing series elements of columns a..a+b-1 one at a time with
  // the forecast formula, method 13, 14, 15 or 16.
  void Sequential(int a, int b, int type);
  // Forward (row L) and backward (row 1) estimates of column c of W.
  double ForwardEstimate(const MaskedSeries& R, int c) const;
  double BackwardEstimate(const MaskedSeries& R, int c) const;
  // W(p, q) for K >= L, W(q, p) for K < L.
  double& Cell(int p, int q);
  // Present entries of the group f..end; u may grow by one (CnvLeft).
  void FillPresentEntries(const MethodApplicability& flags, int f, int& u, int end);
  void FillMissingEntries(const MethodApplicability& flags, int f, int u, int end);

  const int& validEntriesMethod_;
  const std::array<int, 5>& missingEntriesPriority_;
};

}  // namespace vorel::reference
