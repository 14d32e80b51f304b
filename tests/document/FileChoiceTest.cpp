// "Load data from file" with its delimiter and missing-value code dialogs.

#include <filesystem>
#include <functional>

#include "SeriesToolsFixture.h"
#include "document/dialogs/CDialogMVCode.h"
#include "document/dialogs/CDialogSetDelimiter.h"
#include "document/dialogs/MVCodeExceptions.h"

namespace vorel::test {
namespace {

using F = CDialogFileChoice;
using D = CDialogSetDelimiter;
using M = CDialogMVCode;

constexpr const char* kReadingError = "Attention!\nData reading/conversion error occured.";

std::string Line(int i, double v) { return "(" + std::to_string(i) + ")  " + Fixed3(v); }
std::string MvLine(int i) { return "(" + std::to_string(i) + ")  MV"; }

// Checks the dialog holds no file: empty paths, names and contents.
void ExpectEmptyDialog(Dialog& d, DialogControls& c) {
  auto& f = static_cast<F&>(d);
  EXPECT_TRUE(f.filePath.empty());
  EXPECT_TRUE(f.shortName.empty());
  EXPECT_FALSE(f.columnChosen);
  EXPECT_TRUE(c.Text(F::kIdFullPath).empty());
  EXPECT_TRUE(c.Text(F::kIdShortName).empty());
  EXPECT_TRUE(c.Lines(F::kIdNames).empty());
  EXPECT_TRUE(c.Lines(F::kIdContents).empty());
}

TEST_F(SeriesToolsTest, OpenBundledFileListsItsColumnAndContents) {
  const std::string path = Example("sine-gaps.txt");
  host.AnswerOpenFile(path);
  host.Expect("CDialogFileChoice")
      .Do([](Dialog&, DialogControls& c) { EXPECT_EQ(c.Text(F::kIdMvCode), "\"nan\""); })
      .Press(F::kIdOpenFile)
      .Do([&](Dialog&, DialogControls& c) {
        EXPECT_EQ(c.Text(F::kIdFullPath), path);
        EXPECT_EQ(c.Text(F::kIdShortName), "sine-gaps.txt");
        EXPECT_EQ(c.Lines(F::kIdNames), std::vector<std::string>{"sine"});
        EXPECT_EQ(c.Selection(F::kIdNames), std::vector<int>{0});
        std::vector<std::string> expected;
        for (int t = 1; t <= 60; ++t) {
          const bool gap = (t >= 8 && t <= 10) || t == 25 || (t >= 41 && t <= 44);
          expected.push_back(gap ? MvLine(t) : Line(t, SineExample(t)));
        }
        EXPECT_EQ(c.Lines(F::kIdContents), expected);
      })
      .Ok();
  doc->ExecuteCommand(kCmdOpenData);

  ASSERT_EQ(host.openRequests.size(), 1u);
  const FileDialogRequest& r = host.openRequests[0];
  EXPECT_EQ(r.title, "Select input file");
  EXPECT_EQ(r.filters, (std::vector<FileFilter>{{"VRL files *.vrl", "*.vrl"},
                                                {"TXT files *.txt", "*.txt"},
                                                {"DATA files *.dat", "*.dat"},
                                                {"All Files *.*", "*.*"}}));
  EXPECT_EQ(r.initialDirectory, VOREL_EXAMPLES_DIR);
  EXPECT_TRUE(host.messages.empty());
  ASSERT_EQ(doc->analysis.length(), 60);
  EXPECT_EQ(doc->analysis.series.CountValid(), 52);
  EXPECT_FALSE(doc->analysis.series.isValid(25));
  EXPECT_NEAR(doc->analysis.series.value(26), SineExample(26), 1e-6);
  EXPECT_EQ(doc->loadedSeries, doc->analysis.series);
  EXPECT_EQ(doc->editFlags.CountValid(), 60);
  EXPECT_EQ(doc->dataFileName, "sine-gaps.txt");
  EXPECT_EQ(doc->seriesName, "sine");
  EXPECT_EQ(doc->analysis.windowLength(), 30);
  ExpectSteps(31, 22, 22);
}

// The two-column example needs the decimal comma and the semicolon: read with
// the default options it fails, after the delimiter dialog it is read, and a
// double click shows the second column.
TEST_F(SeriesToolsTest, DelimiterDialogReadsTheSemicolonFileAndDoubleClickShowsAColumn) {
  const std::string path = Example("two-columns-comma.txt");
  host.AnswerOpenFile(path);
  host.AnswerOpenFile(path);
  host.Expect("CDialogFileChoice")
      .Press(F::kIdOpenFile)
      .Do(ExpectEmptyDialog)
      .Press(F::kIdDelimiters)  // no file read: nothing to read again
      .Press(F::kIdOpenFile)
      .Do([](Dialog&, DialogControls& c) {
        EXPECT_EQ(c.Lines(F::kIdNames), (std::vector<std::string>{"thousands", "log10"}));
        const auto lines = c.Lines(F::kIdContents);
        ASSERT_EQ(lines.size(), 72u);
        EXPECT_EQ(lines[0], Line(1, 3.035));
        EXPECT_EQ(lines[4], MvLine(5));
      })
      .Select(F::kIdNames, {})
      .DoubleClick(F::kIdNames, 1)
      .Do([](Dialog&, DialogControls& c) {
        const auto lines = c.Lines(F::kIdContents);
        ASSERT_EQ(lines.size(), 72u);
        EXPECT_EQ(lines[0], Line(1, 3.4822));
        EXPECT_EQ(lines[14], MvLine(15));
        EXPECT_EQ(lines[4], Line(5, 3.3041)) << "column 2 has no gap at 5";
      })
      .Ok();
  host.Expect("CDialogSetDelimiter")
      .Do([](Dialog& d, DialogControls& c) {
        EXPECT_EQ(d.caption(), "Delimiters & dec. separator");
        EXPECT_EQ(c.State(D::kIdPoint), 0);
        EXPECT_EQ(c.State(D::kIdSemicolon), 0);
        EXPECT_EQ(c.State(D::kIdSpace), 1);
      })
      .Choose(D::kIdPoint, 1)
      .Press(D::kIdComma)
      .Do([](Dialog& d, DialogControls&) { EXPECT_TRUE(static_cast<D&>(d).commaBoxPushed); })
      .Choose(D::kIdSemicolon, 1)
      .Ok();
  doc->ExecuteCommand(kCmdOpenData);

  EXPECT_EQ(host.messageTexts(), std::vector<std::string>{kReadingError});
  EXPECT_EQ(host.messages[0].dialog, "CDialogFileChoice");
  EXPECT_EQ(doc->seriesName, "log10");
  EXPECT_EQ(doc->analysis.length(), 72);
  EXPECT_NEAR(doc->analysis.series.value(1), 3.4822, 1e-12);
  EXPECT_EQ(doc->inputFormat(), (InputFormat{kDecimalComma, true, true, true, true}));
}

// Large values are listed with all their digits.
TEST_F(SeriesToolsTest, ContentsListsLargeValuesInFull) {
  const std::string two200 = "1606938044258990275541962092341162602522202993782792835301376";
  host.AnswerOpenFile(WriteSeries("large.txt", {two200, "-" + two200, "nan"}));
  host.Expect("CDialogFileChoice")
      .Press(F::kIdOpenFile)
      .Do([&](Dialog&, DialogControls& c) {
        EXPECT_EQ(c.Lines(F::kIdContents),
                  (std::vector<std::string>{"(1)  " + two200 + ".000", "(2)  -" + two200 + ".000",
                                            MvLine(3)}));
      })
      .Cancel();
  doc->ExecuteCommand(kCmdOpenData);
}

// A new code is written into the document at once and the file is read again
// with it; the reading options, in contrast, flow back only with OK.
TEST_F(SeriesToolsTest, CodeChangeRereadsAtOnceAndStaysAfterCancel) {
  const std::string path = WriteSeries("codes.txt", {"1", "-999", "3", "4", "5"});
  host.AnswerOpenFile(path);
  host.Expect("CDialogFileChoice")
      .Press(F::kIdOpenFile)
      .Do([](Dialog&, DialogControls& c) {
        EXPECT_EQ(c.Lines(F::kIdContents)[1], Line(2, -999.0));
      })
      .Press(F::kIdChangeMvCode)
      .Do([](Dialog&, DialogControls& c) {
        EXPECT_EQ(c.Text(F::kIdMvCode), "\"-999\"");
        EXPECT_EQ(
            c.Lines(F::kIdContents),
            (std::vector<std::string>{Line(1, 1), MvLine(2), Line(3, 3), Line(4, 4), Line(5, 5)}));
      })
      .Press(F::kIdDelimiters)
      .Cancel();
  host.Expect("CDialogMVCode")
      .Do([](Dialog& d, DialogControls& c) {
        EXPECT_EQ(d.caption(), "Missing Value code");
        EXPECT_EQ(c.Text(M::kIdCode), "nan");
      })
      .Type(M::kIdCode, "-999")
      .Ok();
  host.Expect("CDialogSetDelimiter").Choose(D::kIdSemicolon, 1).Ok();
  doc->ExecuteCommand(kCmdOpenData);
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(doc->mvCode, "-999");
  EXPECT_EQ(doc->nextStep, kStepNone);
  EXPECT_EQ(doc->inputFormat(), InputFormat{}) << "options flow back only with OK";
}

// Codes of a minus sign and digits or of letters and a slash are accepted; up
// to 39 characters.
TEST_F(SeriesToolsTest, AcceptedCodes) {
  for (const std::string& code : std::vector<std::string>{"-999", "x/y", std::string(39, 'm')}) {
    SCOPED_TRACE(code);
    host.Expect("CDialogFileChoice").Press(F::kIdChangeMvCode).Cancel();
    host.Expect("CDialogMVCode").Type(M::kIdCode, code).Ok();
    doc->ExecuteCommand(kCmdOpenData);
    EXPECT_EQ(doc->mvCode, code);
  }
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(SeriesToolsTest, CancelledFirstFileDialogKeepsTheExamplesDirectoryPending) {
  host.AnswerOpenFile(std::nullopt);
  host.AnswerOpenFile(std::nullopt);
  host.AnswerOpenFile(Example("nottem.txt"));
  host.AnswerOpenFile(std::nullopt);
  host.Expect("CDialogFileChoice")
      .Press(F::kIdOpenFile)
      .Press(F::kIdOpenFile)
      .Press(F::kIdOpenFile)
      .Press(F::kIdOpenFile)
      .Do([](Dialog& d, DialogControls&) {
        // A cancelled file dialog clears the choice, but the file stays read.
        EXPECT_FALSE(static_cast<F&>(d).columnChosen);
      })
      .Ok();
  doc->ExecuteCommand(kCmdOpenData);
  ASSERT_EQ(host.openRequests.size(), 4u);
  EXPECT_EQ(host.openRequests[0].initialDirectory, VOREL_EXAMPLES_DIR);
  EXPECT_EQ(host.openRequests[1].initialDirectory, VOREL_EXAMPLES_DIR);
  EXPECT_EQ(host.openRequests[2].initialDirectory, VOREL_EXAMPLES_DIR);
  EXPECT_EQ(host.openRequests[3].initialDirectory, "");
  EXPECT_FALSE(doc->examplesPathPending);
  EXPECT_EQ(doc->analysis.length(), 240);
  EXPECT_EQ(doc->dataFileName, "nottem.txt");
}

// With the decimal comma and only the "Comma" box checked the box is ignored:
// every line is one field.
TEST_F(SeriesToolsTest, CommaDecimalWithOnlyTheCommaBoxReadsOneField) {
  const std::string path = WriteFile("c.txt", "a,b\n1,5\n2,25\n3,125\n");
  host.AnswerOpenFile(path);
  host.Expect("CDialogFileChoice")
      .Press(F::kIdDelimiters)
      .Press(F::kIdOpenFile)
      .Do([](Dialog&, DialogControls& c) {
        EXPECT_EQ(c.Lines(F::kIdNames), std::vector<std::string>{"a,b"});
        EXPECT_EQ(c.Lines(F::kIdContents),
                  (std::vector<std::string>{Line(1, 1.5), Line(2, 2.25), Line(3, 3.125)}));
      })
      .Ok();
  host.Expect("CDialogSetDelimiter")
      .Choose(D::kIdSpace, 0)
      .Choose(D::kIdTab, 0)
      .Choose(D::kIdSemicolon, 0)
      .Choose(D::kIdCommaDelimiter, 1)
      .Choose(D::kIdPoint, 1)
      .Press(D::kIdComma)
      .Do([](Dialog& d, DialogControls&) { EXPECT_TRUE(static_cast<D&>(d).commaBoxPushed); })
      .Choose(D::kIdPoint, 0)
      .Press(D::kIdPoint)
      .Do([](Dialog& d, DialogControls&) { EXPECT_FALSE(static_cast<D&>(d).commaBoxPushed); })
      .Choose(D::kIdPoint, 1)
      .Press(D::kIdComma)
      .Ok();
  doc->ExecuteCommand(kCmdOpenData);
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(doc->inputFormat(), (InputFormat{kDecimalComma, true, false, false, false}));
  EXPECT_DOUBLE_EQ(doc->analysis.series.value(3), 3.125);
}

// Every refusal of the file choice and of its two small dialogs: the message,
// where it was shown, and the dialog left as the table says.
struct FileChoiceFailure {
  const char* name;
  friend void PrintTo(const FileChoiceFailure& row, std::ostream* os) { *os << row.name; }
  // Queues the scripts (the file choice's last) and returns the message expected.
  std::function<std::string(SeriesToolsTest&, ScriptedHost&)> run;
  const char* shownIn;
};

class FileChoiceFailures : public SeriesToolsTest,
                           public ::testing::WithParamInterface<FileChoiceFailure> {};

TEST_P(FileChoiceFailures, MessageAndState) {
  const FileChoiceFailure& row = GetParam();
  const std::string expected = row.run(*this, host);
  doc->ExecuteCommand(kCmdOpenData);
  ASSERT_EQ(host.messageTexts(), std::vector<std::string>{expected});
  EXPECT_EQ(host.messages[0].dialog, row.shownIn);
  EXPECT_EQ(doc->nextStep, kStepNone);
  EXPECT_EQ(doc->inputFormat(), InputFormat{});
}

// Code dialog: types code, presses OK (refused), then cancels.
std::string RefusedCode(ScriptedHost& host, const std::string& code, const char* message) {
  host.Expect("CDialogFileChoice").Press(F::kIdChangeMvCode).Cancel();
  host.Expect("CDialogMVCode")
      .Type(M::kIdCode, code)
      .Ok()
      .Do([](Dialog& d, DialogControls&) { EXPECT_FALSE(d.ended()); })
      .Cancel();
  return message;
}

const FileChoiceFailure kFileChoiceFailures[] = {
    {"ReadingFailureAfterFileChoice",
     [](SeriesToolsTest& t, ScriptedHost& host) {
       host.AnswerOpenFile(t.WriteSeries("bad.txt", {"1", "1.2.3", "3"}));
       host.Expect("CDialogFileChoice").Press(F::kIdOpenFile).Do(ExpectEmptyDialog).Cancel();
       return std::string(kReadingError);
     },
     "CDialogFileChoice"},
    {"ReadingFailureAfterDelimiterChange",
     [](SeriesToolsTest&, ScriptedHost& host) {
       host.AnswerOpenFile(SeriesToolsTest::Example("sine-gaps.txt"));
       host.Expect("CDialogFileChoice")
           .Press(F::kIdOpenFile)
           .Press(F::kIdDelimiters)
           .Do(ExpectEmptyDialog)
           .Cancel();
       host.Expect("CDialogSetDelimiter").Choose(D::kIdPoint, 1).Ok();
       return std::string(kReadingError);
     },
     "CDialogFileChoice"},
    {"FileChangedBeforeDelimiterChange",
     [](SeriesToolsTest& t, ScriptedHost& host) {
       const std::string path = t.WriteSeries("changing.txt", {"1", "2", "3"});
       host.AnswerOpenFile(path);
       host.Expect("CDialogFileChoice")
           .Press(F::kIdOpenFile)
           .Do([path](Dialog&, DialogControls&) {
             std::ofstream(path, std::ios::binary) << "x\n1\n1.2.3\n";
           })
           .Press(F::kIdDelimiters)
           .Do(ExpectEmptyDialog)
           .Cancel();
       host.Expect("CDialogSetDelimiter").Ok();
       return std::string(kReadingError);
     },
     "CDialogFileChoice"},
    {"FileVanishedBeforeCodeChange",
     [](SeriesToolsTest& t, ScriptedHost& host) {
       const std::string path = t.WriteSeries("vanishing.txt", {"1", "2", "3"});
       host.AnswerOpenFile(path);
       host.Expect("CDialogFileChoice")
           .Press(F::kIdOpenFile)
           .Do([path](Dialog&, DialogControls&) { std::filesystem::remove(path); })
           .Press(F::kIdChangeMvCode)
           .Do(ExpectEmptyDialog)
           .Cancel();
       host.Expect("CDialogMVCode").Type(M::kIdCode, "NA").Ok();
       return "Attention!\nFile " + path + " is not exist!";
     },
     "CDialogFileChoice"},
    {"FileVanishedBetweenChoiceAndReading",
     [](SeriesToolsTest& t, ScriptedHost& host) {
       host.AnswerOpenFile(t.dir + "/never-written.txt");
       host.Expect("CDialogFileChoice").Press(F::kIdOpenFile).Do(ExpectEmptyDialog).Cancel();
       return "Attention!\nFile " + t.dir + "/never-written.txt is not exist!";
     },
     "CDialogFileChoice"},
    {"OkWithNoFile",
     [](SeriesToolsTest&, ScriptedHost& host) {
       host.Expect("CDialogFileChoice")
           .Ok()
           .Do([](Dialog& d, DialogControls&) { EXPECT_FALSE(d.ended()); })
           .Cancel();
       return std::string(F::kMessageNoFile);
     },
     "CDialogFileChoice"},
    {"OkWithTwoRows",
     [](SeriesToolsTest& t, ScriptedHost& host) {
       host.AnswerOpenFile(t.WriteSeries("two.txt", {"1", "nan"}));
       host.Expect("CDialogFileChoice")
           .Press(F::kIdOpenFile)
           .Ok()
           .Do([](Dialog& d, DialogControls& c) {
             EXPECT_FALSE(d.ended());
             EXPECT_EQ(c.Lines(F::kIdContents), (std::vector<std::string>{Line(1, 1), MvLine(2)}));
           })
           .Cancel();
       return std::string(F::kMessageTooShort);
     },
     "CDialogFileChoice"},
    {"NoDelimiterChecked",
     [](SeriesToolsTest&, ScriptedHost& host) {
       host.Expect("CDialogFileChoice").Press(F::kIdDelimiters).Cancel();
       host.Expect("CDialogSetDelimiter")
           .Choose(D::kIdSpace, 0)
           .Choose(D::kIdTab, 0)
           .Choose(D::kIdCommaDelimiter, 0)
           .Ok()
           .Do([](Dialog& d, DialogControls&) { EXPECT_FALSE(d.ended()); })
           .Cancel();
       return std::string(D::kMessageNoDelimiter);
     },
     "CDialogSetDelimiter"},
    {"EmptyCode",
     [](SeriesToolsTest&, ScriptedHost& host) {
       return RefusedCode(host, "", "Enter some value, please.");
     },
     "CDialogMVCode"},
    {"CodeWithBlank",
     [](SeriesToolsTest&, ScriptedHost& host) {
       return RefusedCode(host, "n a", ExceptionMVCodeHaveWrongSymbols::kMessage);
     },
     "CDialogMVCode"},
    {"CodeWithPoint",
     [](SeriesToolsTest&, ScriptedHost& host) {
       return RefusedCode(host, "-9.9", ExceptionMVCodeHaveWrongSymbols::kMessage);
     },
     "CDialogMVCode"},
    {"CodeWithTabSemicolonOrComma",
     [](SeriesToolsTest&, ScriptedHost& host) {
       host.Expect("CDialogFileChoice").Press(F::kIdChangeMvCode).Cancel();
       host.Expect("CDialogMVCode")
           .Type(M::kIdCode, "a\tb")
           .Ok()
           .Type(M::kIdCode, "a;b")
           .Ok()
           .Type(M::kIdCode, "a,b")
           .Ok()
           .Do([&host](Dialog&, DialogControls&) {
             // The three refusals carry the same message; keep one.
             host.messages.resize(1);
           })
           .Cancel();
       return std::string(ExceptionMVCodeHaveWrongSymbols::kMessage);
     },
     "CDialogMVCode"},
    {"CodeOf40Characters",
     [](SeriesToolsTest&, ScriptedHost& host) {
       return RefusedCode(host, std::string(40, 'm'), ExceptionMVCodeTooLong::kMessage);
     },
     "CDialogMVCode"},
};

INSTANTIATE_TEST_SUITE_P(All, FileChoiceFailures, ::testing::ValuesIn(kFileChoiceFailures),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(MvCodeMessages, ExactTexts) {
  EXPECT_STREQ(ExceptionNoMVCodeEntered::kMessage, "Enter some value, please.");
  EXPECT_STREQ(ExceptionMVCodeHaveWrongSymbols::kMessage,
               "Attention!\nMissing value code can't include this five symbols:\nspace(' '), "
               "<tab>, semicolon (';'), comma (',') and point ('.').");
  EXPECT_STREQ(CDialogFileChoice::kMessageNoFile, "Attention!\nData file wasn't opened.");
  EXPECT_STREQ(CDialogSetDelimiter::kMessageNoDelimiter,
               "Attention!\nThere is no selected delimiter. Choose at least one delimiter");
}

}  // namespace
}  // namespace vorel::test
