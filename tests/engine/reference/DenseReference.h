#pragma once
// The plain dense analysis of the first engine: the trajectory as an L x K
// matrix, the kept trajectory as a copy of its kept columns, the "<<SVD>>"
// covariance as a product over it, the lag covariances of "<<Toeplitz>>", and
// both reconstructions over the stored L x K working matrix. The engine
// computes all of these from the series itself; the tests check it against
// this on small series.

#include <array>

#include "engine/EigenTypes.h"
#include "engine/HankelTrajectory.h"
#include "engine/MaskedMatrix.h"
#include "engine/MaskedSeries.h"

namespace vorel::reference {

// The L x K Hankel matrix of series (K = N - L + 1), missing elements 0 and
// flagged, with the column counts.
MaskedMatrix Trajectory(const MaskedSeries& series, int L);
// The (kept) columns of a trajectory view as a stored matrix, with counts.
MaskedMatrix Materialize(const HankelTrajectory& view);
// The columns of X with at least L - threshold present elements, counts recounted.
MaskedMatrix KeptColumns(const MaskedMatrix& X, int threshold);
// Sum of products over the kept columns, each entry scaled by K' / m when
// some of its pairs were missing.
Matrix SvdCovariance(const MaskedMatrix& kept);
// Mean of x(t) x(t + k) over the present pairs (0 without one).
Matrix ToeplitzCovariance(const MaskedSeries& series, int L);
// Reconstruction by principal components.
MaskedSeries PcReconstruction(const MaskedSeries& series, const MaskedMatrix& X,
                              const MaskedMatrix& U);
// Reconstruction by projection with the given methods.
MaskedSeries ProjectionReconstruction(const MaskedSeries& series, const MaskedMatrix& X,
                                      const MaskedMatrix& U, int validEntriesMethod,
                                      const std::array<int, 5>& missingEntriesPriority);

}  // namespace vorel::reference
