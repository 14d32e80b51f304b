#include "engine/reference/DenseProjectionReconstructor.h"

#include <Eigen/Eigenvalues>
#include <algorithm>
#include <cmath>
#include <vector>

#include "engine/Exceptions.h"
#include "engine/SsaAnalysis.h"

namespace vorel::reference {

namespace {

// I - G with G = V V^T (or V^T V) for rows V of an orthonormal basis has its
// eigenvalues in [0, 1]; one of them at or below this bound (relative to the
// unit scale of I) means the matrix is singular up to rounding.
constexpr double kSingularTolerance = 1e-10;

// The rows of U at the missing positions M of x, and U_P^T x_P, computed as
// U^T x with the missing entries taken as 0 (one product over all L rows).
struct SplitBasis {
  Matrix UM;
  Vector v;
  std::vector<int> missingRows;  // 0-based
};

SplitBasis Split(const Matrix& U, const MaskedSeries& x) {
  SplitBasis s;
  const auto L = U.rows();
  Vector x0 = x.values();
  for (Eigen::Index i = 0; i < L; ++i) {
    if (!x.flags()(i)) {
      s.missingRows.push_back(static_cast<int>(i));
      x0(i) = 0.0;
    }
  }
  s.UM.resize(static_cast<Eigen::Index>(s.missingRows.size()), U.cols());
  for (Eigen::Index k = 0; k < s.UM.rows(); ++k) s.UM.row(k) = U.row(s.missingRows[k]);
  s.v.noalias() = U.transpose() * x0;
  return s;
}

// z := S^-1 b for the symmetric matrix S; false when S is singular within the
// tolerance or the result is not finite.
bool SolveSymmetric(const Matrix& S, const Vector& b, Vector& z) {
  Eigen::SelfAdjointEigenSolver<Matrix> solver(S);
  if (solver.info() != Eigen::Success) return false;
  const Vector& lambda = solver.eigenvalues();
  if (!(lambda.minCoeff() > kSingularTolerance)) return false;  // also false for NaN
  const Matrix& V = solver.eigenvectors();
  z = V * ((V.transpose() * b).array() / lambda.array()).matrix();
  return z.allFinite();
}

// (I_a - U_M U_M^T)^-1 U_M v, solved on the smaller side: with a > r through
// the equal U_M (I_r - U_M^T U_M)^-1 v, so that a group costs what its size
// needs. Both matrices are singular together.
bool SolveMissingSide(const Matrix& UM, const Vector& v, Vector& out) {
  const Eigen::Index a = UM.rows();
  const Eigen::Index r = UM.cols();
  if (a <= r) {
    const Matrix S = Matrix::Identity(a, a) - UM * UM.transpose();
    return SolveSymmetric(S, UM * v, out);
  }
  const Matrix S = Matrix::Identity(r, r) - UM.transpose() * UM;
  Vector y;
  if (!SolveSymmetric(S, v, y)) return false;
  out = UM * y;
  return out.allFinite();
}

}  // namespace

void ProjectionReconstructor::PiProjector(MaskedSeries& x) const {
  const Matrix& U = selectedEigenvectors_.values();
  const SplitBasis s = Split(U, x);
  Vector y = s.v;
  if (!s.missingRows.empty()) {
    // All L eigentriples: I_a - U_M U_M^T is singular in exact arithmetic.
    if (U.cols() >= U.rows()) throw ExceptionProjectorPi();
    // y := (I_r + U_M^T (I_a - U_M U_M^T)^-1 U_M) U_P^T x_P
    Vector w;
    if (!SolveMissingSide(s.UM, s.v, w)) throw ExceptionProjectorPi();
    y += s.UM.transpose() * w;
  }
  // x_P := U_P y, read off U y at the present rows.
  const Vector projected = U * y;
  if (!projected.allFinite()) throw ExceptionProjectorPi();
  for (Eigen::Index i = 0; i < projected.size(); ++i) {
    if (x.flags()(i)) x.values()(i) = projected(i);
  }
}

void ProjectionReconstructor::SimultaneousFilling(MaskedSeries& x) const {
  const Matrix& U = selectedEigenvectors_.values();
  const SplitBasis s = Split(U, x);
  if (s.missingRows.empty()) return;
  Vector xM;
  if (!SolveMissingSide(s.UM, s.v, xM)) throw ExceptionSimultaneousFillingIn();
  for (size_t k = 0; k < s.missingRows.size(); ++k) {
    x.values()(s.missingRows[k]) = xM(static_cast<Eigen::Index>(k));
  }
}

MaskedSeries ProjectionReconstructor::ForecastCoefficients(int k) const {
  const MaskedMatrix& U = selectedEigenvectors_;
  const int L = U.rows();
  const int r = U.cols();
  double nu2 = 0.0;
  for (int c = 1; c <= r; ++c) nu2 += U.value(k, c) * U.value(k, c);
  // With all L eigentriples every row of U has unit length; rounding must not
  // turn that into huge coefficients.
  if (nu2 == 1.0 || r >= L) throw ExceptionForecasting();
  MaskedSeries R(L - 1);
  const double q = 1.0 / (1.0 - nu2);
  auto rowProduct = [&](int i) {
    double sum = 0.0;
    for (int c = 1; c <= r; ++c) sum += U.value(i, c) * U.value(k, c);
    return sum;
  };
  for (int j = 1; j <= k - 1; ++j) R.value(j) = q * rowProduct(j);
  for (int j = k; j <= L - 1; ++j) R.value(j) = q * rowProduct(j + 1);
  return R;
}

void ProjectionReconstructor::HankelizeCompleteRuns(MaskedMatrix& m) {
  const int L = m.rows();
  const int K = m.cols();
  const bool byColumn = K >= L;
  const MaskedSeries complete = m.CompleteFlags();
  const int n = complete.length();
  int k = 1;
  while (k <= n) {
    if (!complete.isValid(k)) {
      ++k;
      continue;
    }
    const int start = k;
    while (k <= n && complete.isValid(k)) ++k;
    const int len = k - start;
    if (byColumn) {
      MaskedMatrix block(L, len);
      block.values() = m.values().middleCols(start - 1, len);
      Hankelize(block);
      m.values().middleCols(start - 1, len) = block.values();
    } else {
      MaskedMatrix block(len, K);
      block.values() = m.values().middleRows(start - 1, len);
      Hankelize(block);
      m.values().middleRows(start - 1, len) = block.values();
    }
  }
}

double& ProjectionReconstructor::Cell(int p, int q) {
  return work_.cols() >= work_.rows() ? work_.value(p, q) : work_.value(q, p);
}

void ProjectionReconstructor::CnvLeft(int a, int count) {
  const bool byColumn = work_.cols() >= work_.rows();
  const int B = byColumn ? work_.rows() : work_.cols();  // length of a vector
  const int O = byColumn ? work_.cols() : work_.rows();  // number of vectors
  for (int i = 1; i <= count - 1; ++i) {
    const int c = a + i - 1;
    if (c < 2 || c > O) continue;
    for (int n = B - i; n >= 1; --n) Cell(n, c) = Cell(n + 1, c - 1);
  }
}

void ProjectionReconstructor::CnvRight(int a, int end) {
  const bool byColumn = work_.cols() >= work_.rows();
  const int B = byColumn ? work_.rows() : work_.cols();
  const int O = byColumn ? work_.cols() : work_.rows();
  for (int s = 1; s <= end - 1; ++s) {
    const int c = a - s;
    if (c < 1 || c + 1 > O) continue;
    for (int n = s + 1; n <= B; ++n) Cell(n, c) = Cell(n - 1, c + 1);
  }
}

void ProjectionReconstructor::CnvBothSides(int a, int b) {
  const bool byColumn = work_.cols() >= work_.rows();
  const int B = byColumn ? work_.rows() : work_.cols();
  const int O = byColumn ? work_.cols() : work_.rows();
  // From the column before the group.
  for (int i = 1; i <= B - 1; ++i) {
    const int c = a + i - 1;
    if (c < 2 || c > O) continue;
    for (int n = B - i; n >= 1; --n) Cell(n, c) = Cell(n + 1, c - 1);
  }
  // From the column after it (a + b + B - 1); where both reach, this one stays.
  for (int i = 1; i <= B - 1; ++i) {
    const int c = a + b + B - 1 - i;
    if (c < 1 || c + 1 > O) continue;
    for (int n = i + 1; n <= B; ++n) Cell(n, c) = Cell(n - 1, c + 1);
  }
}

double ProjectionReconstructor::ForwardEstimate(const MaskedSeries& R, int c) const {
  const int L = work_.rows();
  const double g = R.values().dot(work_.values().col(c - 1).head(L - 1));
  if (!std::isfinite(g)) throw ExceptionForecasting();
  return g;
}

double ProjectionReconstructor::BackwardEstimate(const MaskedSeries& R, int c) const {
  const int L = work_.rows();
  const double g = R.values().dot(work_.values().col(c - 1).tail(L - 1));
  if (!std::isfinite(g)) throw ExceptionForecasting();
  return g;
}

void ProjectionReconstructor::Sequential(int a, int b, int type) {
  const int L = work_.rows();
  const int K = work_.cols();
  const int index = a + b;
  MaskedMatrix& W = work_;
  // The estimate of a series element goes into its cells of the columns c..c+n-1
  // (forward) or c-n+1..c (backward).
  auto writeForward = [&](int c, int n, double g) {
    for (int i = 0; i < n && c + i <= K; ++i) W.set(L - i, c + i, g, true);
  };
  auto writeBackward = [&](int c, int n, double g) {
    for (int i = 0; i < n && c - i >= 1; ++i) W.set(i + 1, c - i, g, true);
  };

  switch (type) {
    case kLeftSequential: {
      const MaskedSeries R = ForecastCoefficients(L);
      for (int c = std::max(a, 1); c <= std::min(index - 1, K); ++c) {
        if (W.isValid(L, c)) continue;
        writeForward(c, std::min(index - c, L), ForwardEstimate(R, c));
      }
      break;
    }
    case kRightSequential: {
      const MaskedSeries R = ForecastCoefficients(1);
      for (int c = std::min(index - 1, K); c >= std::max(a, 1); --c) {
        if (W.isValid(1, c)) continue;
        writeBackward(c, std::min(c - a + 1, L), BackwardEstimate(R, c));
      }
      break;
    }
    case kBothSidesToMiddle: {
      const MaskedSeries R = ForecastCoefficients(L);
      const MaskedSeries Rb = ForecastCoefficients(1);
      const int m = b + 1 - L;
      const int h = m / 2;
      const int o = m % 2 != 0 ? 1 : 0;
      for (int c = std::max(a, 1); c <= std::min(a + h + o, K); ++c) {
        if (W.isValid(L, c)) continue;
        writeForward(c, L, ForwardEstimate(R, c));
      }
      for (int c = std::min(index, K); c >= std::max(index - h, 1); --c) {
        if (W.isValid(1, c)) continue;
        writeBackward(c, L, BackwardEstimate(Rb, c));
      }
      break;
    }
    case kBothSidesAveraging: {
      const MaskedSeries R = ForecastCoefficients(L);
      const MaskedSeries Rb = ForecastCoefficients(1);
      // Forward estimates into the values only; the flags still say missing.
      for (int c = std::max(a, 1); c <= std::min(index, K); ++c) {
        if (W.isValid(L, c)) continue;
        const double g = ForwardEstimate(R, c);
        for (int i = 0; i < L && c + i <= K; ++i) W.value(L - i, c + i) = g;
      }
      // Backward estimates averaged with them.
      for (int c = std::min(index, K); c >= std::max(a, 1); --c) {
        if (W.isValid(1, c)) continue;
        const double g = BackwardEstimate(Rb, c);
        for (int i = 0; i < L && c - i >= 1; ++i) {
          W.set(i + 1, c - i, (W.value(i + 1, c - i) + g) * 0.5, true);
        }
      }
      break;
    }
    default:
      break;
  }
}

void ProjectionReconstructor::FillPresentEntries(const MethodApplicability& flags, int f, int& u,
                                                 int end) {
  const int L = trajectory_.rows();
  const int K = trajectory_.cols();
  bool triedCnv = false;
  bool triedPi = false;
  int m = validEntriesMethod_;
  // Each kind is tried at most once; when neither applies the present entries
  // keep the projection of the first step.
  while (true) {
    if (m == kCnv) {
      triedCnv = true;
      if (flags.cnvBothSides) {
        CnvBothSides(f, u - L + 1);
        return;
      }
      if (f + u == K && flags.cnvLeft) {
        CnvLeft(f, u + 2);
        u += 1;
        return;
      }
      if (f == 1 && flags.cnvRight) {
        CnvRight(u + 1, u + 1);
        return;
      }
      if (triedPi) return;
      m = kPiProjector;
    } else if (m == kPiProjector) {
      triedPi = true;
      if (flags.piProjector) {
        for (int j = f; j <= end; ++j) {
          MaskedSeries x = trajectory_.Column(j);
          PiProjector(x);
          work_.values().col(j - 1) = x.values();
        }
        return;
      }
      if (triedCnv) return;
      m = kCnv;
    } else {
      return;
    }
  }
}

void ProjectionReconstructor::FillMissingEntries(const MethodApplicability& flags, int f, int u,
                                                 int end) {
  const int K = trajectory_.cols();
  const int toEnd = f + u == K ? u + 1 : u;
  const bool both = flags.sequentialLeft && flags.sequentialRight;
  for (const int code : missingEntriesPriority_) {
    switch (code) {
      case kSimultaneous:
        if (flags.simultaneous) {
          for (int j = f; j <= end; ++j) {
            MaskedSeries x = work_.Column(j);
            SimultaneousFilling(x);
            work_.values().col(j - 1) = x.values();
          }
          return;
        }
        break;
      case kLeftSequential:
        if (flags.sequentialLeft) {
          Sequential(f, toEnd, kLeftSequential);
          return;
        }
        break;
      case kRightSequential:
        if (flags.sequentialRight) {
          Sequential(f, toEnd, kRightSequential);
          return;
        }
        break;
      case kBothSidesToMiddle:
      case kBothSidesAveraging:
        if (both) {
          Sequential(f, u, code);
          return;
        }
        break;
      default:
        break;
    }
  }
}

void ProjectionReconstructor::Reconstruct() {
  const MaskedMatrix& X = trajectory_;
  const int L = X.rows();
  const int K = X.cols();
  const int r = selectedEigenvectors_.cols();

  ProjectOntoEigenvectors();
  work_.flags() = X.flags();
  HankelizeCompleteRuns(work_);

  int f = 1;
  while (true) {
    while (f <= K && X.validCount(f) == L) ++f;
    if (f > K) break;
    int u = 0;
    while (f + u <= K && X.validCount(f + u) != L) ++u;
    bool atEnd = false;
    if (f + u > K) {
      u -= 1;
      atEnd = true;
    }
    const int end = atEnd ? f + u : f + u - 1;
    MethodApplicability flags = GroupApplicability(X, f, f + u == K ? f + u : f + u - 1, r);
    if (atEnd) flags.cnvRight = false;
    FillPresentEntries(flags, f, u, end);
    FillMissingEntries(flags, f, u, end);
    f = f + u + 1;
  }

  // Diagonal averaging of the repaired matrix, read off as the series.
  AverageToSeries(work_, reconstructed_);
  reconstructed_.SetAllValid(true);
}

}  // namespace vorel::reference
