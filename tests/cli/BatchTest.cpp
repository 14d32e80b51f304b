#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "cli/BatchOptions.h"
#include "cli/BatchRun.h"
#include "engine/Exceptions.h"
#include "engine/SsaPipeline.h"
#include "cli/ShortestJson.h"

namespace vorel {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

struct Result {
  int status;
  std::string out, err;
};

Result Batch(const std::vector<std::string>& args) {
  std::ostringstream out, err;
  const int status = RunBatch(args, out, err);
  return {status, out.str(), err.str()};
}

std::string Read(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::vector<std::string> Fields(const std::string& line, char d) {
  std::vector<std::string> fields;
  std::istringstream in(line);
  for (std::string f; std::getline(in, f, d);) fields.push_back(f);
  return fields;
}

const std::string kUsageFirstLine = "Usage: vorel-batch [OPTIONS] [DATAFILE]\n";

// A fresh folder per test for data and output files.
class BatchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "vorel-batch-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string File(const std::string& name, const std::string& contents) {
    const fs::path p = dir_ / name;
    std::ofstream(p, std::ios::binary) << contents;
    return p.string();
  }
  std::string Path(const std::string& name) const { return (dir_ / name).string(); }
  int Entries() const {
    int n = 0;
    for (auto it = fs::directory_iterator(dir_); it != fs::directory_iterator(); ++it) ++n;
    return n;
  }

  fs::path dir_;
};

TEST(BatchUsage, HelpAndMalformedCommandLines) {
  const Result help = Batch({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.out, kBatchUsage);
  EXPECT_EQ(help.out.rfind(kUsageFirstLine, 0), 0u);

  const std::vector<std::vector<std::string>> malformed = {
      {},                                            // no input
      {"a.txt", "--simulate", "const:1"},            // two inputs
      {"--simulate", "const:1", "--unknown"},        // unknown option
      {"--simulate", "const:1", "--window"},         // missing value
      {"--simulate", "const:1", "--window", "2.5"},  // not an integer
      {"--simulate", "const:1", "--window", "+-30"},  // two signs
      {"--simulate", "const:+-1"},                    // two signs
      {"--simulate", "const:1", "--window", "4", "--window", "5"},
      {"--simulate", "const:1", "--length", "ten"},
      {"--simulate", "const:1;wave:1"},  // unknown kind
      {"--simulate", "cosine:1,0,0.1"},  // three numbers
      {"--simulate", "const:1", "--covariance", "fast"},
      {"--simulate", "const:1", "--method", "PC"},
      {"--simulate", "const:1", "--valid", "both"},
      {"--simulate", "const:1", "--eigentriples", "1-"},
      {"--simulate", "const:1", "--eigentriples", "0,1"},
      {"--simulate", "const:1", "--eigentriples", "51"},  // L = 50
      {"--simulate", "const:1", "--priority", "12,13,14,15,15"},
      {"--simulate", "const:1", "--points", "5"},
      {"--simulate", "const:1", "--output-delimiter", "comma"},
      {"--simulate", "const:1", "--delimiters", "space,pipe"},
      {"--simulate", "const:1", "--mv", "n a"},
      {"--simulate", "const:1", "--column", "1", "--column-name", "x"},
      {"--simulate", "const:1", "--compare-column", "2"},  // without --compare
      {"--simulate", "const:1", "--cadzow-window", "60"},  // without --cadzow
      {"--simulate", "const:1", "--output", "same", "--json", "same"},
      {"--simulate", "const:1", "--json", "-"},  // both on the standard output
      {"--simulate", "const:1", "--output", "-", "--json", "-"},
      {"-", "--compare", "-"},  // the standard input twice
  };
  for (const auto& args : malformed) {
    const Result r = Batch(args);
    std::string joined;
    for (const auto& a : args) joined += a + " ";
    EXPECT_EQ(r.status, 2) << joined;
    EXPECT_EQ(r.err.rfind("vorel-batch: ", 0), 0u) << joined << r.err;
    EXPECT_NE(r.err.find("\n\n" + kUsageFirstLine), std::string::npos) << joined;
    EXPECT_EQ(r.out, "") << joined;
  }
}

TEST(BatchParsing, ListsOfTheCommandLine) {
  using Ranges = std::vector<std::pair<int, int>>;
  EXPECT_EQ(ParseEigentripleList("1-3,5"), (Ranges{{1, 3}, {5, 5}}));
  EXPECT_EQ(ParseEigentripleList(" 4 , 2-2,1-2"), (Ranges{{1, 2}, {4, 4}}));
  EXPECT_EQ(ParseEigentripleList("7,1-3,4-5,2"), (Ranges{{1, 5}, {7, 7}}));
  for (const char* bad : {"", "1,,2", "a", "2-1", "0", "-1", "1-x", "1.5"}) {
    EXPECT_THROW(ParseEigentripleList(bad), BatchUsageError) << bad;
  }
  EXPECT_EQ(ParsePriorityList("16,15,14,13,12"), (std::array<int, 5>{16, 15, 14, 13, 12}));
  EXPECT_EQ(ParsePriorityList("both-average,left,simultaneous,both-middle,right"),
            (std::array<int, 5>{16, 13, 12, 15, 14}));
  for (const char* bad : {"12,13,14,15", "12,13,14,15,17", "12,13,14,15,12", "12,13,14,15,16,12"}) {
    EXPECT_THROW(ParsePriorityList(bad), BatchUsageError) << bad;
  }
  EXPECT_EQ(ParsePointRange("10-20"), (std::pair<int, int>{10, 20}));
  for (const char* bad : {"10", "-5-3", "a-b", "1-", "1-2-3"}) {
    EXPECT_THROW(ParsePointRange(bad), BatchUsageError) << bad;
  }
  const ComponentList list =
      ParseSimulationList("const:2.5; cosine:1,-0.01,0.25,0.5;uniform:1;normal:+0.5;");
  ASSERT_EQ(list.size(), 4u);
  EXPECT_EQ(list[0]->text(), "2.500");
  EXPECT_EQ(list[1]->text(), "1.000 * exp (-0.010 * n) cos (2 * Pi * 0.250 * n + 2 * Pi *0.500)");
  EXPECT_EQ(list[2]->kind(), "noiseRR");
  EXPECT_EQ(list[3]->text(), "noise N(0,0.500)");
  EXPECT_TRUE(ParseSimulationList(" ; ").empty());
  for (const char* bad :
       {"const", "const:", "const:1,2", "const:nan", "const:inf", "normal:1e999"}) {
    EXPECT_THROW(ParseSimulationList(bad), BatchUsageError) << bad;
  }
}

TEST(BatchJson, DoublesAreShortestRoundTripAndNonFiniteIsNull) {
  nlohmann::ordered_json j = nlohmann::ordered_json::object();
  j["n"] = 3;
  j["v"] = {0.1,   1e-7,         5e-324,  1.7976931348623157e308, -0.0, 1.0 / 3.0,
            100.0, std::nan(""), HUGE_VAL};
  j["s"] = "x";
  const std::string text = DumpShortestJson(j);
  EXPECT_EQ(text,
            "{\n  \"n\": 3,\n  \"v\": [0.1, 1e-07, 5e-324, 1.7976931348623157e+308, -0, "
            "0.3333333333333333, 100, null, null],\n  \"s\": \"x\"\n}\n");
  const json back = json::parse(text);
  EXPECT_EQ(back["v"][5].get<double>(), 1.0 / 3.0);
  EXPECT_EQ(back["v"][3].get<double>(), 1.7976931348623157e308);
}

TEST(BatchRun, ConstantSimulation) {
  const Result r = Batch({"--simulate", "const:2.5", "--length", "5", "--method", "pc"});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  const auto lines = Lines(r.out);
  ASSERT_EQ(lines.size(), 7u);
  EXPECT_EQ(lines[0], "$All series points");
  EXPECT_EQ(lines[1], "Source_series Reconstructed_series Residuals");
  for (size_t k = 2; k < 7; ++k) {
    const auto f = Fields(lines[k], ' ');
    ASSERT_EQ(f.size(), 3u) << lines[k];
    EXPECT_EQ(f[0], "2.500000e+00");
    EXPECT_EQ(f[1], "2.500000e+00");
    EXPECT_LT(std::abs(std::stod(f[2])), 1e-12);
  }
}

TEST_F(BatchTest, NoiselessCosineIsReconstructedByItsEigentriples) {
  // A cosine has rank 2: its two leading eigentriples, as well as all of them,
  // give back the series; the other eigenvalues vanish.
  const double pi = std::acos(-1.0);
  for (const char* triples : {"1-2", "1-15"}) {
    const std::string jsonPath = Path("cosine.json");
    const Result run = Batch({"--simulate", "cosine:2,0,0.1,0.05", "--length", "30", "--method",
                              "pc", "--eigentriples", triples, "--json", jsonPath});
    ASSERT_EQ(run.status, 0) << run.err;
    const json j = json::parse(Read(jsonPath));
    EXPECT_EQ(j["length"], 30);
    EXPECT_EQ(j["window_length"], 15);
    EXPECT_EQ(j["threshold"], 0);
    EXPECT_EQ(j["covariance_method"], "svd");
    EXPECT_EQ(j["reconstruction_method"], "pc");
    const int r = std::string(triples) == "1-2" ? 2 : 15;
    json selected = json::array();
    for (int k = 1; k <= r; ++k) selected.push_back(k);
    EXPECT_EQ(j["selected"], selected);
    ASSERT_EQ(j["series"].size(), 30u);
    ASSERT_EQ(j["eigenvalues"].size(), 15u);
    double shareSum = 0;
    for (const auto& s : j["shares"]) shareSum += s.get<double>();
    EXPECT_NEAR(shareSum, 100.0, 1e-9);
    for (size_t k = 2; k < 15; ++k) EXPECT_NEAR(j["eigenvalues"][k].get<double>(), 0.0, 1e-9);
    const auto lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 32u);
    for (int n = 0; n < 30; ++n) {
      const double x = 2.0 * std::cos(2 * pi * (0.1 * n + 0.05));
      EXPECT_NEAR(j["series"][n].get<double>(), x, 1e-12);
      EXPECT_NEAR(j["reconstructed"][n].get<double>(), x, 1e-9) << triples << " " << n;
      EXPECT_NEAR(j["residuals"][n].get<double>(), 0.0, 1e-9);
      // The text carries the same numbers.
      char expected[40];
      std::snprintf(expected, sizeof expected, "%.6e", j["series"][n].get<double>());
      EXPECT_EQ(Fields(lines[static_cast<size_t>(n) + 2], ' ')[0], expected);
    }
  }
}

TEST_F(BatchTest, FileWithAGapAndComparison) {
  // x(t) = t with the third value missing; the reference holds the true values.
  const std::string data = File("gap.txt", "x\n1\n2\nnan\n4\n5\n6\n7\n8\n");
  const std::string truth = File("truth.txt", "1\n2\n3\n4\n5\n6\n7\n8\n");
  const std::string outPath = Path("out.txt");
  const std::string jsonPath = Path("out.json");
  const Result r =
      Batch({data, "--window", "3", "--threshold", "1", "--eigentriples", "1-2", "--method", "pc",
             "--compare", truth, "--output", outPath, "--output-delimiter", "tab",
             "--output-decimal", "comma", "--json", jsonPath});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "");  // the text went to the file
  const json j = json::parse(Read(jsonPath));
  EXPECT_EQ(j["series"], json::parse("[1, 2, null, 4, 5, 6, 7, 8]"));
  EXPECT_TRUE(j["residuals"][2].is_null());
  EXPECT_EQ(j["columns_after_deletion"].size(), 4u);  // thresholds 0..L
  EXPECT_EQ(j["applicability"]["both_covered"], true);
  EXPECT_FALSE(j.contains("cadzow"));

  // The deviations of the comparison, worked out from the reconstruction.
  double sum = 0;
  for (int t = 1; t <= 8; ++t) {
    if (t == 3) continue;
    const double d = j["reconstructed"][t - 1].get<double>() - t;
    sum += d * d;
  }
  EXPECT_NEAR(j["deviations"]["total"][0].get<double>(), std::sqrt(sum / 7), 1e-12);
  EXPECT_NEAR(j["deviations"]["missing"][0].get<double>(),
              std::abs(j["reconstructed"][2].get<double>() - 3.0), 1e-12);
  ASSERT_EQ(j["deviations"]["total"].size(), 1u);

  const auto lines = Lines(Read(outPath));
  ASSERT_EQ(lines.size(), 10u);
  EXPECT_EQ(lines[0], "$All series points");
  EXPECT_EQ(lines[1], "Source_series\tReconstructed_series\tResiduals");
  EXPECT_EQ(Fields(lines[2], '\t')[0], "1,000000e+00");
  const auto gap = Fields(lines[4], '\t');
  ASSERT_EQ(gap.size(), 3u);
  EXPECT_EQ(gap[0], "nan");
  EXPECT_EQ(gap[2], "nan");
  char filled[40];
  std::snprintf(filled, sizeof filled, "%.6e", j["reconstructed"][2].get<double>());
  std::string filledComma = filled;
  filledComma[filledComma.find('.')] = ',';
  EXPECT_EQ(gap[1], filledComma);
  EXPECT_EQ(Entries(), 4);  // two inputs, two outputs, no temporary file
}

TEST_F(BatchTest, PointsRangeAndWholeRunOnTheBundledExampleWithProjection) {
  const std::string example = std::string(VOREL_EXAMPLES_DIR) + "/sine-gaps.txt";
  const Result all = Batch({example, "--window", "12", "--eigentriples", "1-3"});
  ASSERT_EQ(all.status, 0) << all.err;
  const auto allLines = Lines(all.out);
  ASSERT_EQ(allLines.size(), 62u);

  const Result some =
      Batch({example, "--window", "12", "--eigentriples", "1-3", "--points", "5-9"});
  ASSERT_EQ(some.status, 0) << some.err;
  const auto lines = Lines(some.out);
  ASSERT_EQ(lines.size(), 7u);
  EXPECT_EQ(lines[0], "$Points from 5 to 9");
  for (size_t k = 2; k < 7; ++k) EXPECT_EQ(lines[k], allLines[k + 4]);

  // Bounds outside 1..N give every point under the same first line's form.
  const Result outside =
      Batch({example, "--window", "12", "--eigentriples", "1-3", "--points", "0-99"});
  ASSERT_EQ(outside.status, 0);
  EXPECT_EQ(Lines(outside.out)[0], "$Points from 1 to 60");
  EXPECT_EQ(Lines(outside.out).size(), 62u);
}

TEST_F(BatchTest, CadzowIterationsWithComparison) {
  const std::string example = std::string(VOREL_EXAMPLES_DIR) + "/sine-gaps.txt";
  const std::string jsonPath = Path("c.json");
  const Result r = Batch({example, "--window", "12", "--eigentriples", "1-3", "--compare", example,
                          "--cadzow", "3", "--cadzow-window", "20", "--json", jsonPath});
  ASSERT_EQ(r.status, 0) << r.err;
  const json j = json::parse(Read(jsonPath));
  EXPECT_EQ(j["window_length"], 12);
  EXPECT_EQ(j["cadzow"]["window_length"], 20);
  EXPECT_EQ(j["cadzow"]["iterations"], 3);
  EXPECT_EQ(j["eigenvalues"].size(), 12u);
  EXPECT_EQ(j["shares"].size(), 12u);
  EXPECT_EQ(j["selected"], json({1, 2, 3}));
  ASSERT_EQ(j["deviations"]["total"].size(), 3u);
  ASSERT_EQ(j["deviations"]["missing"].size(), 3u);
  // Compared with itself, the present positions count for the total and the
  // gaps (reference value 0 as read) for the rest.
  double sum = 0;
  int count = 0;
  for (int t = 0; t < 60; ++t) {
    if (j["series"][t].is_null()) continue;
    const double d = j["reconstructed"][t].get<double>() - j["series"][t].get<double>();
    sum += d * d;
    ++count;
  }
  EXPECT_NEAR(j["deviations"]["total"][2].get<double>(), std::sqrt(sum / count), 1e-12);
}

TEST_F(BatchTest, RefusalsCarryTheSystemsMessagesAndWriteNoFile) {
  const std::string twoRows = File("two.txt", "a\n1\n2\n");
  const std::string twoPresent = File("sparse.txt", "1\nnan\nnan\n5\nnan\n");
  const std::string comma = File("comma.txt", "1,5\n2,5\n3,5\n");
  const std::string longGap = File("longgap.txt", "1\n2\n3\nnan\nnan\nnan\n7\n8\n9\n10\n");
  const std::string shortRef = File("short.txt", "1\n2\n3\n");
  const std::string out = Path("out.txt");
  const std::string js = Path("out.json");
  struct Case {
    std::vector<std::string> args;
    std::string message;
  };
  const std::vector<Case> cases = {
      {{twoRows},
       "Attention!\nSource series length is too small (series length must be more than 2)."},
      {{twoPresent},
       "Attention!\nThere is no convenient window length for the source series. The series must "
       "have length more than 2 and number of valid components more than 2."},
      {{"--simulate", ""}, "Attention!\nThere is an empty series selected."},
      {{"--simulate", "const:1", "--length", "2"},
       "Attention!\nThe series length must be more than 2, because for series length less than "
       "2 there is no convenient window length.\nEnter another value, please."},
      {{"--simulate", "const:1", "--window", "100"},
       "The window length must satisfy to the following requirements: 1 < L < N-1.\nEnter "
       "another window length value, please."},
      {{"--simulate", "const:1", "--window", "10", "--threshold", "11"},
       "Attention!\nWrong threshold value is entered. Threshold value should be not negative "
       "number and be less than the series length."},
      {{Path("missing.txt")}, "Attention!\nFile " + Path("missing.txt") + " is not exist!"},
      {{comma}, "Attention!\nData reading/conversion error occured."},
      {{longGap, "--window", "3", "--threshold", "3", "--method", "pc"},
       "Attention!\nSelected methods'  combination cannot be applied to the source "
       "series.\nUse another combination."},
      {{"--simulate", "const:1", "--length", "10", "--compare", shortRef},
       "Error! The lengths of compared series should coincide. \nLoad another series, please."},
      {{"--simulate", "const:1", "--window", "5", "--cadzow", "2", "--cadzow-window", "4"},
       "Attention!\nThe window length of Cadzow's iterations should be greater or equal to window "
       "length used before and less than length of the source time series minus one."},
      {{"--simulate", "const:1", "--length", "2000000000", "--window", "1000000000"},
       "Attention!\nNot enough memory for this analysis (series length 2000000000, window length "
       "1000000000)."},
      {{"--simulate", "const:1", "--cadzow", "0"},
       "Attention!\nThe Cadzow's iterations number should be greater zero."},
      {{"--simulate", "const:1", "--output", Path("no-folder/out.txt")},
       "Attention!\nThe file " + Path("no-folder/out.txt") + " cannot be written."},
  };
  const int before = Entries();
  for (const Case& c : cases) {
    std::vector<std::string> args = c.args;
    if (c.args.back() != Path("no-folder/out.txt")) {
      args.insert(args.end(), {"--output", out, "--json", js});
    }
    const Result r = Batch(args);
    EXPECT_EQ(r.status, 1) << c.message;
    EXPECT_EQ(r.err, c.message + "\n");
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(Entries(), before) << c.message;  // no output and no temporary file
  }

  // A malformed command line noticed after reading leaves an old output alone.
  File("out.txt", "old");
  const Result r =
      Batch({"--simulate", "const:1", "--length", "10", "--eigentriples", "6", "--output", out});
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(Read(out), "old");
}

// --output and --json naming one file in two spellings are refused like the
// same spelling twice, whether the file exists or not; nothing is written.
TEST_F(BatchTest, TwoSpellingsOfOneOutputFileAreRefused) {
  fs::create_directory(dir_ / "sub");
  fs::create_directory_symlink(dir_ / "sub", dir_ / "link");
  File("h1", "old");
  fs::create_hard_link(dir_ / "h1", dir_ / "h2");
  const fs::path before = fs::current_path();
  fs::current_path(dir_);
  const std::vector<std::pair<std::string, std::string>> spellings = {
      {"X", "./X"},                       // neither exists yet
      {"X", (dir_ / "X").string()},       // relative and absolute
      {"sub/../X", "X"},                  // through a folder and back
      {"link/Y", "sub/Y"},                // through a linked folder
      {"sub//Y", "./sub/./Y"},            // doubled and dotted separators
      {"h1", "h2"},                       // two hard links of one file
      {"link/../h1", (dir_ / "h1").string()},
  };
  const int entries = Entries();
  for (const auto& [output, json] : spellings) {
    const Result r = Batch({"--simulate", "const:1", "--output", output, "--json", json});
    EXPECT_EQ(r.status, 2) << output << " " << json;
    EXPECT_NE(r.err.find("--output and --json name the same file"), std::string::npos) << r.err;
    EXPECT_EQ(Entries(), entries) << output << " " << json;
  }
  EXPECT_EQ(Read(dir_ / "h1"), "old");
  EXPECT_EQ(fs::directory_iterator(dir_ / "sub"), fs::directory_iterator());
  // Two different files in one folder are fine.
  const Result r = Batch({"--simulate", "const:1", "--output", "X", "--json", "./sub/X"});
  fs::current_path(before);
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(fs::exists(dir_ / "X"));
  EXPECT_TRUE(fs::exists(dir_ / "sub" / "X"));
}

// AddressSanitizer reserves a vast address space: no address-space limit
// holds under it.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kAddressSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kAddressSanitizer = true;
#else
constexpr bool kAddressSanitizer = false;
#endif
#else
constexpr bool kAddressSanitizer = false;
#endif

// The shell prefix that caps the CPU time of a child and, outside
// AddressSanitizer, its address space.
std::string LimitsPrefix(int seconds, long long kilobytes) {
  // One thread of the linear-algebra library, whose start-up mapping is part of
  // the address space the limits below count.
  std::string limits = "export OPENBLAS_NUM_THREADS=1; ulimit -t " + std::to_string(seconds) + "; ";
  if (!kAddressSanitizer) limits += "ulimit -v " + std::to_string(kilobytes) + "; ";
  return limits;
}

// An eigentriple list costs what its text costs, however long its ranges: 40
// ranges of a million are refused at once at L = 50, inside a small budget of
// memory and time (expanded, they took gigabytes and minutes).
TEST_F(BatchTest, LongEigentripleRangesAreCheckedWithoutExpandingThem) {
  std::string list;
  for (int k = 0; k < 40; ++k) {
    if (k > 0) list += ',';
    list += std::to_string(k * 1000000 + 1);
    list += '-';
    list += std::to_string((k + 1) * 1000000);
  }
  const std::string err = Path("err.txt");
  const std::string command = LimitsPrefix(10, 1000000) + "'" + VOREL_BATCH_EXE +
                              "' --simulate const:1 --eigentriples " + list +
                              " > /dev/null 2> '" + err + "'";
  const int raw = std::system(command.c_str());
  ASSERT_TRUE(WIFEXITED(raw)) << raw;
  EXPECT_EQ(WEXITSTATUS(raw), 2);
  EXPECT_EQ(Read(err).rfind("vorel-batch: --eigentriples: eigentriple 51 is outside 1..50 (the "
                            "window length)\n",
                            0),
            0u)
      << Read(err);

  // In the library: the ranges are kept merged, and a list within L still
  // chooses exactly its eigentriples.
  EXPECT_EQ(ParseEigentripleList("3-2000000000,1,2000000000-2147483647").size(), 2u);
  const Result r = Batch({"--simulate", "const:1", "--length", "10", "--eigentriples", "2-3,1,5-5",
                          "--json", Path("e.json")});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(json::parse(Read(Path("e.json")))["selected"], json({1, 2, 3, 5}));
}

// Series and results beyond the range of doubles are refused with a message
// instead of leaving as inf, nan or JSON null; results that fit are found.
TEST_F(BatchTest, ValuesBeyondTheRangeOfDoubles) {
  const std::string eigenFailure =
      "Attention!\nThe eigen-decomposition of the covariance matrix failed (the matrix holds "
      "values that are not finite or the solver did not converge).";
  const std::string simulationFailure =
      "Attention!\nThe simulated series holds values beyond the range of numbers (a component is "
      "too large).\nEnter other parameters, please.";
  std::string huge = "v\n";
  for (int t = 0; t < 20; ++t) huge += "1e300\n";
  const std::string hugeFile = File("huge.txt", huge);
  struct Case {
    std::vector<std::string> args;
    std::string message;
  };
  const std::vector<Case> cases = {
      // Two finite components whose sum is not.
      {{"--simulate", "const:1e308;const:1e308"}, simulationFailure},
      // exp(1000 n) overflows from n = 1 on.
      {{"--simulate", "cosine:1,1000,0.1,0", "--method", "pc"}, simulationFailure},
      // Squares of 1e300 overflow the covariance.
      {{hugeFile}, eigenFailure},
      // Finite covariance (entries 1.6e307), but its leading eigenvalue 99 * 1.6e307 is not.
      {{"--simulate", "const:4e153", "--window", "99", "--method", "pc"}, eigenFailure},
  };
  const std::string out = Path("out.txt"), js = Path("out.json");
  const int before = Entries();
  for (const Case& c : cases) {
    std::vector<std::string> args = c.args;
    args.insert(args.end(), {"--output", out, "--json", js});
    const Result r = Batch(args);
    EXPECT_EQ(r.status, 1) << c.args[0];
    EXPECT_EQ(r.err, c.message + "\n") << c.args[0];
    EXPECT_EQ(Entries(), before) << c.args[0];
  }

  // A reference of 1e300 against a reconstruction near 1..10: the total
  // deviation is 1e300, although its squares overflow.
  const std::string series = File("series.txt", "1\n2\n3\n4\n5\n6\n7\n8\n9\n10\n");
  std::string reference;
  for (int t = 0; t < 10; ++t) reference += "1e300\n";
  const Result r =
      Batch({series, "--method", "pc", "--compare", File("ref.txt", reference), "--json", js});
  ASSERT_EQ(r.status, 0) << r.err;
  const json j = json::parse(Read(js));
  ASSERT_TRUE(j["deviations"]["total"][0].is_number()) << j["deviations"];
  EXPECT_NEAR(j["deviations"]["total"][0].get<double>() / 1e300, 1.0, 1e-15);
  EXPECT_EQ(j["deviations"]["missing"][0], 0);
}

// A pipe as the output is written in place (it must stay a pipe), and a failed
// standard output puts no file in place.
TEST_F(BatchTest, OutputToAPipeAndAFailingStandardOutput) {
  const std::vector<std::string> run = {"--simulate", "const:2", "--length", "4", "--method", "pc"};
  const Result plain = Batch(run);
  ASSERT_EQ(plain.status, 0) << plain.err;

  // The reader is open before the run, so the tool's writer never waits; with
  // no writer at all the read would end at once with nothing.
  const std::string pipe = Path("pipe");
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  const int reader = ::open(pipe.c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(reader, 0);
  std::vector<std::string> args = run;
  args.insert(args.end(), {"--output", pipe, "--json", Path("p.json")});
  const Result piped = Batch(args);
  std::string received;
  char buffer[4096];
  for (ssize_t n; (n = ::read(reader, buffer, sizeof buffer)) > 0;) received.append(buffer, n);
  ::close(reader);
  EXPECT_EQ(piped.status, 0) << piped.err;
  EXPECT_EQ(received, plain.out);
  EXPECT_TRUE(fs::is_fifo(pipe));
  EXPECT_TRUE(fs::exists(Path("p.json")));

  std::ostringstream brokenOut, err;
  brokenOut.setstate(std::ios::badbit);
  args = run;
  args.insert(args.end(), {"--json", Path("q.json")});
  EXPECT_EQ(RunBatch(args, brokenOut, err), 1);
  EXPECT_EQ(err.str(), "Attention!\nThe standard output cannot be written.\n");
  EXPECT_FALSE(fs::exists(Path("q.json")));
}

// A file of two million short lines (a table of 18 MB) is read with 56 MB of
// address space to spare (the whole text, split into lines, took several times that),
// and refused before its table is allocated with 11 MB to spare.
TEST_F(BatchTest, ReadingAFileStaysWithinItsTablesMemory) {
  if (kAddressSanitizer) {
    GTEST_SKIP() << "AddressSanitizer reserves more address space than the limit";
  }
  std::string lines;
  for (int k = 0; k < 2000000; ++k) lines += "1\n";
  const std::string data = File("short-lines.txt", lines);
  const std::string err = Path("err.txt");
  const auto run = [&](long long kilobytes) {
    // --column 2 ends the run after the reading, before any analysis.
    const std::string command = LimitsPrefix(30, kilobytes) + "'" + VOREL_BATCH_EXE + "' '" +
                                data + "' --column 2 > /dev/null 2> '" + err + "'";
    const int raw = std::system(command.c_str());
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  };
  // About 64 MB are mapped before main() (the linear-algebra library's buffers).
  EXPECT_EQ(run(120000), 2) << Read(err);
  EXPECT_EQ(Read(err).rfind("vorel-batch: --column: " + data + " has 1 column\n", 0), 0u)
      << Read(err);
  EXPECT_EQ(run(75000), 1);
  EXPECT_EQ(Read(err), "Attention!\nNot enough memory to read the file " + data +
                           " (2000000 rows by 1 column).\n");
}

// Fields of the chosen column that hold no number read as 0 as before, and the
// tool says so on standard error; the run succeeds. A UTF-16 file is refused.
TEST_F(BatchTest, FieldsWithoutANumberAreToldAndWideTextRefused) {
  const std::string data = File("words.txt", "t v\n1 1\n2 n/a\n3 3\n4 -\n5 5\n6 ?\n");
  const Result r = Batch({data, "--column", "2", "--method", "pc"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "vorel-batch: note: " + data +
                       ", column 2: 3 fields hold no number and read as 0 (lines 3, 5, 7).\n");
  EXPECT_EQ(Lines(r.out)[3].substr(0, 12), "0.000000e+00");
  // The other column has none; a comparison file is told as well.
  EXPECT_EQ(Batch({data, "--method", "pc"}).err, "");
  const Result compared = Batch({data, "--method", "pc", "--compare", data, "--compare-column", "2"});
  EXPECT_EQ(compared.status, 0);
  EXPECT_NE(compared.err.find(data + ", column 2: 3 fields"), std::string::npos) << compared.err;

  std::string wide = "\xFF\xFE";
  for (const char c : std::string("v\n1\n2\n3\n")) wide += std::string{c, '\0'};
  const std::string utf16 = File("utf16.txt", wide);
  const Result refused = Batch({utf16, "--output", Path("out.txt")});
  EXPECT_EQ(refused.status, 1);
  EXPECT_EQ(refused.err.rfind("Attention!\nThe file " + utf16 + " is not plain text", 0), 0u)
      << refused.err;
  EXPECT_FALSE(fs::exists(Path("out.txt")));
}

// The names of the temporary files the tool stages beside its outputs.
int StagedLeftovers(const fs::path& dir) {
  int n = 0;
  for (const auto& entry : fs::directory_iterator(dir)) {
    if (entry.path().filename().string().rfind(".vorel-", 0) == 0) ++n;
  }
  return n;
}

// A reader of the standard output that goes away early: the tool reports the
// failed output and leaves neither the JSON nor its staged file.
TEST_F(BatchTest, StandardOutputClosedEarlyLeavesNoFile) {
  // Far more text than a pipe holds, so head has gone before it is written.
  const std::string status = Path("status.txt");
  const std::string command = "('" + std::string(VOREL_BATCH_EXE) +
                              "' --simulate 'cosine:1,0,0.1,0' --length 20000 --window 10 "
                              "--method pc --json '" +
                              Path("p.json") + "' 2> '" + Path("err.txt") + "'; echo $? > '" +
                              status + "') | head -c 10 > /dev/null";
  ASSERT_EQ(std::system(command.c_str()), 0);
  EXPECT_EQ(Read(status), "1\n");
  EXPECT_EQ(Read(Path("err.txt")), "Attention!\nThe standard output cannot be written.\n");
  EXPECT_FALSE(fs::exists(Path("p.json")));
  EXPECT_EQ(StagedLeftovers(dir_), 0);
}

// A signal that ends the tool while its outputs are staged removes the staged
// files: here the text goes to a named pipe nobody reads, so the tool waits
// there with the JSON staged, and is ended by the signal.
TEST_F(BatchTest, SignalsWhileWritingLeaveNoStagedFile) {
  const std::string pipe = Path("pipe");
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  for (const int sig : {SIGTERM, SIGINT, SIGHUP}) {
    const std::string jsonPath = Path("s.json");
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      ::execl(VOREL_BATCH_EXE, VOREL_BATCH_EXE, "--simulate", "const:1", "--output", pipe.c_str(),
              "--json", jsonPath.c_str(), static_cast<char*>(nullptr));
      ::_exit(127);
    }
    // Wait (boundedly) for the staged JSON to appear.
    for (int k = 0; k < 3000 && StagedLeftovers(dir_) == 0; ++k) ::usleep(10000);
    EXPECT_EQ(StagedLeftovers(dir_), 1) << sig;
    ::kill(pid, sig);
    int raw = 0;
    ASSERT_EQ(::waitpid(pid, &raw, 0), pid);
    EXPECT_TRUE(WIFSIGNALED(raw) && WTERMSIG(raw) == sig) << sig << " " << raw;
    EXPECT_EQ(StagedLeftovers(dir_), 0) << sig;
    EXPECT_FALSE(fs::exists(jsonPath)) << sig;
    EXPECT_TRUE(fs::is_fifo(pipe));
  }
}

// The executable itself: its exit statuses, and the same text as the library.
TEST_F(BatchTest, ExecutableExitStatuses) {
  const auto run = [](const std::string& arguments) {
    const std::string command =
        std::string("'") + VOREL_BATCH_EXE + "' " + arguments + " > /dev/null 2>&1";
    const int raw = std::system(command.c_str());
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  };
  EXPECT_EQ(run("--help"), 0);
  EXPECT_EQ(run(""), 2);
  EXPECT_EQ(run("--simulate 'const:1' --length 2"), 1);
  const std::string out = Path("exe.txt");
  EXPECT_EQ(run("--simulate 'cosine:1,0,0.1,0;const:3' --length 20 --eigentriples 1-3 --output '" +
                out + "'"),
            0);
  const Result lib =
      Batch({"--simulate", "cosine:1,0,0.1,0;const:3", "--length", "20", "--eigentriples", "1-3"});
  EXPECT_EQ(Read(out), lib.out);
}

// A shell command line run in the test's folder, with the tool as "$B" and the
// temporary folder (where the tool copies a piped input) at spool/.
struct ShellRun {
  int status;
  std::string out, err;
};

class BatchPipeTest : public BatchTest {
 protected:
  void SetUp() override {
    BatchTest::SetUp();
    fs::create_directory(dir_ / "spool");
    fs::create_directory(dir_ / "capture");
  }
  ShellRun Shell(const std::string& line) {
    const fs::path capture = dir_ / "capture";
    const std::string command = "cd '" + dir_.string() + "' && export B='" + VOREL_BATCH_EXE +
                                "' TMPDIR='" + (dir_ / "spool").string() + "' && (" + line +
                                ") > '" + (capture / "out").string() + "' 2> '" +
                                (capture / "err").string() + "'";
    const int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, Read(capture / "out"), Read(capture / "err")};
  }
  bool SpoolEmpty() const {
    return fs::directory_iterator(dir_ / "spool") == fs::directory_iterator();
  }
};

// "-" reads the standard input (a pipe, or a redirected file) as DATAFILE or as
// --compare FILE, and gives what the file gives; "--output -" is the standard
// output; "--json -" writes the JSON there when the text goes to a file. A file
// named "-" in the folder is never read nor written; the copy of a piped input
// leaves nothing behind.
TEST_F(BatchPipeTest, StandardInputAndOutputAsDash) {
  std::string series = "level ref\n";
  for (int t = 1; t <= 40; ++t) {
    const double ref = 5 + std::cos(0.5 * t);
    series += (t == 12 || t == 13 ? std::string("nan") : std::to_string(ref + 0.01 * (t % 3))) +
              " " + std::to_string(ref) + "\n";
  }
  const std::string data = File("data.txt", series);
  std::string refColumn = "ref\n";
  for (int t = 1; t <= 40; ++t) refColumn += std::to_string(5 + std::cos(0.5 * t)) + "\n";
  File("ref.txt", refColumn);
  File("-", "not the data\n");

  // What the files give, run by the library.
  const std::vector<std::string> base = {data, "--window", "10", "--eigentriples", "1-3"};
  const std::string args = " --window 10 --eigentriples 1-3";
  const auto with = [&base](std::vector<std::string> more) {
    more.insert(more.begin(), base.begin(), base.end());
    return more;
  };
  const Result text = Batch(base);
  ASSERT_EQ(text.status, 0) << text.err;
  ASSERT_EQ(Batch(with({"--output", Path("ref-text.txt"), "--json", Path("ref.json")})).status, 0);
  const std::string json = Read(Path("ref.json"));
  ASSERT_EQ(Batch(with({"--compare", Path("ref.txt"), "--output", Path("ref-text.txt"), "--json",
                        Path("cmp.json")}))
                .status,
            0);
  const std::string compared = Read(Path("cmp.json"));
  ASSERT_NE(compared.find("\"deviations\""), std::string::npos);
  ASSERT_NE(compared, json);
  for (const char* name : {"ref-text.txt", "ref.json", "cmp.json"}) fs::remove(Path(name));

  struct Case {
    std::string line;
    std::string out;
    std::string file;  // written by the run, with the text
  };
  const std::vector<Case> cases = {
      {"cat data.txt | \"$B\" -" + args, text.out, ""},
      {"\"$B\" -" + args + " < data.txt", text.out, ""},
      {"cat data.txt | \"$B\" -" + args + " --output -", text.out, ""},
      {"cat data.txt | \"$B\" - --output text.txt --json -" + args, json, "text.txt"},
      {"cat ref.txt | \"$B\" data.txt --compare - --output text.txt --json -" + args, compared,
       "text.txt"},
  };
  const int entries = Entries();
  for (const Case& c : cases) {
    const ShellRun r = Shell(c.line);
    EXPECT_EQ(r.status, 0) << c.line << "\n" << r.err;
    EXPECT_EQ(r.err, "") << c.line;
    EXPECT_EQ(r.out, c.out) << c.line;
    if (!c.file.empty()) {
      EXPECT_EQ(Read(Path(c.file)), text.out) << c.line;
      fs::remove(Path(c.file));
    }
    EXPECT_EQ(Entries(), entries) << c.line;
    EXPECT_EQ(Read(Path("-")), "not the data\n") << c.line;
    EXPECT_TRUE(SpoolEmpty()) << c.line;
  }
}

// What goes wrong with the standard streams: an empty input is the reader's
// refusal of an empty file; messages name the standard input; two outputs on
// the standard output (spelled "-", or a file that is the standard output) are
// refused; a standard output that cannot be written fails the run and puts no
// file in place.
TEST_F(BatchPipeTest, StandardStreamsRefused) {
  std::string series = "a b\n";
  for (int t = 1; t <= 30; ++t) series += std::to_string(t % 7) + " " + std::to_string(t) + "\n";
  File("data.txt", series);
  const std::string noBoth =
      "vorel-batch: --output and --json cannot both go to the standard output; give --output "
      "FILE\n\n";
  const std::string noOutput = "Attention!\nThe standard output cannot be written.\n";
  struct Case {
    std::string line;
    int status;
    std::string err;
    bool whole;  // err is the whole of standard error, else its beginning
  };
  const std::vector<Case> cases = {
      {": | \"$B\" -", 1, "Attention!\nData reading/conversion error occured.\n", true},
      {"printf 'x\\n1\\n\\0002\\n' | \"$B\" -", 1,
       "Attention!\nThe standard input is not plain text", false},
      {"cat data.txt | \"$B\" - --column 3", 2,
       "vorel-batch: --column: the standard input has 2 columns\n", false},
      {"cat data.txt | \"$B\" - --column-name c", 2,
       "vorel-batch: --column-name: the standard input has no column named 'c'\n", false},
      {"\"$B\" - --compare - < data.txt", 2,
       "vorel-batch: DATAFILE and --compare cannot both read the standard input\n", false},
      {"\"$B\" data.txt --json -", 2, noBoth, false},
      {"\"$B\" data.txt --output - --json -", 2, noBoth, false},
      {"\"$B\" data.txt --json out.json > out.json", 2, noBoth, false},
      {"\"$B\" data.txt --output out.txt --json - > out.txt", 2, noBoth, false},
      {"\"$B\" data.txt --output /dev/stdout --json -", 2, noBoth, false},
      {"\"$B\" data.txt > /dev/full", 1, noOutput, true},
      {"\"$B\" data.txt --output - --json out.json > /dev/full", 1, noOutput, true},
      {"cat data.txt | \"$B\" - --output out.txt --json - > /dev/full", 1, noOutput, true},
  };
  const int entries = Entries();
  for (const Case& c : cases) {
    const ShellRun r = Shell(c.line);
    EXPECT_EQ(r.status, c.status) << c.line << "\n" << r.err;
    if (c.whole) {
      EXPECT_EQ(r.err, c.err) << c.line;
    } else {
      EXPECT_EQ(r.err.rfind(c.err, 0), 0u) << c.line << "\n" << r.err;
    }
    EXPECT_EQ(r.out, "") << c.line;
    // The shell may have made an empty file to redirect to; the tool made none.
    for (const char* name : {"out.txt", "out.json"}) {
      EXPECT_TRUE(!fs::exists(Path(name)) || Read(Path(name)).empty()) << c.line << " " << name;
      fs::remove(Path(name));
    }
    EXPECT_EQ(Entries(), entries) << c.line;
    EXPECT_TRUE(SpoolEmpty()) << c.line;
  }
}

// A piped input is held to the memory bound of a file: two million short lines
// (a table of 18 MB) are read within 56 MB of address space to spare and refused,
// naming the standard input, before the table is allocated with 11 MB to spare.
TEST_F(BatchPipeTest, StandardInputStaysWithinItsTablesMemory) {
  if (kAddressSanitizer) {
    GTEST_SKIP() << "AddressSanitizer reserves more address space than the limit";
  }
  std::string lines;
  for (int k = 0; k < 2000000; ++k) lines += "1\n";
  File("short-lines.txt", lines);
  const auto run = [&](long long kilobytes) {
    // --column 2 ends the run after the reading, before any analysis.
    return Shell(LimitsPrefix(30, kilobytes) + "cat short-lines.txt | \"$B\" - --column 2");
  };
  const ShellRun read = run(120000);
  EXPECT_EQ(read.status, 2) << read.err;
  EXPECT_EQ(read.err.rfind("vorel-batch: --column: the standard input has 1 column\n", 0), 0u)
      << read.err;
  const ShellRun refused = run(75000);
  EXPECT_EQ(refused.status, 1);
  EXPECT_EQ(refused.err,
            "Attention!\nNot enough memory to read the standard input (2000000 rows by 1 "
            "column).\n");
  EXPECT_TRUE(SpoolEmpty());
}

// The memory guard: an analysis that cannot fit is refused with the
// document's message (the L x L matrices alone of L = 100,000 take 80 GB
// each), at the window length of the command line and at the Cadzow window.
TEST(BatchMemory, AnalysisThatCannotFitIsRefusedWithTheDocumentsMessage) {
  const Result r = Batch({"--simulate", "cosine:1,0,0.1,0", "--length", "200001", "--window",
                          "100000"});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, ExceptionNotEnoughMemory(200001, 100000, 0).message() + "\n");
  EXPECT_TRUE(r.out.empty());

  const Result c = Batch({"--simulate", "cosine:1,0,0.1,0", "--length", "200001", "--window",
                          "20", "--cadzow", "2", "--cadzow-window", "100000"});
  EXPECT_EQ(c.status, 1);
  EXPECT_EQ(c.err, ExceptionNotEnoughMemory(200001, 100000, 2).message() + "\n");
}

// The estimate the guard compares: linear in N, quadratic in L only.
TEST(BatchMemory, FootprintOfTheBenchmarkAnalysesFitsTheirTargets) {
  EXPECT_LT(SsaPipeline::FootprintBytes(100000, 1000), 200u << 20);
  EXPECT_LT(SsaPipeline::FootprintBytes(1000000, 1000), 1u << 30);
  EXPECT_NO_THROW(SsaPipeline::CheckMemory(1000000, 1000, 0, std::uint64_t{1} << 30));
  EXPECT_THROW(SsaPipeline::CheckMemory(1000000, 1000, 0, std::uint64_t{100} << 20),
               ExceptionNotEnoughMemory);
  EXPECT_NO_THROW(SsaPipeline::CheckMemory(1000000, 1000, 0, std::nullopt));
}

}  // namespace
}  // namespace vorel
