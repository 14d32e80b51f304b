#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "document/SafeFileWriter.h"
#include "document/SeriesExport.h"

namespace vorel {
namespace {

namespace fs = std::filesystem;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// A series from values; NaN marks a missing element.
MaskedSeries Series(const std::vector<double>& v) {
  MaskedSeries s(static_cast<int>(v.size()));
  for (int t = 1; t <= s.length(); ++t) {
    const bool present = !std::isnan(v[t - 1]);
    s.set(t, present ? v[t - 1] : 0.0, present);
  }
  return s;
}

// Series x, reconstruction r and residuals x - r with the flags of x.
struct ExportInput {
  MaskedSeries x, r, e;
  ExportInput(const std::vector<double>& xs, const std::vector<double>& rs)
      : x(Series(xs)), r(Series(rs)), e(x) {
    for (int t = 1; t <= x.length(); ++t) e.value(t) = x.value(t) - r.value(t);
  }
  std::string Format(const SeriesExportOptions& o) const { return FormatSeriesExport(x, r, e, o); }
};

TEST(SeriesExport, AllPointsWithSpaceAndPoint) {
  const ExportInput in({1.5, kNaN, -2.0}, {1.25, 0.5, -2.125});
  EXPECT_EQ(in.Format({}),
            "$All series points\n"
            "Source_series Reconstructed_series Residuals\n"
            "1.500000e+00 1.250000e+00 2.500000e-01\n"
            "nan 5.000000e-01 nan\n"
            "-2.000000e+00 -2.125000e+00 1.250000e-01\n");
}

// The numbers are written as the C library's "%.6e" writes them, whatever the
// magnitude: rounding at the sixth digit, three-digit exponents, subnormals,
// negative zero and the largest doubles.
TEST(SeriesExport, NumbersAreWrittenAsPrintfWritesSixDigitExponentForm) {
  const std::vector<double> values = {
      0.0, -0.0, 1.0, 0.5, 9.9999995, 9.99999949, 123456789.0, -1.5e-7, 2.5e100,
      -1e-300, 4.9e-324, 2.2250738585072014e-308, 1.7976931348623157e308, 1.0 / 3.0,
      0.1, 1234567.5, 1.0000005, 1.0000015, 6.02214076e23};
  for (const double v : values) {
    const ExportInput in({v}, {v});
    const std::string text = in.Format({});
    char expected[64];
    std::snprintf(expected, sizeof expected, "%.6e %.6e ", v, v);
    const std::string line = text.substr(text.rfind('\n', text.size() - 2) + 1);
    EXPECT_EQ(line.substr(0, std::string(expected).size()), expected) << v;
  }
}

TEST(SeriesExport, CommaChangesOnlyTheDecimalPointAndTabSeparatesEveryColumn) {
  const ExportInput in({-1.5, 123456.7, kNaN}, {-1.0, 0.000123, -0.25});
  SeriesExportOptions o;
  o.decimal = kDecimalComma;
  o.delimiter = kDelimiterTab;
  EXPECT_EQ(in.Format(o),
            "$All series points\n"
            "Source_series\tReconstructed_series\tResiduals\n"
            "-1,500000e+00\t-1,000000e+00\t-5,000000e-01\n"
            "1,234567e+05\t1,230000e-04\t1,234567e+05\n"
            "nan\t-2,500000e-01\tnan\n");
  o.decimal = kDecimalPoint;
  EXPECT_EQ(in.Format(o),
            "$All series points\n"
            "Source_series\tReconstructed_series\tResiduals\n"
            "-1.500000e+00\t-1.000000e+00\t-5.000000e-01\n"
            "1.234567e+05\t1.230000e-04\t1.234567e+05\n"
            "nan\t-2.500000e-01\tnan\n");
}

TEST(SeriesExport, PointRangeFollowsTheBoundsOnlyWhenTheyLieInside) {
  const ExportInput in({1, 2, 3, 4, 5}, {1, 2, 3, 4, 5});
  const std::string line[] = {"",
                              "1.000000e+00 1.000000e+00 0.000000e+00\n",
                              "2.000000e+00 2.000000e+00 0.000000e+00\n",
                              "3.000000e+00 3.000000e+00 0.000000e+00\n",
                              "4.000000e+00 4.000000e+00 0.000000e+00\n",
                              "5.000000e+00 5.000000e+00 0.000000e+00\n"};
  const std::string title = "Source_series Reconstructed_series Residuals\n";
  struct Case {
    bool autoX;
    int left, right;
    std::string firstLine;
    int from, to;
  };
  const Case cases[] = {
      {false, 2, 4, "$Points from 2 to 4\n", 2, 4},
      {false, 1, 5, "$Points from 1 to 5\n", 1, 5},
      {false, 4, 5, "$Points from 4 to 5\n", 4, 5},
      {false, 0, 3, "$Points from 1 to 5\n", 1, 5},  // left bound outside
      {false, 2, 6, "$Points from 1 to 5\n", 1, 5},  // right bound outside
      {false, 3, 3, "$Points from 1 to 5\n", 1, 5},  // empty range
      {false, 4, 2, "$Points from 1 to 5\n", 1, 5},  // reversed
      {true, 2, 4, "$All series points\n", 1, 5},    // bounds ignored
  };
  for (const Case& c : cases) {
    SeriesExportOptions o;
    o.autoX = c.autoX;
    o.xLeftBound = c.left;
    o.xRightBound = c.right;
    std::string expected = c.firstLine + title;
    for (int i = c.from; i <= c.to; ++i) expected += line[i];
    EXPECT_EQ(in.Format(o), expected) << c.left << ".." << c.right;
  }
}

TEST(SeriesExport, RefusesSeriesOfDifferentLengths) {
  const MaskedSeries x = Series({1, 2, 3});
  const MaskedSeries shorter = Series({1, 2});
  EXPECT_THROW(FormatSeriesExport(x, shorter, x, {}), std::invalid_argument);
  EXPECT_THROW(FormatSeriesExport(x, x, shorter, {}), std::invalid_argument);
}

// A fresh folder for one test, removed afterwards.
class SafeWriteTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "vorel-export-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
  }
  void TearDown() override { fs::remove_all(dir_); }

  static std::string Read(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
  }
  // Number of entries in the folder (a leftover temporary file shows here).
  int Entries() const {
    int n = 0;
    for (auto it = fs::directory_iterator(dir_); it != fs::directory_iterator(); ++it) ++n;
    return n;
  }

  fs::path dir_;
};

TEST_F(SafeWriteTest, ExportWritesTheExactTextAndReplacesAnOldFile) {
  const ExportInput in({1.0, kNaN}, {0.5, 2.0});
  const fs::path target = dir_ / "out.txt";
  {
    std::ofstream old(target);
    old << "old contents that are longer than the new ones ....................................";
  }
  ::chmod(target.c_str(), 0640);
  ExportSeries(target.string(), in.x, in.r, in.e, {});
  EXPECT_EQ(Read(target),
            "$All series points\n"
            "Source_series Reconstructed_series Residuals\n"
            "1.000000e+00 5.000000e-01 5.000000e-01\n"
            "nan 2.000000e+00 nan\n");
  EXPECT_EQ(fs::status(target).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  EXPECT_EQ(Entries(), 1);
}

TEST_F(SafeWriteTest, AFileThatCannotBeWrittenIsReportedAndLeavesNothingBehind) {
  const std::string missingFolder = (dir_ / "no-such-folder" / "out.txt").string();
  try {
    WriteFileSafely(missingFolder, "text");
    FAIL() << "no exception";
  } catch (const ExceptionFileNotWritten& e) {
    EXPECT_EQ(e.message(), "Attention!\nThe file " + missingFolder + " cannot be written.");
  }
  // A folder in the way of the target: the rename fails, the folder stays and
  // the temporary file is removed.
  fs::create_directory(dir_ / "taken");
  fs::create_directory(dir_ / "taken" / "inside");
  EXPECT_THROW(WriteFileSafely((dir_ / "taken").string(), "text"), ExceptionFileNotWritten);
  EXPECT_TRUE(fs::is_directory(dir_ / "taken"));
  EXPECT_EQ(Entries(), 1);
}

TEST_F(SafeWriteTest, AStagedFileTouchesTheTargetOnlyOnCommit) {
  const fs::path target = dir_ / "a.json";
  { std::ofstream(target) << "before"; }
  {
    StagedFile staged(target.string(), "after");
    EXPECT_EQ(Read(target), "before");
    EXPECT_EQ(Entries(), 2);
  }  // dropped without Commit
  EXPECT_EQ(Read(target), "before");
  EXPECT_EQ(Entries(), 1);

  StagedFile staged(target.string(), "after");
  staged.Commit();
  EXPECT_EQ(Read(target), "after");
  EXPECT_EQ(Entries(), 1);
}

TEST_F(SafeWriteTest, ALinkIsWrittenThroughAndAReadOnlyFileIsKept) {
  // The linked file, in another folder, gets the contents; the link stays a link.
  fs::create_directory(dir_ / "real");
  const fs::path real = dir_ / "real" / "settings.ini";
  { std::ofstream(real) << "before"; }
  fs::create_symlink(fs::path("real") / "settings.ini", dir_ / "link.ini");
  WriteFileSafely((dir_ / "link.ini").string(), "after");
  EXPECT_TRUE(fs::is_symlink(dir_ / "link.ini"));
  EXPECT_EQ(Read(real), "after");
  EXPECT_EQ(Entries(), 2);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir_ / "real"), fs::directory_iterator()), 1);

  if (::geteuid() == 0) GTEST_SKIP() << "the superuser may write any file";
  const fs::path locked = dir_ / "locked.txt";
  { std::ofstream(locked) << "kept"; }
  ::chmod(locked.c_str(), 0444);
  EXPECT_THROW(WriteFileSafely(locked.string(), "new"), ExceptionFileNotWritten);
  EXPECT_EQ(Read(locked), "kept");
  EXPECT_EQ(Entries(), 3);
}

}  // namespace
}  // namespace vorel
