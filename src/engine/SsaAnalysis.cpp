#include "engine/SsaAnalysis.h"

#include <algorithm>
#include <cmath>

#include "engine/EigenStep.h"
#include "engine/Exceptions.h"
#include "engine/ProjectionReconstructor.h"

namespace vorel {

namespace {

// The root mean square of a(t) - b(t) over the positions where both flags are
// set (bothPresent) or over the others; 0 when there is none. When the sum of
// squares overflows, the squares are summed relative to the largest difference,
// so that a root mean square within the range of doubles is still found.
double RootMeanSquareDifference(const MaskedSeries& a, const MaskedSeries& b, bool bothPresent) {
  const int n = a.length();
  const auto taken = [&](int t) { return (a.isValid(t) && b.isValid(t)) == bothPresent; };
  double sum = 0.0;
  int count = 0;
  for (int t = 1; t <= n; ++t) {
    if (!taken(t)) continue;
    const double d = a.value(t) - b.value(t);
    sum += d * d;
    ++count;
  }
  if (count == 0) return 0.0;
  if (std::isfinite(sum)) return std::sqrt(sum / count);
  double scale = 0.0;
  for (int t = 1; t <= n; ++t) {
    if (taken(t)) scale = std::max(scale, std::abs(a.value(t) - b.value(t)));
  }
  if (!std::isfinite(scale)) return scale;  // a difference beyond the largest double
  double scaled = 0.0;
  for (int t = 1; t <= n; ++t) {
    if (!taken(t)) continue;
    const double q = (a.value(t) - b.value(t)) / scale;
    scaled += q * q;
  }
  return scale * std::sqrt(scaled / count);
}

}  // namespace

SsaAnalysis::SsaAnalysis()
    : covarianceBuilder_(std::make_unique<SvdCovariance>(covariance, keptTrajectory)),
      reconstructor_(std::make_unique<PcReconstructor>(series, trajectory, selectedEigenvectors,
                                                       reconstructed)) {}

void SsaAnalysis::SetWindowLength(int L) {
  if (L < 2 || L > length() - 1) throw ExceptionWindowLength();
  windowLength_ = L;
  cadzowWindowLength_ = L;
}

void SsaAnalysis::ClampWindowLength(int L) {
  if (L >= length()) L = length() - 1;
  if (L < 2) L = 2;
  windowLength_ = L;
  cadzowWindowLength_ = L;
}

void SsaAnalysis::SetCadzowWindowLength(int Lc) {
  if (Lc < windowLength_ || Lc > length() - 1) throw ExceptionWrongCadzowWL();
  cadzowWindowLength_ = Lc;
}

void SsaAnalysis::SetCadzowIterations(int n) {
  if (n <= 0) throw ExceptionWrongCadzowIterationsNumber();
  cadzowIterations_ = n;
}

void SsaAnalysis::SetThreshold(int t) {
  if (t < 0 || t > windowLength_) throw ExceptionThresholdOutOfRange();
  const int L = windowLength_;
  bool anyKept = false;
  if (trajectory.rows() == L) {
    for (int j = 1; j <= trajectory.cols() && !anyKept; ++j) {
      anyKept = trajectory.validCount(j) >= L - t;
    }
  }
  if (!anyKept) throw ExceptionThresholdDeleteAllVectors();
  threshold_ = t;
}

void SsaAnalysis::BuildTrajectory() {
  const int N = length();
  const int L = windowLength_;
  const int K = N - L + 1;
  if (L < 1 || K < 1) throw ExceptionWindowLength();
  trajectory = HankelTrajectory(series, L);
}

void SsaAnalysis::ApplyThreshold() {
  keptTrajectory = trajectory.Keep(trajectory.rows() - threshold_);
}

void SsaAnalysis::BuildCovariance() {
  if (covarianceMethod != kCovarianceSvd && covarianceMethod != kCovarianceToeplitz) {
    throw ExceptionUnknownCovarianceMethod();
  }
  if (covarianceBuilder_->type() != covarianceMethod) {
    if (covarianceMethod == kCovarianceSvd) {
      covarianceBuilder_ = std::make_unique<SvdCovariance>(covariance, keptTrajectory);
    } else {
      covarianceBuilder_ = std::make_unique<ToeplitzCovariance>(covariance, trajectory);
    }
  }
  covarianceBuilder_->Build();
  covarianceScaleExponent_ = 2 * trajectory.scaleExponent();
}

void SsaAnalysis::Decompose() {
  const int L = windowLength_;
  if (covariance.rows() != L || covariance.cols() != L) throw ExceptionEigenDecomposition();
  EigenStep::Result result = EigenStep::DecomposeDescending(covariance);

  // The covariance is that of the series scaled by 2^-k: its eigenvalues
  // times 2^2k are the series' own. One beyond the largest double is refused
  // as the solver's would be; one below the smallest rounds to 0. The shares
  // come from the scaled eigenvalues.
  const int e = covarianceScaleExponent_;
  Vector positive(L);
  Vector values(L);
  for (int i = 0; i < L; ++i) {
    const double d = result.values(i);
    positive(i) = d <= 0 ? 0.0 : d;
    values(i) = e == 0 ? positive(i) : std::ldexp(positive(i), e);
  }
  if (!values.allFinite()) throw ExceptionEigenDecomposition();

  if (eigenvalues.length() != L) {
    eigenvalues.Resize(L);
    eigenvalues.SetAllValid(false);
  }
  eigenvalues.values() = values;
  eigenvectors.Resize(L, L);
  eigenvectors.values() = std::move(result.vectors);
  eigenvectors.flags().setOnes();

  double sum = 0.0;
  for (int i = 0; i < L; ++i) sum += positive(i);
  shares.Resize(L);
  // Finite eigenvalues near the largest double can add up beyond it: the shares
  // are then taken relative to the largest eigenvalue, which is eigenvalue 1.
  const double scale = std::isfinite(sum) ? 1.0 : positive(0);
  if (scale != 1.0) {
    sum = 0.0;
    for (int i = 0; i < L; ++i) sum += positive(i) / scale;
  }
  for (int i = 1; i <= L; ++i) {
    // With no positive eigenvalue every share is 0 rather than 0/0.
    shares.value(i) = sum > 0 ? (1.0 / sum) * (positive(i - 1) / scale) * 100.0 : 0.0;
  }
}

void SsaAnalysis::SelectEigentriples(const std::vector<unsigned char>& flags) {
  const int L = eigenvalues.length();
  if (L == 0) throw ExceptionNoEVSelected();
  bool any = false;
  for (int i = 1; i <= L; ++i) {
    const bool on = static_cast<size_t>(i) <= flags.size() && flags[i - 1] != 0;
    eigenvalues.setValid(i, on);
    any = any || on;
  }
  if (!any) throw ExceptionNoEVSelected();
  SelectEigentriples();
}

void SsaAnalysis::SelectEigentriples() {
  const int L = eigenvalues.length();
  const int r = SelectedCount();
  if (r == 0) throw ExceptionNoEVSelected();
  selectedEigenvectors.Resize(eigenvectors.rows(), r);
  int c = 0;
  for (int i = 1; i <= L; ++i) {
    if (eigenvalues.isValid(i)) selectedEigenvectors.values().col(c++) = eigenvectors.values().col(i - 1);
  }
  selectedEigenvectors.flags().setOnes();
}

int SsaAnalysis::SelectedCount() const { return eigenvalues.CountValid(); }

::vorel::SeriesApplicability SsaAnalysis::SeriesApplicability(int r) const {
  return ComputeSeriesApplicability(trajectory, r);
}

void SsaAnalysis::Reconstruct() {
  if (reconstructionMethod != kPrincipalComponents && reconstructionMethod != kProjection) {
    throw ExceptionUnknownReconstructionMethod();
  }
  if (reconstructor_->type() != reconstructionMethod) {
    if (reconstructionMethod == kPrincipalComponents) {
      reconstructor_ = std::make_unique<PcReconstructor>(series, trajectory, selectedEigenvectors,
                                                         reconstructed);
    } else {
      reconstructor_ = std::make_unique<ProjectionReconstructor>(
          series, trajectory, selectedEigenvectors, reconstructed, validEntriesMethod,
          missingEntriesPriority);
    }
  }
  reconstructed.Resize(length());
  reconstructor_->Reconstruct();
  ComputeResiduals();
}

void SsaAnalysis::ComputeResiduals() {
  const int N = length();
  residuals.Resize(N);
  for (int t = 1; t <= N; ++t) {
    residuals.set(t, series.value(t) - reconstructed.value(t), series.isValid(t));
  }
}

void SsaAnalysis::ComputeThresholdCurves() {
  const int L = trajectory.rows();
  const int K = trajectory.cols();
  columnsAfterDeletion.Resize(L + 1);
  distortedRatio.Resize(L + 1);
  // A column with m missing elements is kept from threshold m on; a row is
  // distorted from the least missing count of the columns where it is missing.
  std::vector<int> columnsKeptFrom(static_cast<size_t>(L) + 1, 0);
  std::vector<int> rowDistortedFrom(static_cast<size_t>(L), L + 1);
  for (int j = 1; j <= K; ++j) columnsKeptFrom[L - trajectory.validCount(j)] += 1;
  // Row i of column j is missing exactly when series element i + j - 1 is:
  // walk the missing elements rather than the L x K cells.
  const int N = trajectory.seriesLength();
  const FlagVector& f = trajectory.flags();
  for (int t = 1; t <= N; ++t) {
    if (f(t - 1) != 0) continue;
    for (int i = std::max(1, t - trajectory.fullCols() + 1); i <= std::min(L, t); ++i) {
      const int missing = L - trajectory.fullValidCount(t - i);
      rowDistortedFrom[i - 1] = std::min(rowDistortedFrom[i - 1], missing);
    }
  }
  std::vector<int> rowsDistortedFrom(static_cast<size_t>(L) + 2, 0);
  for (int from : rowDistortedFrom) rowsDistortedFrom[from] += 1;
  int kept = 0;
  int distorted = 0;
  for (int t = 0; t <= L; ++t) {
    kept += columnsKeptFrom[t];
    distorted += rowsDistortedFrom[t];
    columnsAfterDeletion.value(t + 1) = kept;
    const long long products = static_cast<long long>(distorted) * (2LL * L - distorted);
    distortedRatio.value(t + 1) = static_cast<double>(products) / (static_cast<double>(L) * L);
  }
}

Deviations SsaAnalysis::ComputeDeviations(const MaskedSeries& a, const MaskedSeries& b) {
  Deviations out;
  out.valid = RootMeanSquareDifference(a, b, true);
  out.missing = RootMeanSquareDifference(a, b, false);
  return out;
}

}  // namespace vorel
