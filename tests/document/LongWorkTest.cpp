// What the document hands to its host as long work: the computations that can
// take seconds on a long series run inside it, and nothing in it calls the host
// but the progress operations (the scripted host fails a test otherwise).

#include <filesystem>
#include <functional>
#include <sstream>

#include "SeriesToolsFixture.h"
#include "document/dialogs/CDialogCadzow.h"
#include "document/dialogs/CDialogComparison.h"
#include "document/dialogs/CDialogSeriesSimulation.h"

namespace vorel::test {
namespace {

using C = CDialogCadzow;
using S = CDialogSeriesSimulation;

std::string Fingerprint(const MaskedSeries& s) {
  std::ostringstream out;
  out.precision(17);
  out << s.length();
  for (int t = 1; t <= s.length(); ++t) out << ' ' << (s.isValid(t) ? s.value(t) : -0.5);
  return out.str();
}

class LongWorkTest : public SeriesToolsTest {
 protected:
  // Runs the command with the probe watching the long work, and tells whether
  // what the probe reads changed inside a long work item and ends as it was
  // left there (so the computation ran in the work, not around it).
  ::testing::AssertionResult ComputedInLongWork(const std::function<std::string()>& probe,
                                                const std::function<void()>& command) {
    host.longWorkChanges.clear();
    host.longWorkProbe = probe;
    const std::string before = probe();
    command();
    host.longWorkProbe = nullptr;
    const std::string after = probe();
    if (after == before) return ::testing::AssertionFailure() << "the command changed nothing";
    for (const auto& [start, end] : host.longWorkChanges) {
      if (start != end && end == after) return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << "no long work made the change (" << host.longWorkChanges.size() << " run)";
  }
};

TEST_F(LongWorkTest, TheAnalysisStepsComputeInLongWork) {
  EXPECT_TRUE(ComputedInLongWork([this] { return std::to_string(doc->DataTable.rows()); },
                                 [this] { OpenData(Example("sine-gaps.txt")); }));
  EXPECT_TRUE(ComputedInLongWork([this] { return Fingerprint(doc->analysis.eigenvalues); },
                                 [this] {
                                   ExpectCovariance(12);
                                   doc->ExecuteCommand(kCmdNextStep);
                                 }));
  doc->ExecuteCommand(kCmdNextStep);
  ExpectChoice({0, 1, 2});
  doc->ExecuteCommand(kCmdNextStep);
  EXPECT_TRUE(ComputedInLongWork([this] { return Fingerprint(doc->analysis.reconstructed); },
                                 [this] {
                                   ExpectReconstruction(0);
                                   doc->ExecuteCommand(kCmdNextStep);
                                 }));
  ExpectSteps(kStepResiduals, PageInitialAndReconstructed, PageInitialAndReconstructed);

  // Cadzow iterations: the whole loop, its progress included, is one work.
  const int before = host.longWorks;
  EXPECT_TRUE(ComputedInLongWork([this] { return Fingerprint(doc->analysis.reconstructed); },
                                 [this] {
                                   host.Expect("CDialogCadzow").Type(C::kIdIterations, "3").Ok();
                                   doc->ExecuteCommand(kCmdCadzow);
                                 }));
  ASSERT_EQ(host.longWorks, before + 1);
  EXPECT_EQ(host.progressInLongWork.back(),
            (std::vector<std::string>{"begin 0 3", "show", "step", "step", "step", "hide"}));
  EXPECT_EQ(host.waitCursorDepth, 0);

  // The series written out.
  const std::string out = dir + "/out.txt";
  EXPECT_TRUE(ComputedInLongWork(
      [&out] {
        std::error_code ec;
        return std::to_string(std::filesystem::file_size(out, ec));
      },
      [&] {
        host.Expect("CDialogSetDelimiterSave").Ok();
        host.AnswerSaveFile(out);
        doc->ExecuteCommand(kCmdSaveSeries);
      }));
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(LongWorkTest, AdditionalInformationAndSimulationComputeInLongWork) {
  OpenData(Example("sine-gaps.txt"));
  EXPECT_TRUE(ComputedInLongWork([this] { return Fingerprint(doc->analysis.columnsAfterDeletion); },
                                 [this] {
                                   host.Expect("CDialogCovarianceMatrix")
                                       .Type(CDialogCovarianceMatrix::kIdWindowLength, "20")
                                       .Press(CDialogCovarianceMatrix::kIdAdditionalInfo);
                                   doc->ExecuteCommand(kCmdNextStep);
                                 }));
  EXPECT_EQ(doc->currentPage, PageAdditionalInfo);

  EXPECT_TRUE(ComputedInLongWork([this] { return Fingerprint(doc->analysis.series); },
                                 [this] {
                                   host.Expect("CDialogSeriesSimulation")
                                       .Type(S::kIdLength, "500")
                                       .Type(S::kIdValue, "2.5")
                                       .Press(S::kIdAddConstant)
                                       .Ok();
                                   doc->ExecuteCommand(kCmdSimulateSeries);
                                 }));
  EXPECT_EQ(doc->analysis.length(), 500);
  EXPECT_DOUBLE_EQ(doc->analysis.series.value(500), 2.5);
}

// A failure inside the work reaches the command as it did before: the
// reconstruction's dialog reopens after the message.
TEST_F(LongWorkTest, AFailureInTheWorkReachesTheCommand) {
  OpenData(Example("sine-gaps.txt"));
  const int before = host.longWorks;
  host.Expect("CDialogCovarianceMatrix")
      .Type(CDialogCovarianceMatrix::kIdWindowLength, "60")  // N: refused
      .Ok()
      .Cancel();
  doc->ExecuteCommand(kCmdNextStep);
  EXPECT_GT(host.longWorks, before);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].dialog, "CDialogCovarianceMatrix");
  ExpectSteps(kStepCovariance, PageInitialSeries, PageInitialSeries);
}

}  // namespace
}  // namespace vorel::test
