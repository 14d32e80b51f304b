#pragma once

#include "engine/EigenTypes.h"
#include "engine/HankelTrajectory.h"
#include "engine/MaskedSeries.h"

namespace vorel {

// Codes of the covariance methods, as stored in SsaAnalysis::covarianceMethod.
enum CovarianceMethod : int { kCovarianceSvd = 2, kCovarianceToeplitz = 3 };

// Fills the L x L lag-covariance matrix by one method.
class CovarianceBuilder {
 public:
  virtual ~CovarianceBuilder() = default;
  virtual void Build() = 0;
  virtual int type() const = 0;
};

// Both builders work on the series as the trajectory view holds it, scaled by
// 2^-k (HankelTrajectory::scaleExponent): the matrix is that of the scaled
// series, 2^-2k times the covariance of the series.

// "<<SVD>>": the uncentred sum of products of the kept lagged vectors, each
// entry over the columns where both of its rows are present, scaled by K'/m when
// some were missing. Taken from the series along the diagonals: entry
// (i, i + d) sums x(t) x(t + d) over the kept columns. A run of at least L kept
// columns shares most of its terms among all entries of a lag: those sums are
// one product of the Hankel matrix over the series with the series, and each
// entry adds fewer than L terms of its own; shorter runs take running sums or
// direct sums. The present pairs are counted the same way. O(N L + L^2 R) for
// R runs of kept columns; the products and the lags are shared among the cores.
class SvdCovariance : public CovarianceBuilder {
 public:
  SvdCovariance(Matrix& covariance, const HankelTrajectory& keptTrajectory)
      : covariance_(covariance), keptTrajectory_(keptTrajectory) {}
  void Build() override;
  int type() const override { return kCovarianceSvd; }

 private:
  Matrix& covariance_;
  const HankelTrajectory& keptTrajectory_;
};

// "<<Toeplitz>>": entry (i, i + k) is the mean of x(t) x(t + k) over the t where
// both are present (0 when no such pair exists). The terms t <= N - L belong to
// every lag and are summed for all lags in one Hankel product, on both cores;
// each lag adds fewer than L terms of its own. O(N L).
class ToeplitzCovariance : public CovarianceBuilder {
 public:
  // The series is read through the trajectory view (scaled as it is).
  ToeplitzCovariance(Matrix& covariance, const HankelTrajectory& trajectory)
      : covariance_(covariance), trajectory_(trajectory) {}
  void Build() override;
  int type() const override { return kCovarianceToeplitz; }

 private:
  Matrix& covariance_;
  const HankelTrajectory& trajectory_;
};

}  // namespace vorel
