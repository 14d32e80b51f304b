// The covariance matrix dialog: checks in order, partial effects, and the
// additional-information path.

#include "DocumentFixture.h"
#include "document/dialogs/CDialogEditSourceSeries.h"
#include "engine/Exceptions.h"

namespace vorel::test {
namespace {

using D = CDialogCovarianceMatrix;

class CovarianceDialogTest : public DocumentTest {
 protected:
  void SetUp() override {
    DocumentTest::SetUp();
    // 20 values, 6 and 7 missing; the window length starts at 10.
    OpenData(WriteSeries("s.txt", SineCells(20, {6, 7})));
  }
};

TEST_F(CovarianceDialogTest, ShowsTheAnalysisParameters) {
  ExpectCovariance(5, 1, 1);
  doc->ExecuteCommand(kCmdNextStep);
  doc->ExecuteCommand(kCmdPageInitialSeries);
  host.Expect("CDialogCovarianceMatrix")
      .Do([](Dialog&, DialogControls& c) {
        EXPECT_EQ(c.Text(D::kIdWindowLength), "5");
        EXPECT_EQ(c.Text(D::kIdThreshold), "1");
        EXPECT_EQ(c.State(D::kIdSvd), 1);
      })
      .Cancel();
  doc->ExecuteCommand(kCmdCovarianceMatrix);
  EXPECT_EQ(doc->analysis.covarianceMethod, kCovarianceToeplitz);
  EXPECT_EQ(doc->analysis.threshold(), 1);
  ExpectSteps(32, 22, 24);
}

TEST_F(CovarianceDialogTest, OkRunsTheDecompositionAndClearsTheChoice) {
  ExpectCovariance(5, 2, 0);
  doc->ExecuteCommand(kCmdNextStep);
  const SsaAnalysis& a = doc->analysis;
  EXPECT_EQ(a.windowLength(), 5);
  EXPECT_EQ(a.cadzowWindowLength(), 5);
  EXPECT_EQ(a.threshold(), 2);
  EXPECT_EQ(a.covarianceMethod, kCovarianceSvd);
  EXPECT_EQ(a.trajectory.rows(), 5);
  EXPECT_EQ(a.eigenvalues.length(), 5);
  EXPECT_EQ(a.eigenvectors.rows(), 5);
  EXPECT_EQ(a.SelectedCount(), 0);
  // Every kept column has at most 2 missing components: all 16 are kept.
  EXPECT_EQ(a.keptTrajectory.cols(), 16);
}

// Each refusal shows its message and keeps the dialog open; what the steps
// before the failing one stored stays stored.
TEST_F(CovarianceDialogTest, RefusalsInOrder) {
  struct Case {
    const char* name;
    const char* windowLength;
    const char* threshold;
    std::string message;
    int windowLengthAfter;  // of the analysis, while the dialog is still open
  };
  const std::vector<Case> cases{
      {"window length N", "20", "0", ExceptionWindowLength::kMessage, 10},
      {"window length 1", "1", "0", ExceptionWindowLength::kMessage, 10},
      {"threshold above L", "5", "6", ExceptionThresholdOutOfRange::kMessage, 5},
      {"negative threshold", "6", "-1", ExceptionThresholdOutOfRange::kMessage, 6},
      // With L = 15 every lagged vector holds a missing value.
      {"no vector kept", "15", "0", ExceptionThresholdDeleteAllVectors::kMessage, 15},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    host.messages.clear();
    host.Expect("CDialogCovarianceMatrix")
        .Type(D::kIdWindowLength, c.windowLength)
        .Type(D::kIdThreshold, c.threshold)
        .Ok()
        .Do([&](Dialog& d, DialogControls&) {
          EXPECT_FALSE(d.ended());
          EXPECT_EQ(doc->analysis.windowLength(), c.windowLengthAfter);
          EXPECT_EQ(doc->analysis.trajectory.rows(), c.windowLengthAfter);
          EXPECT_EQ(doc->analysis.threshold(), 0);
        })
        .Cancel();
    doc->ExecuteCommand(kCmdNextStep);
    EXPECT_EQ(host.messageTexts(), std::vector<std::string>{c.message});
    ExpectSteps(31, 22, 22);
  }
}

TEST_F(CovarianceDialogTest, WindowLengthNMinusOneIsAccepted) {
  // No missing value, so that some lagged vector of length 19 is complete.
  OpenData(WriteSeries("full.txt", SineCells(20)));
  ExpectCovariance(19);
  doc->ExecuteCommand(kCmdNextStep);
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(doc->analysis.windowLength(), 19);
  ExpectSteps(32, 23, 24);
}

TEST_F(CovarianceDialogTest, ThresholdAboveLIsRefusedWithoutMissingValues) {
  OpenData(WriteSeries("full.txt", SineCells(20)));
  host.Expect("CDialogCovarianceMatrix")
      .Type(D::kIdWindowLength, "4")
      .Type(D::kIdThreshold, "5")
      .Ok()
      .Cancel();
  doc->ExecuteCommand(kCmdNextStep);
  EXPECT_EQ(host.messageTexts(), std::vector<std::string>{ExceptionThresholdOutOfRange::kMessage});
}

// A field that does not parse shows the framework's message and the dialog
// stays open with what was typed: nothing is computed from the values the
// fields held before (the window length, method and threshold stay as they were).
TEST_F(CovarianceDialogTest, UnparsedFieldKeepsTheDialogOpenAndComputesNothing) {
  const int L = doc->analysis.windowLength();
  host.Expect("CDialogCovarianceMatrix")
      .Type(D::kIdWindowLength, "7x")
      .Choose(D::kIdSvd, 1)
      .Type(D::kIdThreshold, "99")
      .Ok()
      .Do([](Dialog& d, DialogControls& c) {
        EXPECT_FALSE(d.ended());
        EXPECT_EQ(c.Text(D::kIdWindowLength), "7x");
      })
      .Cancel();
  doc->ExecuteCommand(kCmdNextStep);
  EXPECT_EQ(host.messageTexts(), std::vector<std::string>{"Please enter an integer."});
  EXPECT_EQ(doc->analysis.windowLength(), L);
  EXPECT_EQ(doc->analysis.covarianceMethod, kCovarianceSvd);
  EXPECT_EQ(doc->analysis.threshold(), 0);
  EXPECT_EQ(doc->nextStep, kStepCovariance);

  // The threshold does not parse; "Additional information" stops there too.
  host.messages.clear();
  host.Expect("CDialogCovarianceMatrix")
      .Type(D::kIdWindowLength, " 6 ")
      .Choose(D::kIdSvd, 1)
      .Type(D::kIdThreshold, "")
      .Ok()
      .Press(D::kIdAdditionalInfo)
      .Do([](Dialog& d, DialogControls& c) {
        EXPECT_FALSE(d.ended());
        EXPECT_EQ(c.Text(D::kIdThreshold), "");
      })
      .Cancel();
  doc->ExecuteCommand(kCmdNextStep);
  EXPECT_EQ(host.messageTexts(),
            (std::vector<std::string>{"Please enter an integer.", "Please enter an integer."}));
  EXPECT_EQ(doc->analysis.windowLength(), L);
  EXPECT_FALSE(doc->addInfoRequested);
  EXPECT_EQ(doc->nextStep, kStepCovariance);
}

TEST_F(CovarianceDialogTest, AdditionalInformationWithAnInvalidWindowLength) {
  host.Expect("CDialogCovarianceMatrix")
      .Type(D::kIdWindowLength, "20")
      .Press(D::kIdAdditionalInfo)
      .Do([](Dialog& d, DialogControls&) { EXPECT_FALSE(d.ended()); })
      .Cancel();
  doc->ExecuteCommand(kCmdNextStep);
  EXPECT_EQ(host.messageTexts(), std::vector<std::string>{ExceptionWindowLength::kMessage});
  EXPECT_EQ(doc->analysis.windowLength(), 10);
  EXPECT_EQ(doc->addInfoWindowLength, 10);
  EXPECT_FALSE(doc->addInfoRequested);
  ExpectSteps(31, 22, 22);
}

TEST_F(CovarianceDialogTest, AdditionalInformationLeavesTheAnalysisParameters) {
  ExpectCovariance(5, 1, 1);
  doc->ExecuteCommand(kCmdNextStep);
  const MaskedMatrix trajectory = doc->analysis.trajectory;
  const int redraws = host.redraws;
  host.Expect("CDialogCovarianceMatrix")
      .Type(D::kIdWindowLength, "8")
      .Choose(D::kIdSvd, 0)
      .Type(D::kIdThreshold, "3")
      .Press(D::kIdAdditionalInfo);
  doc->ExecuteCommand(kCmdCovarianceMatrix);
  const SsaAnalysis& a = doc->analysis;
  EXPECT_EQ(a.windowLength(), 5);
  EXPECT_EQ(a.cadzowWindowLength(), 5);
  EXPECT_EQ(a.threshold(), 1);
  EXPECT_EQ(a.covarianceMethod, kCovarianceToeplitz);
  EXPECT_TRUE(a.trajectory.values() == trajectory.values());
  EXPECT_TRUE(a.trajectory.flags() == trajectory.flags());
  // The curves are those of L = 8 (thresholds 0..8): of the K = 13 lagged
  // vectors, 1..6 miss x(6) and x(7), vector 7 misses x(7) only.
  ASSERT_EQ(a.columnsAfterDeletion.length(), 9);
  EXPECT_EQ(a.columnsAfterDeletion.value(1), 6.0);
  EXPECT_EQ(a.columnsAfterDeletion.value(2), 7.0);
  EXPECT_EQ(a.columnsAfterDeletion.value(3), 13.0);
  EXPECT_EQ(a.columnsAfterDeletion.value(9), 13.0);
  EXPECT_EQ(doc->addInfoWindowLength, 8);
  EXPECT_GT(host.redraws, redraws);
  ExpectSteps(31, 21, 22);
}

// An edit to 3 values cannot set the window length 1 and leaves 10, which no
// longer fits; "Additional information" then keeps the entered length instead
// of failing to put the old one back.
TEST_F(CovarianceDialogTest, AdditionalInformationWhenThePreviousLengthNoLongerFits) {
  host.Expect("CDialogEditSourceSeries").Type(CDialogEditSourceSeries::kIdNewLength, "3").Ok();
  host.Expect("CDialogWarningNewSL").Ok();
  doc->ExecuteCommand(kCmdEditSourceSeries);
  ASSERT_EQ(doc->analysis.length(), 3);
  ASSERT_EQ(doc->analysis.windowLength(), 10);
  host.messages.clear();
  host.Expect("CDialogCovarianceMatrix").Type(D::kIdWindowLength, "2").Press(D::kIdAdditionalInfo);
  doc->ExecuteCommand(kCmdNextStep);
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(doc->addInfoWindowLength, 2);
  EXPECT_EQ(doc->analysis.windowLength(), 2);
  EXPECT_EQ(doc->analysis.trajectory.rows(), 2);
  EXPECT_EQ(doc->analysis.trajectory.cols(), 2);
  ExpectSteps(31, 21, 22);
}

}  // namespace
}  // namespace vorel::test
