// The engine computes the trajectory, the covariance and both reconstructions
// from the series itself; the plain dense analysis in reference/ stores the
// L x K matrices. Both must agree on every series of a table of small cases.

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>

#include "TestSeries.h"
#include "engine/AbstractException.h"
#include "engine/Exceptions.h"
#include "engine/SsaAnalysis.h"
#include "engine/reference/DenseReference.h"

namespace vorel {
namespace {

using test::kNaN;
using test::MakeSeries;

constexpr double kRelative = 1e-10;

struct SeriesCase {
  const char* name;
  std::vector<double> x;
  std::vector<int> windows;
};

std::vector<double> Wavy(int n) {
  std::vector<double> x(static_cast<size_t>(n));
  for (int t = 1; t <= n; ++t) {
    x[t - 1] = 2.0 + std::sin(0.7 * t) + 0.5 * std::cos(0.31 * t) + 0.05 * ((t * 7) % 5);
  }
  return x;
}

std::vector<double> Gaps(std::vector<double> x, std::initializer_list<std::pair<int, int>> runs) {
  for (const auto& [from, to] : runs) {
    for (int t = from; t <= to; ++t) x[static_cast<size_t>(t - 1)] = kNaN;
  }
  return x;
}

const std::vector<SeriesCase>& Cases() {
  static const std::vector<SeriesCase> cases = {
      {"complete", Wavy(24), {2, 5, 12, 18}},
      {"gaps at both ends", Gaps(Wavy(30), {{1, 2}, {29, 30}}), {3, 6, 22}},
      {"gap longer than L", Gaps(Wavy(36), {{14, 22}}), {4, 7, 26}},
      {"single gaps", Gaps(Wavy(32), {{5, 5}, {12, 12}, {25, 25}}), {3, 5, 9, 24}},
      {"gaps closer than L", Gaps(Wavy(34), {{10, 11}, {14, 14}, {20, 22}}), {4, 6}},
      {"long gap at the start", Gaps(Wavy(30), {{1, 8}}), {4, 6, 21}},
      {"long gap at the end", Gaps(Wavy(30), {{22, 30}}), {5, 20}},
      {"K < L, scattered", Gaps(Wavy(21), {{3, 3}, {9, 10}, {17, 17}}), {13, 17}},
  };
  return cases;
}

// max |a - b| <= kRelative * max(max |b|, 1e-300)
::testing::AssertionResult Close(const Matrix& a, const Matrix& b) {
  if (a.rows() != b.rows() || a.cols() != b.cols()) {
    return ::testing::AssertionFailure() << "shapes differ";
  }
  const double scale = std::max(b.cwiseAbs().maxCoeff(), 1e-300);
  const double error = (a - b).cwiseAbs().maxCoeff();
  if (!(error <= kRelative * scale)) {
    return ::testing::AssertionFailure() << "relative error " << error / scale;
  }
  return ::testing::AssertionSuccess();
}

// The result of a reconstruction: the series or the message of its failure.
struct Outcome {
  std::optional<Vector> values;
  std::string message;
};

template <class F>
Outcome Attempt(F&& reconstruct) {
  Outcome out;
  try {
    out.values = reconstruct();
  } catch (const AbstractException& e) {
    out.message = e.message();
  }
  return out;
}

void ExpectSameOutcome(const Outcome& fast, const Outcome& dense, const std::string& where) {
  ASSERT_EQ(fast.values.has_value(), dense.values.has_value())
      << where << ": " << fast.message << " / " << dense.message;
  if (!dense.values) {
    EXPECT_EQ(fast.message, dense.message) << where;
    return;
  }
  EXPECT_TRUE(Close(*fast.values, *dense.values)) << where;
}

// Windows wider than the shortest runs the covariance sums directly: runs of
// kept columns shorter than L but long enough for running sums, and runs of at
// least L columns, complete or not. With L = 150, threshold 0 keeps the
// complete columns 101..151, 304..371 and 524..651; threshold 1 keeps
// 1..153, 302..373 and 522..651, most of them with a missing element.
std::vector<SeriesCase> CovarianceCases() {
  std::vector<SeriesCase> cases = Cases();
  cases.push_back({"runs shorter and longer than L",
                   Gaps(Wavy(800), {{100, 100}, {301, 301}, {303, 303}, {521, 521}, {523, 523}}),
                   {150}});
  return cases;
}

TEST(HankelFastPaths, TrajectoryAndCovarianceMatchTheDenseProducts) {
  for (const SeriesCase& c : CovarianceCases()) {
    for (const int L : c.windows) {
      SsaAnalysis a;
      a.series = MakeSeries(c.x);
      a.SetWindowLength(L);
      a.BuildTrajectory();
      const MaskedMatrix X = reference::Trajectory(a.series, L);
      const MaskedMatrix view = reference::Materialize(a.trajectory);
      ASSERT_EQ(view.values(), X.values()) << c.name;
      ASSERT_EQ(view.flags(), X.flags()) << c.name;
      for (int j = 1; j <= X.cols(); ++j) ASSERT_EQ(a.trajectory.validCount(j), X.validCount(j));

      // Every threshold for the small windows; the wide one at the thresholds
      // that change its runs.
      std::vector<int> thresholds;
      for (int t = 0; t <= L; ++t) {
        if (L < 64 || t <= 2 || t == L) thresholds.push_back(t);
      }
      for (const int t : thresholds) {
        const std::string where = std::string(c.name) + " L=" + std::to_string(L) +
                                  " threshold=" + std::to_string(t);
        try {
          a.SetThreshold(t);
        } catch (const ExceptionThresholdDeleteAllVectors&) {
          continue;
        }
        a.ApplyThreshold();
        const MaskedMatrix kept = reference::KeptColumns(X, t);
        const MaskedMatrix keptView = reference::Materialize(a.keptTrajectory);
        ASSERT_EQ(keptView.values(), kept.values()) << where;
        ASSERT_EQ(keptView.flags(), kept.flags()) << where;

        a.covarianceMethod = kCovarianceSvd;
        a.BuildCovariance();
        EXPECT_TRUE(Close(a.covariance, reference::SvdCovariance(kept))) << where;
        a.covarianceMethod = kCovarianceToeplitz;
        a.BuildCovariance();
        EXPECT_TRUE(Close(a.covariance, reference::ToeplitzCovariance(a.series, L))) << where;
      }
    }
  }
}

TEST(HankelFastPaths, ReconstructionsMatchTheDenseWorkingMatrix) {
  using Priority = std::array<int, 5>;
  // Each missing-entries method first once, the others after it.
  const Priority priorities[] = {
      {12, 13, 14, 15, 16}, {13, 12, 14, 15, 16}, {14, 12, 13, 15, 16},
      {15, 12, 13, 14, 16}, {16, 12, 13, 14, 15},
  };
  int projections = 0, failures = 0;
  for (const SeriesCase& c : Cases()) {
    for (const int L : c.windows) {
      for (const int method : {kCovarianceSvd, kCovarianceToeplitz}) {
        SsaAnalysis a;
        a.series = MakeSeries(c.x);
        a.SetWindowLength(L);
        a.BuildTrajectory();
        a.SetThreshold(L);
        a.ApplyThreshold();
        a.covarianceMethod = method;
        a.BuildCovariance();
        a.Decompose();
        const MaskedMatrix X = reference::Trajectory(a.series, L);
        for (const int r : {1, 2, L - 1, L}) {
          if (r < 1 || r > L) continue;
          std::vector<unsigned char> flags(static_cast<size_t>(L), 0);
          std::fill(flags.begin(), flags.begin() + r, 1);
          a.SelectEigentriples(flags);
          const MaskedMatrix U = a.selectedEigenvectors;
          const std::string where = std::string(c.name) + " L=" + std::to_string(L) +
                                    " method=" + std::to_string(method) +
                                    " r=" + std::to_string(r);

          a.reconstructionMethod = kPrincipalComponents;
          ExpectSameOutcome(Attempt([&] {
                              a.Reconstruct();
                              return a.reconstructed.values();
                            }),
                            Attempt([&] {
                              return reference::PcReconstruction(a.series, X, U).values();
                            }),
                            where + " pc");

          for (const int valid : {kPiProjector, kCnv}) {
            for (const Priority& priority : priorities) {
              a.reconstructionMethod = kProjection;
              a.validEntriesMethod = valid;
              a.missingEntriesPriority = priority;
              const Outcome fast = Attempt([&] {
                a.Reconstruct();
                return a.reconstructed.values();
              });
              const Outcome dense = Attempt([&] {
                return reference::ProjectionReconstruction(a.series, X, U, valid, priority)
                    .values();
              });
              ExpectSameOutcome(fast, dense,
                                where + " projection " + std::to_string(valid) + "/" +
                                    std::to_string(priority[0]));
              ++projections;
              failures += dense.values ? 0 : 1;
            }
          }
        }
      }
    }
  }
  // The table must reach both the results and the failures of the methods.
  EXPECT_GT(failures, 0);
  EXPECT_LT(failures, projections / 2);
}

}  // namespace
}  // namespace vorel
