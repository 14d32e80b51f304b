#pragma once

#include <array>
#include <memory>
#include <vector>

#include "engine/CovarianceBuilder.h"
#include "engine/EigenTypes.h"
#include "engine/HankelTrajectory.h"
#include "engine/MaskedMatrix.h"
#include "engine/MaskedSeries.h"
#include "engine/MethodApplicability.h"
#include "engine/Reconstructor.h"

namespace vorel {

// Codes of the methods for the present entries of a missing-data group.
enum ValidEntriesMethod : int { kPiProjector = 10, kCnv = 11 };
// Codes of the methods for the missing entries, in SsaAnalysis::missingEntriesPriority.
enum MissingEntriesMethod : int {
  kSimultaneous = 12,
  kLeftSequential = 13,
  kRightSequential = 14,
  kBothSidesToMiddle = 15,
  kBothSidesAveraging = 16,
};

// Root-mean-square deviations of one series from another.
struct Deviations {
  double valid = 0.0;    // over the positions where both are present
  double missing = 0.0;  // over all other positions
};

// One SSA analysis of one series with missing values: the parameters, the
// intermediate matrices and every result. The computing operations are called
// in the order BuildTrajectory, SetThreshold, ApplyThreshold, BuildCovariance,
// Decompose, SelectEigentriples, Reconstruct. A result field read before its
// step has run holds the previous analysis.
class SsaAnalysis {
 public:
  SsaAnalysis();
  SsaAnalysis(const SsaAnalysis&) = delete;
  SsaAnalysis& operator=(const SsaAnalysis&) = delete;

  // --- parameters with validating setters ---------------------------------
  int windowLength() const { return windowLength_; }
  int cadzowWindowLength() const { return cadzowWindowLength_; }
  int cadzowIterations() const { return cadzowIterations_; }
  int threshold() const { return threshold_; }
  // N, the length of the series.
  int length() const { return series.length(); }

  // 2 <= L <= N - 1, else ExceptionWindowLength. Sets the Cadzow window length too.
  void SetWindowLength(int L);
  // L clamped to 2..N-1 (never below 2, even for N < 3); never raises. Sets the Cadzow
  // window length too.
  void ClampWindowLength(int L);
  // windowLength <= Lc <= N - 1, else ExceptionWrongCadzowWL.
  void SetCadzowWindowLength(int Lc);
  // n > 0, else ExceptionWrongCadzowIterationsNumber.
  void SetCadzowIterations(int n);
  // 0 <= t <= L, else ExceptionThresholdOutOfRange; some column of the current
  // trajectory must keep at least L - t present components, else
  // ExceptionThresholdDeleteAllVectors. Needs BuildTrajectory for the current L.
  void SetThreshold(int t);

  // --- plain parameters written by the dialogs -----------------------------
  int covarianceMethod = kCovarianceSvd;
  int reconstructionMethod = kProjection;
  int validEntriesMethod = kCnv;
  std::array<int, 5> missingEntriesPriority{kSimultaneous, kLeftSequential, kRightSequential,
                                            kBothSidesToMiddle, kBothSidesAveraging};

  // --- computing operations -------------------------------------------------
  // trajectory := the view of the series as its L x K Hankel matrix,
  // K = N - L + 1, with missing elements 0 and flagged, and the column counts.
  // O(N); nothing of size L x K is stored.
  void BuildTrajectory();
  // keptTrajectory := the columns with at least L - threshold present
  // elements (a view too). O(K).
  void ApplyThreshold();
  // Fills covariance by covarianceMethod (replacing the builder when the method
  // changed). Raises ExceptionUnknownCovarianceMethod for another code.
  void BuildCovariance();
  // Eigenvalues (decreasing, negative ones as 0), shares in percent and
  // eigenvectors of covariance. Keeps the selection flags when L is unchanged,
  // clears them otherwise. O(L^3).
  void Decompose();
  // Copies flags (one per eigentriple; missing entries count as 0) into the
  // selection and builds selectedEigenvectors; ExceptionNoEVSelected when none
  // is selected.
  void SelectEigentriples(const std::vector<unsigned char>& flags);
  // Builds selectedEigenvectors from the selection flags as they are.
  void SelectEigentriples();
  // Runs the reconstructor of reconstructionMethod, then the residuals.
  void Reconstruct();
  // residuals := series - reconstructed, with the series' flags.
  void ComputeResiduals();
  // columnsAfterDeletion and distortedRatio for thresholds 0..L of the current
  // trajectory. O(L K).
  void ComputeThresholdCurves();
  // RMS of a - b over the positions where both are present, and over the
  // others; 0 for a class without positions.
  static Deviations ComputeDeviations(const MaskedSeries& a, const MaskedSeries& b);
  // Number of selected eigentriples.
  int SelectedCount() const;
  // Which filling methods apply to the groups of incomplete lagged vectors of
  // the full trajectory, with r selected eigentriples. O(K).
  ::vorel::SeriesApplicability SeriesApplicability(int r) const;

  // --- state and results ----------------------------------------------------
  HankelTrajectory keptTrajectory{MaskedSeries(19), 10};
  // The covariance of the series as the trajectory holds it: scaled by 2^-2k
  // for a series of extreme magnitudes (HankelTrajectory::scaleExponent);
  // eigenvalues are those of the series itself.
  Matrix covariance = Matrix::Zero(10, 10);
  MaskedMatrix selectedEigenvectors{10, 10};
  MaskedSeries series{10};
  // lambda(1..L) in decreasing order; its flags select the eigentriples.
  MaskedSeries eigenvalues{10};
  MaskedSeries reconstructed{10};
  MaskedSeries shares{10};
  MaskedSeries residuals{10};
  MaskedSeries columnsAfterDeletion{10};
  MaskedSeries distortedRatio{10};
  MaskedSeries cadzowDeviationValid{10};
  MaskedSeries cadzowDeviationMissing{10};
  HankelTrajectory trajectory{MaskedSeries(19), 10};
  MaskedMatrix eigenvectors{10, 10};

  const CovarianceBuilder& covarianceBuilder() const { return *covarianceBuilder_; }
  const Reconstructor& reconstructor() const { return *reconstructor_; }

 private:
  int windowLength_ = 10;
  int cadzowWindowLength_ = 10;
  int cadzowIterations_ = 10;
  int threshold_ = 0;
  // covariance is 2^-covarianceScaleExponent_ times the series' own (see
  // HankelTrajectory::scaleExponent); 0 for an ordinary series.
  int covarianceScaleExponent_ = 0;
  std::unique_ptr<CovarianceBuilder> covarianceBuilder_;
  std::unique_ptr<Reconstructor> reconstructor_;
};

}  // namespace vorel
