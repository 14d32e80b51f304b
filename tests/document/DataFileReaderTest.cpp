#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "document/DataFileExceptions.h"
#include "document/DataFileReader.h"

namespace vorel {
namespace {

namespace fs = std::filesystem;

constexpr const char* kReadingError = "Attention!\nData reading/conversion error occured.";

// Reading options built from the decimal separator and the active delimiters.
struct Delims {
  bool comma = false, semicolon = false, space = false, tab = false;
};
InputFormat Point(Delims d) { return {kDecimalPoint, d.comma, d.semicolon, d.space, d.tab}; }
InputFormat Comma(Delims d) { return {kDecimalComma, d.comma, d.semicolon, d.space, d.tab}; }
const InputFormat kSpaceTab = Point({.space = true, .tab = true});
const InputFormat kDefault = InputFormat{};  // point; comma, space and tab active

// Writes texts to files of a temporary folder owned by one test.
class TempFiles {
 public:
  TempFiles() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(info->test_suite_name()) + "-" + info->name();
    for (char& c : name) {
      if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    }
    dir_ = fs::temp_directory_path() / ("vorel-reader-" + std::to_string(::getpid()) + "-" + name);
    fs::create_directories(dir_);
  }
  ~TempFiles() {
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
  }
  std::string Write(const std::string& content) {
    const fs::path path = dir_ / ("data" + std::to_string(++count_) + ".txt");
    std::ofstream(path, std::ios::binary) << content;
    return path.string();
  }
  const fs::path& dir() const { return dir_; }

 private:
  fs::path dir_;
  int count_ = 0;
};

// One cell as expected: a value, or nullopt for a missing cell.
using Cell = std::optional<double>;
constexpr Cell kMissing = std::nullopt;

struct ReadCase {
  const char* label;
  std::string content;
  InputFormat format;
  std::string mvCode;
  std::vector<std::string> names;
  std::vector<std::vector<Cell>> rows;
};

ReadCase Case(const char* label, std::string content, InputFormat format, std::string mvCode,
              std::vector<std::string> names, std::vector<std::vector<Cell>> rows) {
  return {label, std::move(content), format, std::move(mvCode), std::move(names), std::move(rows)};
}

void PrintTo(const ReadCase& c, std::ostream* os) { *os << c.label; }

class ReadsTable : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ReadsTable, ColumnsNamesValuesAndFlags) {
  const ReadCase& c = GetParam();
  TempFiles files;
  MaskedMatrix table;
  std::vector<std::string> names;
  const int F = ReadDataFile(files.Write(c.content), c.mvCode, c.format, table, names);

  EXPECT_EQ(F, static_cast<int>(c.names.size()));
  EXPECT_EQ(names, c.names);
  ASSERT_EQ(table.rows(), static_cast<int>(c.rows.size()));
  ASSERT_EQ(table.cols(), F);
  for (int i = 1; i <= table.rows(); ++i) {
    ASSERT_EQ(static_cast<int>(c.rows[i - 1].size()), F) << "bad case row " << i;
    for (int j = 1; j <= F; ++j) {
      const Cell& want = c.rows[i - 1][j - 1];
      SCOPED_TRACE("cell (" + std::to_string(i) + ", " + std::to_string(j) + ")");
      EXPECT_EQ(table.isValid(i, j), want.has_value());
      EXPECT_DOUBLE_EQ(table.value(i, j), want.value_or(0.0));
    }
  }
}

const std::vector<std::string> kS1 = {"Series #1"};
const std::vector<std::string> kS12 = {"Series #1", "Series #2"};

INSTANTIATE_TEST_SUITE_P(
    Layouts, ReadsTable,
    ::testing::Values(
        Case("TwoNumbersNoHeader", "1.5 2.5\n", kSpaceTab, "nan", kS12, {{1.5, 2.5}}),
        Case("SemicolonDecimalComma", "1,5;2,5\n", Comma({.semicolon = true}), "nan", kS12,
             {{1.5, 2.5}}),
        Case("CommaFlagIgnoredUnderDecimalComma", "1,5;2,5\n",
             Comma({.comma = true, .semicolon = true}), "nan", kS12, {{1.5, 2.5}}),
        Case("CommaDelimiterUnderDecimalPoint", "1.5,2.5\n", Point({.comma = true}), "nan", kS12,
             {{1.5, 2.5}}),
        Case("DelimiterRunsMakeNoEmptyFields", "a  b\t\tc\n 1 \t2\t3 \n", kSpaceTab, "nan",
             {"a", "b", "c"}, {{1, 2, 3}}),
        Case("SpaceInactiveKeepsTwoWordsInOneName", "first word;second\n1;2\n",
             Point({.semicolon = true}), "nan", {"first word", "second"}, {{1, 2}}),
        Case("HeaderOfWordsThenNumbers", "alpha beta\n1 2\n3 4\n", kSpaceTab, "nan",
             {"alpha", "beta"}, {{1, 2}, {3, 4}}),
        Case("WordAndYearIsData", "March 1990\n", kSpaceTab, "nan", kS12, {{0, 1990}}),
        Case("LeadingEmptyAndCommentLines", "# made by hand\n\n! a\n@b\n$c\n%d\nv\n1\n2\n",
             kSpaceTab, "nan", {"v"}, {{1}, {2}}),
        Case("CrLfLineEnds", "v w\r\n1.5 nan\r\nnan 2\r\n", kSpaceTab, "nan", {"v", "w"},
             {{1.5, kMissing}, {kMissing, 2}}),
        Case("NoFinalLineBreak", "v\n1\nnan", kSpaceTab, "nan", {"v"}, {{1}, {kMissing}}),
        Case("NoFinalLineBreakAfterCr", "v\n1\nnan\r", kSpaceTab, "nan", {"v"}, {{1}, {kMissing}}),
        Case("CommentLinesAmongDataAreSkipped", "v\n1\n# note\n2\n%x\n3\n#end\n", kSpaceTab, "nan",
             {"v"}, {{1}, {2}, {3}}),
        Case("EmptyAndBlankLinesMakeNoRows", "v w\n1 2\n\n \t \n3 4\n\n\n  \n", kSpaceTab, "nan",
             {"v", "w"}, {{1, 2}, {3, 4}}),
        // The code is compared case-sensitively with whole fields; what is not a number reads 0.
        Case("MissingValueCode", "nan NaN - nan1\n", kSpaceTab, "nan",
             {"Series #1", "Series #2", "Series #3", "Series #4"}, {{kMissing, 0, 0, 0}}),
        Case("CodeThatIsANumber", "v\n-9999\n-9999.0\n", kSpaceTab, "-9999", {"v"},
             {{kMissing}, {-9999}}),
        // A code with the decimal separator marks a gap as written in the file.
        Case("CodeWithDecimalComma", "v\n-99,9\n1,5\n", Comma({.semicolon = true}), "-99,9", {"v"},
             {{kMissing}, {1.5}}),
        Case("NumberForms", "v\n1e3\n2E-2\n+3e2\n-.5\n5.\n-0.25e+1\n", kSpaceTab, "nan", {"v"},
             {{1000}, {0.02}, {300}, {-0.5}, {5}, {-2.5}}),
        // Hexadecimal, infinity and not-a-number forms are no numbers; trailing text is ignored.
        Case("NoHexInfNan", "v\n0x1A\ninf\n-Infinity\nNAN\n12abc\n1e\n1e+\n3.5e2x\n", kSpaceTab,
             "nan", {"v"}, {{0}, {0}, {0}, {0}, {12}, {1}, {1}, {350}}),
        Case("TooSmallReadsZero", "v\n1e-400\n-1e-999999999999\n", kSpaceTab, "nan", {"v"},
             {{0}, {0}}),
        // A number, or the missing-value code, in the first line makes it data.
        Case("NegativeFirstValueIsData", "-2.5\n1\n", kSpaceTab, "nan", kS1, {{-2.5}, {1}}),
        Case("PointFirstValueIsData", ".5\n1\n", kSpaceTab, "nan", kS1, {{0.5}, {1}}),
        Case("SignedExponentFirstValueIsData", "+3e2\n", kSpaceTab, "nan", kS1, {{300}}),
        Case("CodeFirstValueIsData", "nan\n1\n", kSpaceTab, "nan", kS1, {{kMissing}, {1}}),
        Case("CommaNumberFirstValueIsData", "-1,5;x\n2;3\n", Comma({.semicolon = true}), "nan",
             kS12, {{-1.5, 0}, {2, 3}}),
        Case("DigitLaterInLineMakesData", "-x 5\n", kSpaceTab, "nan", kS12, {{0, 5}}),
        Case("SignAloneIsAName", "- +\n1 2\n", kSpaceTab, "nan", {"-", "+"}, {{1, 2}}),
        // Under the decimal comma a leading ',' is the separator of the number, not a delimiter.
        Case("LeadingDecimalComma", "v\n,5\n-,25\n", Comma({.semicolon = true}), "nan", {"v"},
             {{0.5}, {-0.25}}),
        // The last character of a line is taken as it stands.
        Case("LastCharacterOfLineUnchecked", "v,\n7,\n", Point({.space = true}), "nan", {"v,"},
             {{7}}),
        Case("ByteOrderMark",
             "\xEF\xBB\xBF"
             "1.5\n2.5\n",
             kSpaceTab, "nan", kS1, {{1.5}, {2.5}})),
    [](const ::testing::TestParamInfo<ReadCase>& info) { return std::string(info.param.label); });

struct FailCase {
  const char* label;
  std::string content;
  InputFormat format;
};

FailCase Fail(const char* label, std::string content, InputFormat format) {
  return {label, std::move(content), format};
}

void PrintTo(const FailCase& c, std::ostream* os) { *os << c.label; }

class RejectsFile : public ::testing::TestWithParam<FailCase> {};

TEST_P(RejectsFile, WithReadingError) {
  const FailCase& c = GetParam();
  TempFiles files;
  MaskedMatrix table;
  std::vector<std::string> names;
  try {
    ReadDataFile(files.Write(c.content), "nan", c.format, table, names);
    FAIL() << "no reading error";
  } catch (const ExceptionWrongDelimiterSelected& e) {
    EXPECT_EQ(e.message(), kReadingError);
  }
}

const std::string kLongName(350, 'n');

INSTANTIATE_TEST_SUITE_P(
    Failures, RejectsFile,
    ::testing::Values(
        Fail("CommaNotDelimiterUnderPoint", "1,5;2,5\n", Point({.semicolon = true})),
        Fail("PointUnderDecimalComma", "1.5;2\n", Comma({.semicolon = true})),
        Fail("PointInNameUnderDecimalComma", "a.b;c\n1;2\n", Comma({.semicolon = true})),
        Fail("CommaInNameUnderPoint", "a,b c\n1 2\n", kSpaceTab),
        Fail("InactiveSpaceBeforeFirstField", " a;b\n1;2\n", Point({.semicolon = true})),
        Fail("InactiveSpaceBeforeLaterField", "a;b\n1; 2\n", Point({.semicolon = true})),
        Fail("InactiveTabBeforeField", "a;b\n1;\t2\n", Point({.semicolon = true})),
        Fail("TwoPoints", "v\n1.2.3\n", kSpaceTab),
        Fail("TwoDecimalCommas", "v\n1,2,3\n", Comma({.semicolon = true})),
        Fail("ShortLine", "a b\n1\n", kSpaceTab),
        Fail("ShortLineWithTrailingDelimiters", "a b c\n1 2 \t\n", kSpaceTab),
        Fail("LongLine", "a b\n1 2 3\n", kSpaceTab),
        Fail("LongFirstDataLine", "1 2\n3 4 5\n6 7\n", kSpaceTab), Fail("EmptyFile", "", kSpaceTab),
        Fail("OnlyEmptyAndCommentLines", "\n# a\n\r\n!b\n\n", kSpaceTab),
        Fail("FirstLineOfDelimitersOnly", " \t \n1\n2\n", kSpaceTab),
        Fail("HeaderWithoutData", "v w\n\n# none\n", kSpaceTab),
        Fail("FieldOf400Characters", "v\n1" + std::string(399, 'x') + "\n", kSpaceTab),
        Fail("NumberTooLarge", "v\n1e400\n", kSpaceTab),
        Fail("LongDigitStringTooLarge", "v\n1" + std::string(398, '0') + "\n", kSpaceTab)),
    [](const ::testing::TestParamInfo<FailCase>& info) { return std::string(info.param.label); });

class DataFileReaderTest : public ::testing::Test {
 protected:
  int Read(const std::string& content, const InputFormat& format = kSpaceTab,
           const std::string& mv = "nan") {
    return ReadDataFile(files_.Write(content), mv, format, table_, names_);
  }
  TempFiles files_;
  MaskedMatrix table_;
  std::vector<std::string> names_;
};

TEST_F(DataFileReaderTest, MissingFileNamesThePath) {
  const std::string path = (files_.dir() / "absent.txt").string();
  try {
    ReadDataFile(path, "nan", kDefault, table_, names_);
    FAIL() << "no error for a missing file";
  } catch (const ExceptionNoFile& e) {
    EXPECT_EQ(e.message(), "Attention!\nFile " + path + " is not exist!");
  }
  EXPECT_THROW(ReadDataFile(files_.dir().string(), "nan", kDefault, table_, names_),
               ExceptionNoFile);
}

TEST_F(DataFileReaderTest, LongNamesAreCutAndFieldsUpTo399Read) {
  const std::string field399 = "7" + std::string(398, 'x');
  ASSERT_EQ(Read(kLongName + " " + std::string(299, 'm') + "\n1 " + field399 + "\n"), 2);
  EXPECT_EQ(names_[0], std::string(299, 'n'));
  EXPECT_EQ(names_[1], std::string(299, 'm'));
  EXPECT_DOUBLE_EQ(table_.value(1, 2), 7);
}

TEST_F(DataFileReaderTest, TableOfSameShapeIsResetAndCountsKept) {
  table_.Resize(3, 2);
  table_.values().setConstant(42);
  table_.flags().setZero();
  ASSERT_EQ(Read("a b\n1 nan\n\n2 3\nnan nan\n"), 2);
  ASSERT_EQ(table_.rows(), 3);
  const double want[3][2] = {{1, 0}, {2, 3}, {0, 0}};
  const bool valid[3][2] = {{true, false}, {true, true}, {false, false}};
  for (int i = 1; i <= 3; ++i) {
    for (int j = 1; j <= 2; ++j) {
      EXPECT_EQ(table_.value(i, j), want[i - 1][j - 1]) << i << "," << j;
      EXPECT_EQ(table_.isValid(i, j), valid[i - 1][j - 1]) << i << "," << j;
    }
  }
  EXPECT_EQ(table_.validCount(1), 2);
  EXPECT_EQ(table_.validCount(2), 1);
}

TEST_F(DataFileReaderTest, FailureKeepsWhatWasReadBefore) {
  // A table of the shape about to be read still starts from values 0 with flags 1.
  table_.Resize(4, 2);
  table_.values().setConstant(42);
  table_.flags().setZero();
  EXPECT_THROW(Read("v w\n1 2\nnan 4\n5 1.2.3\n7 8\n"), ExceptionWrongDelimiterSelected);
  EXPECT_EQ(names_, (std::vector<std::string>{"v", "w"}));
  ASSERT_EQ(table_.rows(), 4);
  ASSERT_EQ(table_.cols(), 2);
  const double want[4][2] = {{1, 2}, {0, 4}, {5, 0}, {0, 0}};
  const bool valid[4][2] = {{true, true}, {false, true}, {true, true}, {true, true}};
  for (int i = 1; i <= 4; ++i) {
    for (int j = 1; j <= 2; ++j) {
      EXPECT_EQ(table_.value(i, j), want[i - 1][j - 1]) << i << "," << j;
      EXPECT_EQ(table_.isValid(i, j), valid[i - 1][j - 1]) << i << "," << j;
    }
  }
}

TEST_F(DataFileReaderTest, NamesReplacedAtEveryReading) {
  names_ = {"old1", "old2", "old3"};
  ASSERT_EQ(Read("1 2\n"), 2);
  EXPECT_EQ(names_, kS12);
  ASSERT_EQ(Read("x\n1\n"), 1);
  EXPECT_EQ(names_, std::vector<std::string>{"x"});
}

// The bundled examples.

std::string Example(const char* file) { return std::string(VOREL_EXAMPLES_DIR) + "/" + file; }

std::set<int> Range(int from, int to) {
  std::set<int> s;
  for (int i = from; i <= to; ++i) s.insert(i);
  return s;
}

// Reads a one-column example with gaps and its complete series; checks the header, the row
// count, that exactly the listed points are missing and that every other point equals the
// complete series.
void CheckGapsExample(const char* gapsFile, const char* fullFile, const std::string& name, int rows,
                      const std::set<int>& gaps) {
  MaskedMatrix gapped, full;
  std::vector<std::string> names, fullNames;
  ASSERT_EQ(ReadDataFile(Example(gapsFile), "nan", kDefault, gapped, names), 1);
  ASSERT_EQ(ReadDataFile(Example(fullFile), "nan", kDefault, full, fullNames), 1);
  EXPECT_EQ(names, std::vector<std::string>{name});
  ASSERT_EQ(gapped.rows(), rows);
  ASSERT_EQ(full.rows(), rows);
  EXPECT_EQ(full.validCount(1), rows);
  EXPECT_EQ(gapped.validCount(1), rows - static_cast<int>(gaps.size()));
  for (int t = 1; t <= rows; ++t) {
    const bool gap = gaps.count(t) > 0;
    EXPECT_EQ(gapped.isValid(t, 1), !gap) << "point " << t;
    if (!gap) {
      EXPECT_EQ(gapped.value(t, 1), full.value(t, 1)) << "point " << t;
    }
  }
}

TEST(BundledExamples, Co2WithGaps) {
  std::set<int> gaps = Range(100, 111);
  gaps.merge(Range(400, 405));
  gaps.insert({250, 252});
  CheckGapsExample("co2-gaps.txt", "co2.txt", "co2", 468, gaps);
  MaskedMatrix t;
  std::vector<std::string> n;
  ReadDataFile(Example("co2.txt"), "nan", kDefault, t, n);
  EXPECT_DOUBLE_EQ(t.value(1, 1), 315.42);
  EXPECT_DOUBLE_EQ(t.value(468, 1), 364.34);
}

TEST(BundledExamples, NottemWithGaps) {
  std::set<int> gaps = Range(1, 3);
  gaps.merge(Range(60, 65));
  gaps.merge(Range(238, 240));
  CheckGapsExample("nottem-gaps.txt", "nottem.txt", "temperature", 240, gaps);
}

TEST(BundledExamples, AirPassengers) {
  MaskedMatrix t;
  std::vector<std::string> n;
  ASSERT_EQ(ReadDataFile(Example("airpassengers.txt"), "nan", kDefault, t, n), 1);
  EXPECT_EQ(n, std::vector<std::string>{"passengers"});
  ASSERT_EQ(t.rows(), 144);
  EXPECT_EQ(t.validCount(1), 144);
  EXPECT_EQ(t.value(1, 1), 112);
  EXPECT_EQ(t.value(2, 1), 118);
  EXPECT_EQ(t.value(144, 1), 432);
}

TEST(BundledExamples, SineWithGaps) {
  MaskedMatrix t;
  std::vector<std::string> n;
  ASSERT_EQ(ReadDataFile(Example("sine-gaps.txt"), "nan", kDefault, t, n), 1);
  ASSERT_EQ(t.rows(), 60);
  std::set<int> gaps = Range(8, 10);
  gaps.merge(Range(41, 44));
  gaps.insert(25);
  for (int k = 1; k <= 60; ++k) {
    EXPECT_EQ(t.isValid(k, 1), gaps.count(k) == 0) << "point " << k;
    if (t.isValid(k, 1)) {
      EXPECT_NEAR(t.value(k, 1), 10 + 3 * std::sin(2 * std::numbers::pi * k / 12), 5e-7)
          << "point " << k;
    }
  }
}

TEST(BundledExamples, TwoColumnsWithDecimalComma) {
  MaskedMatrix t;
  std::vector<std::string> n;
  ASSERT_EQ(ReadDataFile(Example("two-columns-comma.txt"), "nan", Comma({.semicolon = true}), t, n),
            2);
  EXPECT_EQ(n, (std::vector<std::string>{"thousands", "log10"}));
  ASSERT_EQ(t.rows(), 72);
  EXPECT_DOUBLE_EQ(t.value(1, 1), 3.035);
  EXPECT_DOUBLE_EQ(t.value(1, 2), 3.4822);
  const std::set<int> gaps1 = {5, 6, 7, 30}, gaps2 = {15, 16, 50, 51, 52};
  for (int i = 1; i <= 72; ++i) {
    EXPECT_EQ(t.isValid(i, 1), gaps1.count(i) == 0) << "row " << i;
    EXPECT_EQ(t.isValid(i, 2), gaps2.count(i) == 0) << "row " << i;
    // The second column is log10 of the deaths that the first gives in thousands.
    if (t.isValid(i, 1) && t.isValid(i, 2)) {
      EXPECT_NEAR(std::log10(t.value(i, 1) * 1000), t.value(i, 2), 6e-5) << "row " << i;
    }
  }
  // The default options (decimal point, comma active) cannot read it.
  EXPECT_THROW(ReadDataFile(Example("two-columns-comma.txt"), "nan", kDefault, t, n),
               ExceptionWrongDelimiterSelected);
}

}  // namespace
}  // namespace vorel

namespace vorel {
namespace {

// The table must fit in the memory the process may take before it is
// allocated: with one byte less than its values and flags (and the column
// counts), the reading is refused and the former table is left alone.
TEST_F(DataFileReaderTest, TableThatCannotFitIsRefusedBeforeItIsAllocated) {
  const std::string path = files_.Write("a b\n1 2\n3 4\n# c\n5 6\n");
  const std::uint64_t tableBytes = 3 * 2 * (sizeof(double) + 1) + 2 * sizeof(int);
  table_.Resize(1, 1);
  table_.set(1, 1, 9, true);
  try {
    ReadDataFile(path, "nan", kSpaceTab, table_, names_, nullptr,
                 [&] { return std::optional<std::uint64_t>(tableBytes - 1); });
    FAIL() << "a table beyond the memory was read";
  } catch (const ExceptionFileTooLarge& e) {
    EXPECT_EQ(e.message(),
              "Attention!\nNot enough memory to read the file " + path + " (3 rows by 2 columns).");
  }
  EXPECT_EQ(table_.rows(), 1);
  EXPECT_EQ(table_.value(1, 1), 9);
  ASSERT_EQ(ReadDataFile(path, "nan", kSpaceTab, table_, names_, nullptr,
                         [&] { return std::optional<std::uint64_t>(tableBytes); }),
            2);
  EXPECT_EQ(table_.value(3, 2), 6);
  // No limit known: read.
  ASSERT_EQ(ReadDataFile(path, "nan", kSpaceTab, table_, names_, nullptr,
                         [] { return std::optional<std::uint64_t>(); }),
            2);
}

// A file in UTF-16 (with or without its byte order mark) or with zero bytes is
// refused instead of reading every field as 0.
TEST_F(DataFileReaderTest, WideTextIsRefused) {
  const auto utf16 = [](const std::string& text, bool bigEndian, bool mark) {
    std::string out;
    if (mark) out += bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (const char c : text) {
      if (bigEndian) out += '\0';
      out += c;
      if (!bigEndian) out += '\0';
    }
    return out;
  };
  const std::string text = "x\n1.5\n2.5\n3.5\n";
  for (const std::string& content :
       {utf16(text, false, true), utf16(text, true, true), utf16(text, false, false),
        utf16(text, true, false), std::string("x\n1\n2\0\n3\n", 10), std::string("\xFF\xFE")}) {
    const std::string path = files_.Write(content);
    try {
      ReadDataFile(path, "nan", kSpaceTab, table_, names_);
      FAIL() << "wide text was read";
    } catch (const ExceptionNotPlainText& e) {
      EXPECT_EQ(e.message(), "Attention!\nThe file " + path +
                                 " is not plain text (it is in UTF-16 or holds zero bytes).\nSave "
                                 "it as plain text (ASCII or UTF-8), please.");
    }
  }
  // UTF-8 with its mark is plain text.
  ASSERT_EQ(Read("\xEF\xBB\xBFx\n1.5\n2.5\n"), 1);
  EXPECT_EQ(names_[0], "x");
}

// Fields that hold no number read as 0 (the reading rule) and are noted per
// column with the numbers of their first lines in the file.
TEST_F(DataFileReaderTest, FieldsWithoutANumberAreNoted) {
  DataFileNotes notes;
  const std::string path =
      files_.Write("# comment\nx y\n1 a\n- 2\n\n# c\nnan +\n3 .e5\n4 5\n6 x\n7 y\n8 z\n9 w\n");
  ASSERT_EQ(ReadDataFile(path, "nan", kSpaceTab, table_, names_, &notes), 2);
  ASSERT_EQ(notes.numberless.size(), 2u);
  EXPECT_EQ(notes.numberless[0].count, 1);
  EXPECT_EQ(notes.numberless[0].firstLines, (std::vector<long long>{4}));
  EXPECT_EQ(notes.numberless[1].count, 7);
  EXPECT_EQ(notes.numberless[1].firstLines, (std::vector<long long>{3, 7, 8, 10, 11}));
  EXPECT_EQ(table_.value(2, 1), 0);
  EXPECT_TRUE(table_.isValid(2, 1));
  EXPECT_FALSE(table_.isValid(3, 1));  // the missing-value code is no such field

  // Numbers followed by other characters, and numbers alone, note nothing.
  ASSERT_EQ(ReadDataFile(files_.Write("1x 2\n3 4e\n"), "nan", kSpaceTab, table_, names_, &notes),
            2);
  EXPECT_TRUE(notes.numberless.empty());
}

// A pipe is read like a file (it cannot be read twice from the disk).
TEST_F(DataFileReaderTest, APipeReadsLikeAFile) {
  const std::string content = "v w\n1 2\n# c\n3 nan\n5 6\n";
  MaskedMatrix fromFile;
  std::vector<std::string> fileNames;
  ASSERT_EQ(ReadDataFile(files_.Write(content), "nan", kSpaceTab, fromFile, fileNames), 2);
  const std::string pipe = (files_.dir() / "pipe").string();
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  std::thread writer([&] { std::ofstream(pipe, std::ios::binary) << content; });
  const int F = ReadDataFile(pipe, "nan", kSpaceTab, table_, names_);
  writer.join();
  EXPECT_EQ(F, 2);
  EXPECT_EQ(names_, fileNames);
  EXPECT_EQ(table_.values(), fromFile.values());
  EXPECT_EQ(table_.flags(), fromFile.flags());
}


// The standard input as a shell pipeline gives it: the read end of a pipe that a
// thread of its own fills and then closes. Contents that the reading may leave
// unread must fit in the pipe (64 KiB), or the writer would wait for good.
class FedPipe {
 public:
  explicit FedPipe(std::string content) {
    int fds[2] = {-1, -1};
    EXPECT_EQ(::pipe(fds), 0);
    read_ = fds[0];
    const int write = fds[1];
    writer_ = std::thread([write, text = std::move(content)] {
      for (std::size_t done = 0; done < text.size();) {
        const ssize_t n = ::write(write, text.data() + done, text.size() - done);
        if (n <= 0) break;
        done += static_cast<std::size_t>(n);
      }
      ::close(write);
    });
  }
  ~FedPipe() {
    writer_.join();
    ::close(read_);
  }
  FedPipe(const FedPipe&) = delete;
  FedPipe& operator=(const FedPipe&) = delete;
  int fd() const { return read_; }

 private:
  int read_ = -1;
  std::thread writer_;
};

// Points TMPDIR, where the reader copies what it can read only once, at a folder
// of the test while it lives.
class TemporaryFolder {
 public:
  explicit TemporaryFolder(const fs::path& folder) {
    if (const char* old = std::getenv("TMPDIR")) old_ = old;
    ::setenv("TMPDIR", folder.c_str(), 1);
  }
  ~TemporaryFolder() {
    if (old_) {
      ::setenv("TMPDIR", old_->c_str(), 1);
    } else {
      ::unsetenv("TMPDIR");
    }
  }
  TemporaryFolder(const TemporaryFolder&) = delete;
  TemporaryFolder& operator=(const TemporaryFolder&) = delete;

 private:
  std::optional<std::string> old_;
};

bool IsEmptyFolder(const fs::path& folder) {
  return fs::directory_iterator(folder) == fs::directory_iterator();
}

// The standard input reads as the same text in a file: through a pipe (copied to
// a temporary file that leaves no trace) and redirected from a file (read in place
// from where its descriptor stands, at both passes).
TEST_F(DataFileReaderTest, StandardInputReadsLikeTheFile) {
  const fs::path spool = files_.dir() / "spool";
  fs::create_directory(spool);
  const TemporaryFolder tmpdir(spool);
  std::string many = "k twice\n";
  for (int k = 1; k <= 30000; ++k) {
    many += std::to_string(k);
    many += ' ';
    many += k % 97 == 0 ? std::string("nan") : std::to_string(2 * k);
    many += '\n';
  }
  ASSERT_GT(many.size(), 3u * 65536);  // several reads of the pipe and of the copy
  const std::vector<std::string> contents = {
      "v w\n1 2\n# c\n3 nan\n5 x\n",
      "\xEF\xBB\xBF# first\r\n\r\n1.5 2.5\r\n3.5 nan\r\n",
      many,
  };
  for (const std::string& content : contents) {
    const std::string label = content.substr(0, 12);
    MaskedMatrix fromFile;
    std::vector<std::string> fileNames;
    DataFileNotes fileNotes;
    const int fileF = ReadDataFile(files_.Write(content), "nan", kSpaceTab, fromFile, fileNames,
                                   &fileNotes);
    DataFileNotes notes;
    int F = 0;
    {
      const FedPipe pipe(content);
      F = ReadDataFromStandardInput("nan", kSpaceTab, table_, names_, &notes,
                                    [] { return std::optional<std::uint64_t>(); }, pipe.fd());
    }
    EXPECT_EQ(F, fileF) << label;
    EXPECT_EQ(names_, fileNames) << label;
    EXPECT_EQ(table_.values(), fromFile.values()) << label;
    EXPECT_EQ(table_.flags(), fromFile.flags()) << label;
    ASSERT_EQ(notes.numberless.size(), fileNotes.numberless.size()) << label;
    for (std::size_t c = 0; c < notes.numberless.size(); ++c) {
      EXPECT_EQ(notes.numberless[c].firstLines, fileNotes.numberless[c].firstLines) << label;
    }
    EXPECT_TRUE(IsEmptyFolder(spool)) << label;
  }

  // Redirected from a file whose first line was taken by someone else: the data
  // begin at the second line, at the first pass and again at the second.
  const std::string path = files_.Write("x y\n10 20\n30 40\n");
  const int fd = ::open(path.c_str(), O_RDONLY);
  ASSERT_GE(fd, 0);
  char skipped[4];
  ASSERT_EQ(::read(fd, skipped, sizeof skipped), 4);
  const int F = ReadDataFromStandardInput("nan", kSpaceTab, table_, names_, nullptr,
                                          [] { return std::optional<std::uint64_t>(); }, fd);
  ::close(fd);
  EXPECT_EQ(F, 2);
  EXPECT_EQ(names_, (std::vector<std::string>{"Series #1", "Series #2"}));
  ASSERT_EQ(table_.rows(), 2);
  EXPECT_EQ(table_.value(1, 1), 10);
  EXPECT_EQ(table_.value(2, 2), 40);
}

// The refusals of a file hold for the standard input, with messages that name it;
// a refusal leaves no temporary copy, and one before the rows are read (all but
// the short line) leaves the former table.
TEST_F(DataFileReaderTest, StandardInputRefusalsNameIt) {
  const fs::path spool = files_.dir() / "spool";
  fs::create_directory(spool);
  const std::uint64_t tableBytes = 3 * 2 * (sizeof(double) + 1) + 2 * sizeof(int);
  const std::string notPlain =
      "Attention!\nThe standard input is not plain text (it is in UTF-16 or holds zero "
      "bytes).\nSend it as plain text (ASCII or UTF-8), please.";
  struct Case {
    const char* label;
    std::string content;
    std::uint64_t memory;
    std::string message;
  };
  const std::vector<Case> cases = {
      {"empty", "", tableBytes, kReadingError},
      {"comments only", "# a\n\n# b\n", tableBytes, kReadingError},
      {"short line", "a b\n1 2\n3\n", tableBytes, kReadingError},
      {"too large", "a b\n1 2\n3 4\n# c\n5 6\n", tableBytes - 1,
       "Attention!\nNot enough memory to read the standard input (3 rows by 2 columns)."},
      {"zero byte", std::string("x\n1\n2\0\n3\n", 10), tableBytes, notPlain},
      {"UTF-16 mark", "\xFF\xFEx\n1\n", tableBytes, notPlain},
  };
  const TemporaryFolder tmpdir(spool);
  for (const Case& c : cases) {
    table_.Resize(1, 1);
    table_.set(1, 1, 9, true);
    try {
      const FedPipe pipe(c.content);
      ReadDataFromStandardInput("nan", kSpaceTab, table_, names_, nullptr,
                                [&] { return std::optional<std::uint64_t>(c.memory); }, pipe.fd());
      ADD_FAILURE() << c.label << ": read";
    } catch (const AbstractException& e) {
      EXPECT_EQ(e.message(), c.message) << c.label;
    }
    if (std::string(c.label) != "short line") {
      EXPECT_EQ(table_.rows(), 1) << c.label;
      EXPECT_EQ(table_.value(1, 1), 9) << c.label;
    }
    EXPECT_TRUE(IsEmptyFolder(spool)) << c.label;
  }

  // A descriptor that cannot be read (here a folder's).
  const int folder = ::open(files_.dir().c_str(), O_RDONLY | O_DIRECTORY);
  ASSERT_GE(folder, 0);
  try {
    ReadDataFromStandardInput("nan", kSpaceTab, table_, names_, nullptr,
                              [] { return std::optional<std::uint64_t>(); }, folder);
    ADD_FAILURE() << "a folder was read";
  } catch (const ExceptionNoFile& e) {
    EXPECT_EQ(e.message(), "Attention!\nThe standard input cannot be read.");
  }
  ::close(folder);
}

// No temporary folder for the copy: the reading says where it tried and why.
TEST_F(DataFileReaderTest, StandardInputWithoutATemporaryFolderIsRefused) {
  const fs::path missing = files_.dir() / "missing";
  const TemporaryFolder tmpdir(missing);
  try {
    const FedPipe pipe("x\n1\n2\n3\n");
    ReadDataFromStandardInput("nan", kSpaceTab, table_, names_, nullptr,
                              [] { return std::optional<std::uint64_t>(); }, pipe.fd());
    FAIL() << "read without a copy";
  } catch (const ExceptionNoTemporaryCopy& e) {
    EXPECT_EQ(e.message(),
              "Attention!\nThe standard input cannot be copied to a temporary file in " +
                  missing.string() +
                  " (No such file or directory).\nFree some room there or name another folder in "
                  "TMPDIR, please.");
  }
  // A pipe named by its path takes the same road and names the file. Its
  // writer may find the reader gone: a write error, not the end of the tests.
  const std::string fifo = (files_.dir() / "fifo").string();
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const auto oldHandler = ::signal(SIGPIPE, SIG_IGN);
  std::thread writer([&] { std::ofstream(fifo, std::ios::binary) << "x\n1\n"; });
  try {
    ReadDataFile(fifo, "nan", kSpaceTab, table_, names_);
    ADD_FAILURE() << "read without a copy";
  } catch (const ExceptionNoTemporaryCopy& e) {
    EXPECT_EQ(e.message().rfind("Attention!\nThe file " + fifo + " cannot be copied to a "
                                "temporary file in " + missing.string() + " (",
                                0),
              0u)
        << e.message();
  }
  writer.join();
  ::signal(SIGPIPE, oldHandler);
}

}  // namespace
}  // namespace vorel
