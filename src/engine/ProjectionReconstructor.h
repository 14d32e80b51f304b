#pragma once

#include <array>

#include "engine/MethodApplicability.h"
#include "engine/Reconstructor.h"

namespace vorel {

// "<<Projection>>": complete lagged vectors projected onto the selected
// eigenvectors, incomplete ones repaired group by group. For each group of
// incomplete columns one method sets the present entries (CNV or the PI
// projector, validEntriesMethod tried first) and the first applicable method
// of missingEntriesPriority fills the missing entries; the repaired matrix is
// then diagonal-averaged into the series.
//
// When K >= L the repaired matrix is never stored. Runs of complete columns
// add their projection's anti-diagonal sums block by block (diagonal
// averaging of a run alone keeps those sums). A group's columns are formed one
// at a time from the series: the projection, then the present-entry method (the
// PI projector of the column, or CNV copies, which are the run-averaged values
// of the complete column before or after the group, taken along the
// anti-diagonals); the simultaneous filling works on the column alone, and the
// sequential methods write one estimate per series element, kept in a vector
// over the group's elements. A group repaired by the PI projector and then by
// simultaneous filling takes a shorter way: both together make the column
// U (U_P^T U_P)^-1 U_P^T x_P, one small solve per column over blocked
// products. Memory O(N + L r + L^2) beside the group's elements. When K < L the L x K working matrix is smaller than the covariance
// and is kept as it stands, with rows and columns in their exchanged roles.
class ProjectionReconstructor : public Reconstructor {
 public:
  ProjectionReconstructor(const MaskedSeries& series, const HankelTrajectory& trajectory,
                          const MaskedMatrix& selectedEigenvectors, MaskedSeries& reconstructed,
                          const int& validEntriesMethod,
                          const std::array<int, 5>& missingEntriesPriority)
      : Reconstructor(series, trajectory, selectedEigenvectors, reconstructed),
        validEntriesMethod_(validEntriesMethod),
        missingEntriesPriority_(missingEntriesPriority) {}

  // Fills reconstructed (length N, all flags present). Raises
  // ExceptionProjectorPi, ExceptionSimultaneousFillingIn or ExceptionForecasting;
  // reconstructed is then left as it was. Costs O(K L r) for the projections
  // (a few times over for the columns of groups) and per group what its size
  // needs; the blocks of columns run on both cores.
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

  // The working matrix W of the last Reconstruct when K < L: the repaired
  // trajectory matrix before its final diagonal averaging (empty when K >= L).
  const MaskedMatrix& work() const { return work_; }

 private:
  struct Group;
  // K >= L: column by column, without the working matrix.
  void ReconstructByColumns();
  void ReconstructGroup(const Group& g, Vector& sums) const;
  // The PI projector followed by simultaneous filling on the columns
  // first..last (1-based), all at once: the present entries become U_P y with
  // y = (U_P^T U_P)^-1 U_P^T x_P and the missing ones U_M y, so each repaired
  // column is U y. The products U^T x run as blocked products over the series;
  // each column solves one small system on its missing rows.
  void AddPiSimultaneousSums(int first, int last, Vector& sums) const;
  // The run-averaged values of complete column `column` (1-based) whose run
  // of complete columns is lo..hi: row i holds the mean of the projections of
  // series element column + i - 1 over the run's lagged vectors.
  Vector RunAveragedColumn(int column, int lo, int hi) const;
  // K < L: the dense working matrix.
  void ReconstructDense();
  void ProjectDense();
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
  MaskedMatrix dense_;  // K < L: the trajectory, stored
  MaskedMatrix work_;   // K < L: W, L x K
};

}  // namespace vorel
