// "Edit source series": the editor's lines and buttons, the length change with
// its warning, and the command that writes the edits back.

#include <functional>

#include "SeriesToolsFixture.h"
#include "document/dialogs/CDialogEditSourceSeries.h"
#include "document/dialogs/CDialogWarningNewSL.h"
#include "engine/Exceptions.h"

namespace vorel::test {
namespace {

using E = CDialogEditSourceSeries;
using W = CDialogWarningNewSL;

std::vector<std::string> ListOf(DialogControls& c) { return c.Lines(E::kIdElements); }

class SeriesEditorTest : public SeriesToolsTest {
 protected:
  // x = 1, 2, missing, 4, 5, 6, 7, 8 (window length 4).
  void OpenEight() {
    OpenData(WriteSeries("eight.txt", {"1", "2", "nan", "4", "5", "6", "7", "8"}));
  }
};

TEST_F(SeriesEditorTest, LinesOfTheFourStatesAndTheRestoreButtons) {
  OpenEight();
  host.Expect("CDialogEditSourceSeries")
      .Do([](Dialog& d, DialogControls& c) {
        EXPECT_EQ(d.caption(), "Edit source series");
        EXPECT_EQ(c.Text(E::kIdNewLength), "8");
        EXPECT_EQ(ListOf(c), (std::vector<std::string>{"(1)  1.000", "(2)  2.000", "(3)  MV",
                                                       "(4)  4.000", "(5)  5.000", "(6)  6.000",
                                                       "(7)  7.000", "(8)  8.000"}));
      })
      .Select(E::kIdElements, {4, 5})
      .Press(E::kIdSetMissing)
      .Type(E::kIdNewValue, "2")
      .Select(E::kIdElements, {1, 2, 5})
      .Press(E::kIdSetValues)
      .Do([](Dialog&, DialogControls& c) {
        // Element 2 already holds 2: unchanged. Element 3 was missing, 6 was
        // declared missing: both take the value.
        const auto lines = ListOf(c);
        EXPECT_EQ(lines[1], "(2)  2.000");
        EXPECT_EQ(lines[2], "(3) *  2.000");
        EXPECT_EQ(lines[4], "(5)  AMV");
        EXPECT_EQ(lines[5], "(6) *  2.000");
        EXPECT_EQ(c.Selection(E::kIdElements), (std::vector<int>{1, 2, 5}));
      })
      .Select(E::kIdElements, {2, 4})
      .Press(E::kIdRestore)
      .Do([](Dialog& d, DialogControls& c) {
        const auto lines = ListOf(c);
        EXPECT_EQ(lines[2], "(3) MV") << "one blank after a restore";
        EXPECT_EQ(lines[4], "(5)  5.000");
        EXPECT_EQ(lines[5], "(6) *  2.000");
        const auto& e = static_cast<E&>(d);
        EXPECT_TRUE(e.workFlags.isValid(3) && e.workFlags.isValid(5));
        EXPECT_FALSE(e.workFlags.isValid(6));
      })
      .Ok();
  doc->ExecuteCommand(kCmdEditSourceSeries);

  EXPECT_TRUE(host.messages.empty());
  ExpectSteps(31, 22, 22);
  const MaskedSeries& x = doc->analysis.series;
  ASSERT_EQ(x.length(), 8);
  EXPECT_FALSE(x.isValid(3));
  EXPECT_TRUE(x.isValid(5));
  EXPECT_EQ(x.value(5), 5.0);
  EXPECT_TRUE(x.isValid(6));
  EXPECT_EQ(x.value(6), 2.0);
  EXPECT_FALSE(doc->editFlags.isValid(6));
  EXPECT_EQ(doc->editFlags.CountValid(), 7);
  EXPECT_EQ(doc->loadedSeries.value(6), 6.0) << "the loaded series keeps its values";
  EXPECT_EQ(doc->analysis.windowLength(), 4) << "same length: the window stays";

  // The next run shows the user's marks in full lines; Restore ALL writes one
  // blank; a message box re-activates the dialog, which fills the list again.
  host.Expect("CDialogEditSourceSeries")
      .Do([](Dialog&, DialogControls& c) {
        EXPECT_EQ(ListOf(c)[5], "(6) *  2.000");
        EXPECT_EQ(ListOf(c)[2], "(3)  MV");
      })
      .Select(E::kIdElements, {0})
      .Press(E::kIdSetMissing)
      .Do([](Dialog&, DialogControls& c) { EXPECT_EQ(ListOf(c)[0], "(1)  AMV"); })
      .Press(E::kIdRestoreAll)
      .Do([](Dialog&, DialogControls& c) {
        EXPECT_EQ(ListOf(c),
                  (std::vector<std::string>{"(1) 1.000", "(2) 2.000", "(3) MV", "(4) 4.000",
                                            "(5) 5.000", "(6) 6.000", "(7) 7.000", "(8) 8.000"}));
      })
      .Type(E::kIdNewLength, "2")
      .Press(E::kIdChangeLength)
      .Do([](Dialog&, DialogControls& c) { EXPECT_EQ(ListOf(c)[0], "(1)  1.000"); })
      .Cancel();
  doc->ExecuteCommand(kCmdEditSourceSeries);
  EXPECT_EQ(host.messageTexts(), std::vector<std::string>{E::kMessageTooShort});
  EXPECT_EQ(doc->analysis.series.value(6), 2.0) << "Cancel discards the edits";
}

TEST_F(SeriesEditorTest, DoubleClickTakesTheFirstSelectedValue) {
  OpenEight();
  host.Expect("CDialogEditSourceSeries")
      .Select(E::kIdElements, {6})
      .DoubleClick(E::kIdElements, 4)
      .Do([](Dialog&, DialogControls& c) { EXPECT_EQ(c.Text(E::kIdNewValue), "5"); })
      .Select(E::kIdElements, {})
      .DoubleClick(E::kIdElements, 2)  // missing: its stored 0
      .Do([](Dialog&, DialogControls& c) { EXPECT_EQ(c.Text(E::kIdNewValue), "0"); })
      .Cancel();
  doc->ExecuteCommand(kCmdEditSourceSeries);
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(SeriesEditorTest, LengtheningAddsMissingElementsThatRestoreAllKeeps) {
  OpenEight();
  host.Expect("CDialogEditSourceSeries")
      .Type(E::kIdNewLength, "11")
      .Press(E::kIdChangeLength)
      .Do([](Dialog&, DialogControls& c) {
        const auto lines = ListOf(c);
        ASSERT_EQ(lines.size(), 11u);
        EXPECT_EQ(lines[8], "(9)  MV");
        EXPECT_EQ(lines[10], "(11)  MV");
      })
      .Press(E::kIdRestoreAll)
      .Do([](Dialog&, DialogControls& c) { EXPECT_EQ(ListOf(c)[9], "(10) MV"); })
      .Ok();
  doc->ExecuteCommand(kCmdEditSourceSeries);
  ASSERT_EQ(doc->analysis.length(), 11);
  ASSERT_EQ(doc->loadedSeries.length(), 11);
  ASSERT_EQ(doc->editFlags.length(), 11);
  for (int t = 9; t <= 11; ++t) {
    EXPECT_FALSE(doc->analysis.series.isValid(t));
    EXPECT_FALSE(doc->loadedSeries.isValid(t));
    EXPECT_EQ(doc->loadedSeries.value(t), 0.0);
    EXPECT_TRUE(doc->editFlags.isValid(t));
  }
  EXPECT_EQ(doc->analysis.series.value(8), 8.0);
  EXPECT_EQ(doc->analysis.windowLength(), 5) << "floor(11 / 2)";
  ExpectSteps(31, 22, 22);
}

// Shortening asks first: "Cancel changes" keeps the length (and Ok still
// closes the editor), "Apply changes" drops the last elements everywhere.
TEST_F(SeriesEditorTest, ShorteningWithTheWarning) {
  OpenEight();
  Analyse(4, 1);
  host.Expect("CDialogEditSourceSeries").Type(E::kIdNewLength, "6").Ok();
  host.Expect("CDialogWarningNewSL")
      .Do([](Dialog& d, DialogControls& c) {
        EXPECT_EQ(d.caption(), "Attention!");
        EXPECT_EQ(c.Text(W::kIdText),
                  "Attention!\nPart of series values will be lost: you set the series length "
                  "less than the initial series lenght.");
        EXPECT_EQ(c.Text(kIdOk), "Apply changes");
        EXPECT_EQ(c.Text(kIdCancel), "Cancel changes");
      })
      .Cancel();
  doc->ExecuteCommand(kCmdEditSourceSeries);
  EXPECT_EQ(host.dialogsRun.back(), "CDialogWarningNewSL");
  EXPECT_EQ(doc->analysis.length(), 8);
  ExpectSteps(34, 26, 26);  // nothing was changed: the analysis keeps its step

  host.Expect("CDialogEditSourceSeries")
      .Select(E::kIdElements, {0})
      .Press(E::kIdSetMissing)
      .Type(E::kIdNewLength, "6")
      .Ok();
  host.Expect("CDialogWarningNewSL").Ok();
  doc->ExecuteCommand(kCmdEditSourceSeries);
  ASSERT_EQ(doc->analysis.length(), 6);
  EXPECT_EQ(doc->loadedSeries.length(), 6);
  EXPECT_EQ(doc->editFlags.length(), 6);
  EXPECT_FALSE(doc->analysis.series.isValid(1));
  EXPECT_TRUE(doc->loadedSeries.isValid(1));
  EXPECT_EQ(doc->analysis.series.value(6), 6.0);
  EXPECT_EQ(doc->analysis.windowLength(), 3);
  ExpectSteps(31, 22, 22);
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(SeriesEditorTest, OkWithoutAButtonKeepsTheAnalysisStep) {
  OpenEight();
  Analyse(4, 1);
  const MaskedSeries series = doc->analysis.series;
  host.Expect("CDialogEditSourceSeries").Ok();
  doc->ExecuteCommand(kCmdEditSourceSeries);
  ExpectSteps(34, 26, 26);
  EXPECT_EQ(doc->analysis.series, series);
  // Any of the four buttons counts as a change, even when no element changed.
  host.Expect("CDialogEditSourceSeries").Press(E::kIdRestore).Ok();
  doc->ExecuteCommand(kCmdEditSourceSeries);
  ExpectSteps(31, 22, 22);
  EXPECT_EQ(doc->analysis.series, series);
}

TEST_F(SeriesEditorTest, WindowLengthOfTheNewLength) {
  OpenEight();
  for (const auto& [M, L] : std::vector<std::pair<int, int>>{{10, 5}, {13, 6}, {4, 2}}) {
    SCOPED_TRACE(M);
    host.Expect("CDialogEditSourceSeries").Type(E::kIdNewLength, std::to_string(M)).Ok();
    if (M < doc->analysis.length()) host.Expect("CDialogWarningNewSL").Ok();
    doc->ExecuteCommand(kCmdEditSourceSeries);
    EXPECT_EQ(doc->analysis.length(), M);
    EXPECT_EQ(doc->analysis.windowLength(), L);
  }
  EXPECT_TRUE(host.messages.empty());
}

// The editor's refusals: the message, where it is shown, and what is kept.
struct EditorFailure {
  const char* name;
  friend void PrintTo(const EditorFailure& row, std::ostream* os) { *os << row.name; }
  std::function<void(ScriptedHost&)> script;
  std::vector<std::string> messages;
  const char* shownIn;
  int length;  // of the series afterwards
  int nextStep;
};

class EditorFailures : public SeriesEditorTest,
                       public ::testing::WithParamInterface<EditorFailure> {};

TEST_P(EditorFailures, MessageAndState) {
  const EditorFailure& row = GetParam();
  OpenEight();
  row.script(host);
  doc->ExecuteCommand(kCmdEditSourceSeries);
  EXPECT_EQ(host.messageTexts(), row.messages);
  ASSERT_FALSE(host.messages.empty());
  EXPECT_EQ(host.messages[0].dialog, row.shownIn);
  EXPECT_EQ(doc->analysis.length(), row.length);
  EXPECT_EQ(doc->nextStep, row.nextStep);
  EXPECT_EQ(doc->analysis.windowLength(), 4);
}

const EditorFailure kEditorFailures[] = {
    {"OkWithLengthTwo",
     [](ScriptedHost& host) {
       host.Expect("CDialogEditSourceSeries")
           .Type(E::kIdNewLength, "2")
           .Ok()
           .Do([](Dialog& d, DialogControls&) { EXPECT_FALSE(d.ended()); })
           .Cancel();
     },
     {E::kMessageTooShort},
     "CDialogEditSourceSeries",
     8,
     31},
    {"LengthThreeGivesWindowOne",
     [](ScriptedHost& host) {
       host.Expect("CDialogEditSourceSeries").Type(E::kIdNewLength, "3").Ok();
       host.Expect("CDialogWarningNewSL").Ok();
     },
     {ExceptionWindowLength::kMessage},
     "",
     3,
     31},
    {"NewValueNotANumber",
     [](ScriptedHost& host) {
       host.Expect("CDialogEditSourceSeries")
           .Select(E::kIdElements, {0})
           .Type(E::kIdNewValue, "one")
           .Press(E::kIdSetValues)
           .Do([](Dialog& d, DialogControls& c) {
             EXPECT_FALSE(static_cast<E&>(d).changed);
             EXPECT_EQ(ListOf(c)[0], "(1)  1.000");
           })
           .Cancel();
     },
     {"Please enter a number."},
     "CDialogEditSourceSeries",
     8,
     31},
    {"NewLengthNotAnInteger",
     [](ScriptedHost& host) {
       host.Expect("CDialogEditSourceSeries")
           .Type(E::kIdNewLength, "9.5")
           .Ok()
           .Do([](Dialog& d, DialogControls&) { EXPECT_FALSE(d.ended()); })
           .Cancel();
     },
     {"Please enter an integer."},
     "CDialogEditSourceSeries",
     8,
     31},
};

INSTANTIATE_TEST_SUITE_P(All, EditorFailures, ::testing::ValuesIn(kEditorFailures),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vorel::test
