#pragma once
// The command line of vorel-batch, parsed and checked for its form.

#include <array>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "document/InputFormat.h"
#include "engine/SimulationComponent.h"

namespace vorel {

// A malformed command line: the tool prints the message and its usage text and
// ends with status 2.
class BatchUsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The usage text printed by --help and after a malformed command line.
extern const char* const kBatchUsage;

// The refusal of a command line whose series text and JSON would both go to
// the standard output.
extern const char* const kBothOnStandardOutput;

// The name that stands for the standard input as DATAFILE or --compare FILE,
// and for the standard output as --output or --json FILE.
inline constexpr const char* kStandardStream = "-";

// Eigentriples as inclusive ranges FROM..TO (1-based), increasing, neither
// overlapping nor adjoining.
using EigentripleRanges = std::vector<std::pair<int, int>>;

struct BatchOptions {
  bool help = false;
  bool version = false;

  // Input: a data file ("-": the standard input), or the components of a
  // simulated series.
  std::optional<std::string> dataFile;
  std::optional<std::string> simulateList;
  ComponentList components;  // parsed from simulateList
  int length = 100;

  // Reading options, for the data file and the comparison file.
  int column = 1;
  std::optional<std::string> columnName;
  std::string mvCode = "nan";
  InputFormat format;  // delimiters space and tab, decimal point

  // Analysis.
  std::optional<int> window;
  int threshold = 0;
  int covarianceMethod = 2;          // kCovarianceSvd
  EigentripleRanges eigentriples{{1, 1}};
  int reconstructionMethod = 1;      // kProjection
  int validEntriesMethod = 11;       // kCnv
  std::array<int, 5> priority{12, 13, 14, 15, 16};
  std::optional<std::string> compareFile;  // "-": the standard input
  int compareColumn = 1;
  std::optional<int> cadzowIterations;
  std::optional<int> cadzowWindow;

  // Output. The series text goes to the standard output unless outputFile
  // names a file; the JSON to jsonFile, or to the standard output when
  // jsonToStandardOutput (then outputFile is set).
  std::optional<std::string> outputFile;
  int outputDecimal = kDecimalPoint;
  int outputDelimiter = kDelimiterSpace;
  std::optional<std::pair<int, int>> points;
  std::optional<std::string> jsonFile;
  bool jsonToStandardOutput = false;
};

// Parses the arguments (without the program name). Raises BatchUsageError for
// every malformed command line; checks that need the data (an eigentriple
// beyond L, a column beyond the file's) are left to the run.
BatchOptions ParseBatchOptions(const std::vector<std::string>& args);

// "1-3,5,4" -> {1..5}: numbers and ranges from 1 on, sorted, with overlapping
// and adjoining ranges merged.
EigentripleRanges ParseEigentripleList(const std::string& text);
// Five distinct method codes 12..16 or their names (simultaneous, left, right,
// both-middle, both-average), in priority order.
std::array<int, 5> ParsePriorityList(const std::string& text);
// Components separated by ';': const:C, cosine:A,gamma,alpha,phi, uniform:S,
// normal:S. Empty entries are ignored, so an empty text gives an empty list.
ComponentList ParseSimulationList(const std::string& text);
// "FROM-TO" with two non-negative integers.
std::pair<int, int> ParsePointRange(const std::string& text);

}  // namespace vorel
