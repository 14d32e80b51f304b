#include "engine/ProjectionReconstructor.h"

#include <Eigen/Cholesky>
#include <Eigen/Eigenvalues>
#include <algorithm>
#include <cmath>
#include <vector>

#include "engine/Exceptions.h"
#include "engine/SsaAnalysis.h"

namespace vorel {

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

// y := (I_r + U_M^T (I_a - U_M U_M^T)^-1 U_M) v, the coefficients on U of the
// PI projector's result for v = U_P^T x_P; false when the matrix is singular.
bool PiCoefficients(const Matrix& UM, const Vector& v, Vector& y) {
  Vector w;
  if (!SolveMissingSide(UM, v, w)) return false;
  y = v + UM.transpose() * w;
  return true;
}

// z := S^-1 b by a Cholesky factorisation, taken only when it shows S well
// away from singular: the smallest eigenvalue of S is at least 1 / |S^-1|_F,
// and a bound of 1e-3 keeps the rounding of the solve far below what the
// eigen-decomposition of SolveSymmetric would leave. False otherwise (the
// caller then decides by SolveSymmetric, as the single column does).
bool SolveWellConditioned(const Matrix& S, const Vector& b, Vector& z) {
  constexpr double kLargestInverseNorm = 1e3;
  const Eigen::LLT<Matrix> llt(S);
  if (llt.info() != Eigen::Success) return false;
  const Matrix inverse = llt.solve(Matrix::Identity(S.rows(), S.cols()));
  if (!(inverse.norm() < kLargestInverseNorm)) return false;
  z.noalias() = inverse * b;
  return z.allFinite();
}

// PiCoefficients for a well-conditioned matrix, on the smaller side; false
// when the bound does not hold.
bool PiCoefficientsWellConditioned(const Matrix& UM, const Vector& v, Vector& y) {
  const Eigen::Index a = UM.rows();
  const Eigen::Index r = UM.cols();
  if (a <= r) {
    Matrix S = Matrix::Identity(a, a);
    S.noalias() -= UM * UM.transpose();
    Vector w;
    if (!SolveWellConditioned(S, UM * v, w)) return false;
    y = v;
    y.noalias() += UM.transpose() * w;
    return y.allFinite();
  }
  // U_P^T U_P = I_r - U_M^T U_M, and y = (U_P^T U_P)^-1 v.
  Matrix S = Matrix::Identity(r, r);
  S.noalias() -= UM.transpose() * UM;
  return SolveWellConditioned(S, v, y);
}

}  // namespace

void ProjectionReconstructor::PiProjector(MaskedSeries& x) const {
  const Matrix& U = selectedEigenvectors_.values();
  const SplitBasis s = Split(U, x);
  Vector y = s.v;
  if (!s.missingRows.empty()) {
    // All L eigentriples: I_a - U_M U_M^T is singular in exact arithmetic.
    if (U.cols() >= U.rows()) throw ExceptionProjectorPi();
    if (!PiCoefficients(s.UM, s.v, y)) throw ExceptionProjectorPi();
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
  const int L = dense_.rows();
  const int K = dense_.cols();
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
          MaskedSeries x = dense_.Column(j);
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
  const int K = dense_.cols();
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

void ProjectionReconstructor::ProjectDense() {
  // W := U (X^T U)^T with the principal components of incomplete lagged
  // vectors scaled by L / m(j); here W is no larger than the covariance.
  const Matrix& X = dense_.values();
  const Matrix& U = selectedEigenvectors_.values();
  const double L = static_cast<double>(X.rows());
  Matrix P;
  P.noalias() = X.transpose() * U;
  for (Eigen::Index j = 0; j < X.cols(); ++j) {
    const double m = dense_.validCount(static_cast<int>(j) + 1);
    if (m < L && m > 0) P.row(j) = P.row(j) * L / m;
  }
  work_.Resize(dense_.rows(), dense_.cols());
  work_.values().noalias() = U * P.transpose();
}

void ProjectionReconstructor::Reconstruct() {
  if (trajectory_.fullCols() < trajectory_.rows()) {
    ReconstructDense();
  } else {
    ReconstructByColumns();
  }
}

void ProjectionReconstructor::ReconstructDense() {
  const int L = trajectory_.rows();
  const int K = trajectory_.fullCols();
  const int r = selectedEigenvectors_.cols();
  dense_ = MaskedMatrix(L, K);
  for (int j = 1; j <= K; ++j) {
    for (int i = 1; i <= L; ++i) {
      const Eigen::Index t = i + j - 2;
      dense_.set(i, j, trajectory_.x()(t), trajectory_.flags()(t) != 0);
    }
    dense_.setValidCount(j, trajectory_.fullValidCount(j - 1));
  }
  const MaskedMatrix& X = dense_;

  ProjectDense();
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
  MaskedSeries averaged;
  AverageToSeries(work_, averaged);
  SetReconstructed(averaged.values());
}

// ---------------------------------------------------------------------------
// K >= L: column by column.

namespace {

enum class Present { kNone, kPi, kCnvLeft, kCnvRight, kCnvBothSides };

}  // namespace

struct ProjectionReconstructor::Group {
  int f = 1;           // first column (1-based)
  int u = 0;           // as in the walk; grows by one after CnvLeft
  int end = 1;         // last column the PI projector and simultaneous filling treat
  int claimedEnd = 1;  // last column whose values the group decides
  Present present = Present::kNone;
  int cnvCount = 0;      // CnvLeft: columns f..f + cnvCount - 2
  int missing = 0;       // 0: none, else the code of the missing-entries method
  int sequentialB = 0;   // b of the sequential method
};

Vector ProjectionReconstructor::RunAveragedColumn(int column, int lo, int hi) const {
  const int L = trajectory_.rows();
  const Matrix& U = selectedEigenvectors_.values();
  Vector sums = Vector::Zero(L);
  Vector counts = Vector::Zero(L);
  Vector p;
  for (int j = std::max(lo, column - L + 1); j <= std::min(hi, column + L - 1); ++j) {
    Components(j - 1, p);
    const Vector v = U * p;
    // Row i of column j is element i + j - 1, row i + j - column of `column`.
    for (int i = 1; i <= L; ++i) {
      const int row = i + j - column;
      if (row < 1 || row > L) continue;
      sums(row - 1) += v(i - 1);
      counts(row - 1) += 1.0;
    }
  }
  return (sums.array() / counts.array()).matrix();
}

void ProjectionReconstructor::ReconstructByColumns() {
  const int L = trajectory_.rows();
  const int K = trajectory_.fullCols();
  const int r = selectedEigenvectors_.cols();
  const HankelTrajectory& X = trajectory_;
  auto count = [&](int j) { return X.fullValidCount(j - 1); };

  Vector sums = Vector::Zero(X.seriesLength());
  int done = 0;  // columns 1..done are added
  int f = 1;
  while (true) {
    while (f <= K && count(f) == L) ++f;
    if (f > K) break;
    Group g;
    g.f = f;
    int u = 0;
    while (f + u <= K && count(f + u) != L) ++u;
    bool atEnd = false;
    if (f + u > K) {
      u -= 1;
      atEnd = true;
    }
    g.end = atEnd ? f + u : f + u - 1;
    g.claimedEnd = g.end;
    MethodApplicability flags = GroupApplicability(X, f, f + u == K ? f + u : f + u - 1, r);
    if (atEnd) flags.cnvRight = false;

    // Present entries: each kind tried at most once, validEntriesMethod first.
    bool triedCnv = false;
    bool triedPi = false;
    int m = validEntriesMethod_;
    while (true) {
      if (m == kCnv) {
        triedCnv = true;
        if (flags.cnvBothSides) {
          g.present = Present::kCnvBothSides;
          break;
        }
        if (f + u == K && flags.cnvLeft) {
          g.present = Present::kCnvLeft;
          g.cnvCount = u + 2;
          g.claimedEnd = std::min(K, f + u);
          u += 1;
          break;
        }
        if (f == 1 && flags.cnvRight) {
          g.present = Present::kCnvRight;
          break;
        }
        if (triedPi) break;
        m = kPiProjector;
      } else if (m == kPiProjector) {
        triedPi = true;
        if (flags.piProjector) {
          g.present = Present::kPi;
          break;
        }
        if (triedCnv) break;
        m = kCnv;
      } else {
        break;
      }
    }
    g.u = u;

    // Missing entries: the first applicable code of the priority list.
    const int toEnd = f + u == K ? u + 1 : u;
    const bool both = flags.sequentialLeft && flags.sequentialRight;
    for (const int code : missingEntriesPriority_) {
      if (code == kSimultaneous && flags.simultaneous) {
        g.missing = code;
      } else if (code == kLeftSequential && flags.sequentialLeft) {
        g.missing = code;
        g.sequentialB = toEnd;
      } else if (code == kRightSequential && flags.sequentialRight) {
        g.missing = code;
        g.sequentialB = toEnd;
      } else if ((code == kBothSidesToMiddle || code == kBothSidesAveraging) && both) {
        g.missing = code;
        g.sequentialB = u;
      }
      if (g.missing != 0) break;
    }

    AddProjectedSums(done, f - 2, sums);
    ReconstructGroup(g, sums);
    done = g.claimedEnd;
    f = f + u + 1;
  }
  AddProjectedSums(done, K - 1, sums);

  SumsToMeans(sums, L, K);
  SetReconstructed(std::move(sums));
}

void ProjectionReconstructor::AddPiSimultaneousSums(int first, int last, Vector& sums) const {
  const HankelTrajectory& X = trajectory_;
  const int L = X.rows();
  const Matrix& U = selectedEigenvectors_.values();
  const Eigen::Index r = U.cols();
  // The missing elements under the columns, 0-based, in order.
  std::vector<int> gaps;
  for (int e = first - 1; e <= last + L - 2; ++e) {
    if (X.flags()(e) == 0) gaps.push_back(e);
  }
  ForEachColumnBlock(first, last, [&](int c0, int c1) {
    const int nb = c1 - c0 + 1;
    // U^T x_j with the missing elements 0 is U_P^T x_P of every column.
    Matrix V;
    V.noalias() = LaggedVectors(c0 - 1, nb).transpose() * U;
    Matrix Y(nb, r);
    Matrix UM;
    Vector v, y;
    auto gap = std::lower_bound(gaps.begin(), gaps.end(), c0 - 1);
    for (int k = 0; k < nb; ++k) {
      const int start = c0 - 1 + k;  // element of row 1
      while (gap != gaps.end() && *gap < start) ++gap;
      auto end = gap;
      while (end != gaps.end() && *end < start + L) ++end;
      v = V.row(k).transpose();
      const auto a = static_cast<Eigen::Index>(end - gap);
      if (a == 0) {
        Y.row(k) = v.transpose();
        continue;
      }
      // All L eigentriples: I_a - U_M U_M^T is singular in exact arithmetic.
      if (r >= L) throw ExceptionProjectorPi();
      UM.resize(a, r);
      for (Eigen::Index i = 0; i < a; ++i) UM.row(i) = U.row(gap[i] - start);
      if (!PiCoefficientsWellConditioned(UM, v, y) && !PiCoefficients(UM, v, y)) {
        throw ExceptionProjectorPi();
      }
      Y.row(k) = y.transpose();
    }
    if (!Y.allFinite()) throw ExceptionProjectorPi();
    AddAlongAntiDiagonals(U, Y, c0 - 1, sums);
  });
}

void ProjectionReconstructor::ReconstructGroup(const Group& g, Vector& sums) const {
  if (g.present == Present::kPi && g.missing == kSimultaneous && g.claimedEnd == g.end) {
    AddPiSimultaneousSums(g.f, g.end, sums);
    return;
  }
  const HankelTrajectory& X = trajectory_;
  const int L = X.rows();
  const int K = X.fullCols();
  const Matrix& U = selectedEigenvectors_.values();
  const int f = g.f;
  auto complete = [&](int j) { return X.fullValidCount(j - 1) == L; };

  // The complete columns next to the group, averaged over their runs.
  Vector before, after;
  int afterColumn = 0;
  if (g.present == Present::kCnvLeft || g.present == Present::kCnvBothSides) {
    int lo = f - 1;
    while (lo > 1 && lo > f - L && complete(lo - 1)) --lo;
    before = RunAveragedColumn(f - 1, lo, f - 1);
  }
  if (g.present == Present::kCnvRight || g.present == Present::kCnvBothSides) {
    afterColumn = g.present == Present::kCnvRight ? g.u + 1 : f + g.u;
    int hi = afterColumn;
    while (hi < K && hi < afterColumn + L - 1 && complete(hi + 1)) ++hi;
    after = RunAveragedColumn(afterColumn, afterColumn, hi);
  }
  const int b = g.u - L + 1;  // CnvBothSides: the column after is f + b + L - 1

  // Column c after the present entries: the projection, its present rows
  // replaced by the PI projector (missing rows then 0, as stored in X), or
  // cells replaced by CNV copies along the anti-diagonals.
  auto base = [&](int c, Vector& w) {
    if (g.present == Present::kPi && c <= g.end) {
      MaskedSeries x = X.Column(c);
      PiProjector(x);
      w = x.values();
      return;
    }
    Vector p;
    Components(c - 1, p);
    w.noalias() = U * p;
    const auto fromBefore = [&](int lastColumn) {
      if (c < std::max(f, 2) || c > std::min(lastColumn, K)) return;
      // Rows n <= L - (c - f + 1) take element n + c - 1 of column f - 1.
      for (int n = 1; n <= L - (c - f + 1); ++n) w(n - 1) = before(n + c - f);
    };
    const auto fromAfter = [&](int firstColumn) {
      if (c < std::max(firstColumn, 1) || c > std::min(afterColumn - 1, K - 1)) return;
      // Rows n >= afterColumn - c + 1 take element n + c - 1 of the column after.
      for (int n = afterColumn - c + 1; n <= L; ++n) w(n - 1) = after(n + c - afterColumn - 1);
    };
    switch (g.present) {
      case Present::kCnvLeft:
        fromBefore(f + g.cnvCount - 2);
        break;
      case Present::kCnvRight:
        fromAfter(1);
        break;
      case Present::kCnvBothSides:
        fromBefore(f + L - 2);
        fromAfter(f + b);
        break;
      default:
        break;
    }
  };

  const bool sequential = g.missing >= kLeftSequential && g.missing <= kBothSidesAveraging;
  if (g.present == Present::kPi && sequential) {
    // The PI projector treats every column before any estimate is made: its
    // failure comes first.
    AddColumnSums(f, g.end, [&](int c, Vector& out) { base(c, out); }, nullptr);
  }

  // One estimate per series element of the group: state 0 none, 1 value only
  // (the forward pass of the averaging method), 2 value and marked present.
  const int e0 = f;  // first element of the group's columns
  const int elements = g.claimedEnd + L - f;
  std::vector<double> estimate;
  std::vector<unsigned char> state;
  if (sequential) {
    estimate.assign(static_cast<size_t>(elements), 0.0);
    state.assign(static_cast<size_t>(elements), 0);
  }
  auto missing = [&](int e) {
    return X.flags()(e - 1) == 0 && state[static_cast<size_t>(e - e0)] != 2;
  };
  auto set = [&](int e, double v, unsigned char st) {
    estimate[static_cast<size_t>(e - e0)] = v;
    state[static_cast<size_t>(e - e0)] = st;
  };
  auto overlay = [&](int c, Vector& w) {
    for (int i = 1; i <= L; ++i) {
      const int e = i + c - 1;
      if (e < e0 || e - e0 >= elements) continue;
      if (state[static_cast<size_t>(e - e0)] != 0) w(i - 1) = estimate[static_cast<size_t>(e - e0)];
    }
  };
  Vector w(L);
  auto column = [&](int c) -> const Vector& {
    base(c, w);
    overlay(c, w);
    return w;
  };
  auto forward = [&](const MaskedSeries& R, int c) {
    const double v = R.values().dot(column(c).head(L - 1));
    if (!std::isfinite(v)) throw ExceptionForecasting();
    return v;
  };
  auto backward = [&](const MaskedSeries& R, int c) {
    const double v = R.values().dot(column(c).tail(L - 1));
    if (!std::isfinite(v)) throw ExceptionForecasting();
    return v;
  };

  if (sequential) {
    const int a = f;
    const int index = a + g.sequentialB;
    switch (g.missing) {
      case kLeftSequential: {
        const MaskedSeries R = ForecastCoefficients(L);
        for (int c = std::max(a, 1); c <= std::min(index - 1, K); ++c) {
          if (missing(c + L - 1)) set(c + L - 1, forward(R, c), 2);
        }
        break;
      }
      case kRightSequential: {
        const MaskedSeries R = ForecastCoefficients(1);
        for (int c = std::min(index - 1, K); c >= std::max(a, 1); --c) {
          if (missing(c)) set(c, backward(R, c), 2);
        }
        break;
      }
      case kBothSidesToMiddle: {
        const MaskedSeries R = ForecastCoefficients(L);
        const MaskedSeries Rb = ForecastCoefficients(1);
        const int m = g.sequentialB + 1 - L;
        const int h = m / 2;
        const int o = m % 2 != 0 ? 1 : 0;
        for (int c = std::max(a, 1); c <= std::min(a + h + o, K); ++c) {
          if (missing(c + L - 1)) set(c + L - 1, forward(R, c), 2);
        }
        for (int c = std::min(index, K); c >= std::max(index - h, 1); --c) {
          if (missing(c)) set(c, backward(Rb, c), 2);
        }
        break;
      }
      case kBothSidesAveraging: {
        const MaskedSeries R = ForecastCoefficients(L);
        const MaskedSeries Rb = ForecastCoefficients(1);
        for (int c = std::max(a, 1); c <= std::min(index, K); ++c) {
          if (missing(c + L - 1)) set(c + L - 1, forward(R, c), 1);
        }
        for (int c = std::min(index, K); c >= std::max(a, 1); --c) {
          if (!missing(c)) continue;
          const double gb = backward(Rb, c);
          // Every element the backward pass meets had its forward estimate:
          // it lies after the complete column before the group.
          const double fw = estimate[static_cast<size_t>(c - e0)];
          set(c, (fw + gb) * 0.5, 2);
        }
        break;
      }
      default:
        break;
    }
  }

  // The group's columns, repaired, along their anti-diagonals.
  AddColumnSums(
      f, g.claimedEnd,
      [&](int c, Vector& out) {
        base(c, out);
        if (g.missing == kSimultaneous && c <= g.end) {
          MaskedSeries x(L);
          x.values() = out;
          x.flags() = X.flags().segment(c - 1, L);
          SimultaneousFilling(x);
          out = x.values();
        }
        if (sequential) overlay(c, out);
      },
      &sums);
}

}  // namespace vorel
