#include "engine/CovarianceBuilder.h"

#include <vector>

namespace vorel {

void SvdCovariance::Build() {
  const Eigen::Index L = keptTrajectory_.rows();
  const double kept = static_cast<double>(keptTrajectory_.cols());
  if (covariance_.rows() != L || covariance_.cols() != L) covariance_.resize(L, L);

  // Sums of products over all kept columns (missing elements hold 0): the
  // lower triangle of X X^T by one symmetric rank update.
  covariance_.setZero();
  covariance_.selfadjointView<Eigen::Lower>().rankUpdate(keptTrajectory_.values());

  if (!keptTrajectory_.AllValid()) {
    // m(i, j) = K' - z(i) - z(j) + both(i, j), where z(i) counts the kept
    // columns missing row i and both(i, j) those missing rows i and j. Missing
    // elements are few, so both() is gathered column by column from the lists
    // of missing rows: the sum over columns of (missing rows)^2.
    const FlagMatrix& flags = keptTrajectory_.flags();
    std::vector<int> missingRows;
    std::vector<double> z(static_cast<size_t>(L), 0.0);
    Matrix both = Matrix::Zero(L, L);
    for (Eigen::Index k = 0; k < flags.cols(); ++k) {
      missingRows.clear();
      for (Eigen::Index i = 0; i < L; ++i) {
        if (!flags(i, k)) missingRows.push_back(static_cast<int>(i));
      }
      for (size_t a = 0; a < missingRows.size(); ++a) {
        z[missingRows[a]] += 1.0;
        for (size_t b = 0; b <= a; ++b) both(missingRows[a], missingRows[b]) += 1.0;
      }
    }
    for (Eigen::Index j = 0; j < L; ++j) {
      for (Eigen::Index i = j; i < L; ++i) {
        const double m = kept - z[i] - z[j] + both(i, j);
        if (m < kept && m > 0) covariance_(i, j) = covariance_(i, j) * kept / m;
      }
    }
  }
  covariance_.triangularView<Eigen::StrictlyUpper>() = covariance_.transpose();
}

void ToeplitzCovariance::Build() {
  const int L = windowLength_;
  const int N = series_.length();
  if (covariance_.rows() != L || covariance_.cols() != L) covariance_.resize(L, L);

  // Present values with missing ones as 0, and the 0/1 presence.
  Vector x(N), p(N);
  for (int t = 0; t < N; ++t) {
    const bool present = series_.flags()(t) != 0;
    x(t) = present ? series_.values()(t) : 0.0;
    p(t) = present ? 1.0 : 0.0;
  }
  for (int k = 0; k < L; ++k) {
    const int n = N - k;
    double c = 0.0;
    if (n > 0) {
      const double s = x.head(n).dot(x.segment(k, n));
      const double m = p.head(n).dot(p.segment(k, n));
      // A lag without a present pair contributes 0.
      if (m > 0) c = (m == n ? s : n / m * s) / n;
    }
    for (int i = 0; i < L - k; ++i) {
      covariance_(i, i + k) = c;
      covariance_(i + k, i) = c;
    }
  }
}

}  // namespace vorel
