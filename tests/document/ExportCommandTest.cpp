// "S&ave series...": the delimiter dialog, the save dialog, the range of the
// page "Initial and Reconstructed series", and failures.

#include "DocumentFixture.h"
#include "document/dialogs/CDialogSetDelimiterSave.h"

namespace vorel::test {
namespace {

using S = CDialogSetDelimiterSave;

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string E(double v) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.6e", v);
  return buffer;
}

class ExportCommandTest : public DocumentTest {
 protected:
  void SetUp() override {
    DocumentTest::SetUp();
    // Six values, the fourth missing; every eigentriple is chosen.
    OpenData(WriteSeries("s.txt", {"1.5", "-2", "3.25", "nan", "0.5", "2"}));
    ExpectCovariance(3);
    doc->ExecuteCommand(kCmdNextStep);
    host.Expect("CDialogEVGrouping").Press(CDialogEVGrouping::kIdAllUsed).Ok();
    doc->ExecuteCommand(kCmdChoiceOfEigenvectors);
    ExpectReconstruction(0);
    doc->ExecuteCommand(kCmdReconstruction);
    ASSERT_TRUE(host.messages.empty()) << host.messages.front().text;
    ExpectSteps(34, 26, 26);
  }

  // The expected point line of index i.
  std::string PointLine(int i, char d) const {
    const SsaAnalysis& a = doc->analysis;
    const std::string r = E(a.reconstructed.value(i));
    if (!a.series.isValid(i)) return "nan" + std::string(1, d) + r + d + "nan\n";
    return E(a.series.value(i)) + d + r + d + E(a.residuals.value(i)) + "\n";
  }
};

TEST_F(ExportCommandTest, NotAvailableBeforeAReconstruction) {
  OpenData(WriteSeries("t.txt", {"1", "2", "3", "4"}));
  EXPECT_FALSE(doc->ExecuteCommand(kCmdSaveSeries));
  EXPECT_EQ(host.dialogsRun.back(), "CDialogFileChoice");
}

TEST_F(ExportCommandTest, AllPointsWithTabs) {
  const std::string out = dir + "/out.txt";
  host.Expect("CDialogSetDelimiterSave")
      .Do([](Dialog& d, DialogControls& c) {
        EXPECT_EQ(d.caption(), "Delimiter & dec. separator");
        EXPECT_EQ(c.State(S::kIdPoint), 0);  // 50: Point
        EXPECT_EQ(c.State(S::kIdSpace), 1);  // 41: <Tab>
      })
      .Ok();
  host.AnswerSaveFile(out);
  EXPECT_TRUE(doc->ExecuteCommand(kCmdSaveSeries));
  ASSERT_EQ(host.saveRequests.size(), 1u);
  EXPECT_EQ(host.saveRequests[0].title, "Select output file");
  EXPECT_TRUE(host.saveRequests[0].filters.empty());
  EXPECT_TRUE(host.saveRequests[0].overwritePrompt);
  std::string expected = "$All series points\nSource_series\tReconstructed_series\tResiduals\n";
  for (int i = 1; i <= 6; ++i) expected += PointLine(i, '\t');
  EXPECT_EQ(ReadAll(out), expected);
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(ExportCommandTest, RangeOfThePageAndCommaSeparator) {
  const std::string out = dir + "/out.txt";
  GraphOptions& page = doc->graphOptions[5];
  page.AutoX = false;
  page.XLeftBound = 2;
  page.XRightBound = 4;
  host.Expect("CDialogSetDelimiterSave").Choose(S::kIdPoint, 1).Choose(S::kIdSpace, 0).Ok();
  host.AnswerSaveFile(out);
  doc->ExecuteCommand(kCmdSaveSeries);
  EXPECT_EQ(doc->outputDecimal, kDecimalComma);
  EXPECT_EQ(doc->outputDelimiter, kDelimiterSpace);
  auto comma = [](std::string line) {
    // Only the first '.' of each number changes.
    std::string result;
    bool inNumber = false, done = false;
    for (char c : line) {
      if (c == ' ' || c == '\n')
        inNumber = false, done = false;
      else if (!inNumber)
        inNumber = true;
      if (c == '.' && !done) {
        result += ',';
        done = true;
      } else {
        result += c;
      }
    }
    return result;
  };
  std::string expected = "$Points from 2 to 4\nSource_series Reconstructed_series Residuals\n";
  for (int i = 2; i <= 4; ++i) expected += comma(PointLine(i, ' '));
  EXPECT_EQ(ReadAll(out), expected);

  // Bounds outside 1..N: every point, the title line carrying 1 and N.
  page.XRightBound = 7;
  host.Expect("CDialogSetDelimiterSave").Ok();
  host.AnswerSaveFile(out);
  doc->ExecuteCommand(kCmdSaveSeries);
  EXPECT_EQ(ReadAll(out).substr(0, 20), "$Points from 1 to 6\n");
}

TEST_F(ExportCommandTest, ChoicesStayWhenTheSaveDialogIsCancelled) {
  host.Expect("CDialogSetDelimiterSave").Choose(S::kIdPoint, 1).Choose(S::kIdSpace, 0).Ok();
  host.AnswerSaveFile(std::nullopt);
  doc->ExecuteCommand(kCmdSaveSeries);
  EXPECT_EQ(doc->outputDecimal, kDecimalComma);
  EXPECT_EQ(doc->outputDelimiter, kDelimiterSpace);
  // Cancel of the delimiter dialog changes nothing and asks for no file.
  host.Expect("CDialogSetDelimiterSave").Choose(S::kIdPoint, 0).Cancel();
  doc->ExecuteCommand(kCmdSaveSeries);
  EXPECT_EQ(doc->outputDecimal, kDecimalComma);
  EXPECT_EQ(host.saveRequests.size(), 1u);
}

TEST_F(ExportCommandTest, FileThatCannotBeCreatedIsReported) {
  WriteFile("blocker", "x");
  const std::string out = dir + "/blocker/out.txt";
  host.Expect("CDialogSetDelimiterSave").Ok();
  host.AnswerSaveFile(out);
  doc->ExecuteCommand(kCmdSaveSeries);
  EXPECT_EQ(host.messageTexts(),
            std::vector<std::string>{"Attention!\nThe file " + out + " cannot be written."});
  EXPECT_FALSE(std::filesystem::exists(out));
}

}  // namespace
}  // namespace vorel::test
