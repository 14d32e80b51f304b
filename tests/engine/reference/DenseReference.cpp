#include "engine/reference/DenseReference.h"

#include <vector>

#include "engine/reference/DenseProjectionReconstructor.h"
#include "engine/reference/DenseReconstructor.h"

namespace vorel::reference {

MaskedMatrix Trajectory(const MaskedSeries& series, int L) {
  const int K = series.length() - L + 1;
  MaskedMatrix X(L, K);
  for (int j = 1; j <= K; ++j) {
    int count = 0;
    for (int i = 1; i <= L; ++i) {
      const int t = i + j - 1;
      if (series.isValid(t)) {
        X.set(i, j, series.value(t), true);
        ++count;
      } else {
        X.set(i, j, 0.0, false);
      }
    }
    X.setValidCount(j, count);
  }
  return X;
}

MaskedMatrix Materialize(const HankelTrajectory& view) {
  MaskedMatrix X(view.rows(), view.cols());
  for (int j = 1; j <= view.cols(); ++j) {
    for (int i = 1; i <= view.rows(); ++i) X.set(i, j, view.value(i, j), view.isValid(i, j));
    X.setValidCount(j, view.validCount(j));
  }
  return X;
}

MaskedMatrix KeptColumns(const MaskedMatrix& X, int threshold) {
  const int L = X.rows();
  std::vector<int> kept;
  for (int j = 1; j <= X.cols(); ++j) {
    if (X.validCount(j) >= L - threshold) kept.push_back(j);
  }
  MaskedMatrix out(L, static_cast<int>(kept.size()));
  for (size_t k = 0; k < kept.size(); ++k) {
    for (int i = 1; i <= L; ++i) {
      out.set(i, static_cast<int>(k) + 1, X.value(i, kept[k]), X.isValid(i, kept[k]));
    }
  }
  out.RecountValid();
  return out;
}

Matrix SvdCovariance(const MaskedMatrix& kept) {
  const int L = kept.rows();
  const int Kp = kept.cols();
  Matrix S(L, L);
  for (int i = 1; i <= L; ++i) {
    for (int j = i; j <= L; ++j) {
      double s = 0.0;
      int m = Kp;
      for (int k = 1; k <= Kp; ++k) {
        s += kept.value(i, k) * kept.value(j, k);
        if (!kept.isValid(i, k) || !kept.isValid(j, k)) --m;
      }
      if (m < Kp && m > 0) s = s * Kp / m;
      S(i - 1, j - 1) = S(j - 1, i - 1) = s;
    }
  }
  return S;
}

Matrix ToeplitzCovariance(const MaskedSeries& series, int L) {
  const int N = series.length();
  Matrix C(L, L);
  for (int k = 0; k < L; ++k) {
    double s = 0.0;
    int m = 0;
    for (int t = 1; t + k <= N; ++t) {
      if (series.isValid(t) && series.isValid(t + k)) {
        s += series.value(t) * series.value(t + k);
        ++m;
      }
    }
    const double c = m > 0 ? s / m : 0.0;
    for (int i = 0; i + k < L; ++i) C(i, i + k) = C(i + k, i) = c;
  }
  return C;
}

MaskedSeries PcReconstruction(const MaskedSeries& series, const MaskedMatrix& X,
                              const MaskedMatrix& U) {
  MaskedSeries out(series.length());
  PcReconstructor rec(series, X, U, out);
  rec.Reconstruct();
  return out;
}

MaskedSeries ProjectionReconstruction(const MaskedSeries& series, const MaskedMatrix& X,
                                      const MaskedMatrix& U, int validEntriesMethod,
                                      const std::array<int, 5>& missingEntriesPriority) {
  MaskedSeries out(series.length());
  ProjectionReconstructor rec(series, X, U, out, validEntriesMethod, missingEntriesPriority);
  rec.Reconstruct();
  return out;
}

}  // namespace vorel::reference
