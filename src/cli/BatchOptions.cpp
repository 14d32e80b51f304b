#include "cli/BatchOptions.h"

#include <CLI/CLI.hpp>
#include <algorithm>

#include "document/dialogs/DataExchange.h"

namespace vorel {

const char* const kBothOnStandardOutput =
    "--output and --json cannot both go to the standard output; give --output FILE";

const char* const kBatchUsage =
    "Usage: vorel-batch [OPTIONS] [DATAFILE]\n"
    "\n"
    "Fills the gaps of a time series by Singular Spectrum Analysis and writes the source\n"
    "series, its reconstruction and the residuals.\n"
    "\n"
    "Input, one of:\n"
    "  DATAFILE                   delimited text file holding the series; - reads the\n"
    "                             standard input (a file named - is ./-)\n"
    "  --simulate LIST            sum of components separated by ';': const:C,\n"
    "                             cosine:A,gamma,alpha,phi, uniform:S, normal:S\n"
    "  --length N                 length of the simulated series (default 100)\n"
    "\n"
    "Reading options (DATAFILE and --compare):\n"
    "  --column K                 column of the series, from 1 (default 1)\n"
    "  --column-name NAME         column of the series, by its header name\n"
    "  --mv CODE                  missing-value code (default nan)\n"
    "  --decimal point|comma      decimal separator (default point)\n"
    "  --delimiters LIST          subset of space,tab,comma,semicolon (default space,tab)\n"
    "\n"
    "Analysis:\n"
    "  --window L                 window length (default N/2 rounded up)\n"
    "  --threshold T              missing components a kept lagged vector may have (default 0)\n"
    "  --covariance svd|toeplitz  covariance method (default svd)\n"
    "  --eigentriples LIST        eigentriples of the signal, e.g. 1-3,5 (default 1)\n"
    "  --method pc|projection     reconstruction method (default projection)\n"
    "  --valid cnv|pi             method tried first for present entries (default cnv)\n"
    "  --priority LIST            order of the methods for missing entries: five codes 12..16\n"
    "                             or simultaneous,left,right,both-middle,both-average\n"
    "                             (default 12,13,14,15,16)\n"
    "  --compare FILE             deviations from the reference series in FILE (- reads the\n"
    "                             standard input, when DATAFILE does not)\n"
    "  --compare-column K         column of FILE (default 1)\n"
    "  --cadzow N                 N Cadzow iterations after the reconstruction\n"
    "  --cadzow-window LC         window length of the iterations (default L)\n"
    "\n"
    "Output:\n"
    "  --output FILE              series text to FILE (default, and with -, the standard\n"
    "                             output)\n"
    "  --output-decimal point|comma    decimal separator of the text (default point)\n"
    "  --output-delimiter space|tab    column delimiter of the text (default space)\n"
    "  --points FROM-TO           write the points FROM..TO only\n"
    "  --json FILE                every result as JSON to FILE (- writes the standard output,\n"
    "                             when --output names a file)\n"
    "  -h, --help                 print this text and exit\n"
    "  --version                  print the version and exit\n"
    "\n"
    "Files are replaced only when the whole run succeeds. Output to the standard output\n"
    "that cannot be written (a closed pipe, a full device) is a failure (status 1).\n"
    "\n"
    "Exit status: 0 on success, 1 when the data or the analysis is refused (the reason is\n"
    "printed), 2 for a malformed command line.\n";

namespace {

std::string Trim(const std::string& s) {
  const auto begin = s.find_first_not_of(" \t");
  if (begin == std::string::npos) return {};
  const auto end = s.find_last_not_of(" \t");
  return s.substr(begin, end - begin + 1);
}

std::vector<std::string> Split(const std::string& s, char separator) {
  std::vector<std::string> parts;
  std::string::size_type start = 0;
  for (;;) {
    const auto at = s.find(separator, start);
    parts.push_back(
        Trim(s.substr(start, at == std::string::npos ? std::string::npos : at - start)));
    if (at == std::string::npos) return parts;
    start = at + 1;
  }
}

// The whole text as an integer or a finite number, or nothing, read as the
// dialogs' fields read them (blanks around, a leading '+', no second sign).
std::optional<int> ToInt(const std::string& text) { return ParseIntegerField(text); }
std::optional<double> ToDouble(const std::string& text) { return ParseRealField(text); }

int RequireInt(const std::string& option, const std::string& text) {
  const auto value = ToInt(text);
  if (!value) throw BatchUsageError(option + ": '" + text + "' is not an integer");
  return *value;
}

// The index of text among choices, which map to codes.
int Choose(const std::string& option, const std::string& text,
           std::initializer_list<std::pair<const char*, int>> choices) {
  std::string names;
  for (const auto& [name, code] : choices) {
    if (text == name) return code;
    names += names.empty() ? name : std::string("|") + name;
  }
  throw BatchUsageError(option + ": '" + text + "' is not one of " + names);
}

InputFormat ParseDelimiters(const std::string& text, int decimal) {
  InputFormat format;
  format.decimal = decimal;
  format.delimComma = format.delimSemicolon = format.delimSpace = format.delimTab = false;
  for (const std::string& item : Split(text, ',')) {
    if (item == "space") {
      format.delimSpace = true;
    } else if (item == "tab") {
      format.delimTab = true;
    } else if (item == "comma") {
      format.delimComma = true;
    } else if (item == "semicolon") {
      format.delimSemicolon = true;
    } else if (!item.empty()) {
      throw BatchUsageError("--delimiters: '" + item +
                            "' is not one of space, tab, comma, semicolon");
    }
  }
  if (!format.delimComma && !format.delimSemicolon && !format.delimSpace && !format.delimTab) {
    throw BatchUsageError(
        "--delimiters: Attention!\nThere is no selected delimiter. Choose at least one delimiter");
  }
  return format;
}

void CheckMissingValueCode(const std::string& code) {
  if (code.empty()) throw BatchUsageError("--mv: Enter some value, please.");
  if (code.find_first_of(" \t;,.") != std::string::npos) {
    throw BatchUsageError(
        "--mv: Attention!\nMissing value code can't include this five symbols:\nspace(' '), "
        "<tab>, semicolon (';'), comma (',') and point ('.').");
  }
  if (code.size() > 39) {
    throw BatchUsageError("--mv: the missing-value code may have at most 39 characters");
  }
}

}  // namespace

EigentripleRanges ParseEigentripleList(const std::string& text) {
  EigentripleRanges ranges;
  const auto bad = [&text](const std::string& why) {
    return BatchUsageError("--eigentriples: '" + text + "': " + why);
  };
  for (const std::string& item : Split(text, ',')) {
    if (item.empty()) throw bad("empty entry");
    const auto dash = item.find('-', 1);
    int from = 0, to = 0;
    if (dash == std::string::npos) {
      const auto v = ToInt(item);
      if (!v) throw bad("'" + item + "' is not a number or a range");
      from = to = *v;
    } else {
      const auto a = ToInt(item.substr(0, dash));
      const auto b = ToInt(item.substr(dash + 1));
      if (!a || !b) throw bad("'" + item + "' is not a number or a range");
      from = *a;
      to = *b;
      if (from > to) throw bad("the range '" + item + "' is reversed");
    }
    if (from < 1) throw bad("eigentriples are numbered from 1");
    ranges.emplace_back(from, to);
  }
  // Kept as ranges, never expanded: the window length bounds them later, and
  // a list costs what its text costs however long its ranges are.
  std::sort(ranges.begin(), ranges.end());
  EigentripleRanges merged;
  for (const auto& [from, to] : ranges) {
    if (!merged.empty() && static_cast<long long>(from) <= merged.back().second + 1LL) {
      merged.back().second = std::max(merged.back().second, to);
    } else {
      merged.emplace_back(from, to);
    }
  }
  return merged;
}

std::array<int, 5> ParsePriorityList(const std::string& text) {
  const std::vector<std::string> items = Split(text, ',');
  const auto bad = [&text](const std::string& why) {
    return BatchUsageError("--priority: '" + text + "': " + why);
  };
  if (items.size() != 5) throw bad("five methods are needed");
  std::array<int, 5> codes{};
  for (size_t k = 0; k < 5; ++k) {
    const std::string& item = items[k];
    int code = 0;
    if (item == "simultaneous") {
      code = 12;
    } else if (item == "left") {
      code = 13;
    } else if (item == "right") {
      code = 14;
    } else if (item == "both-middle") {
      code = 15;
    } else if (item == "both-average") {
      code = 16;
    } else if (const auto v = ToInt(item); v && *v >= 12 && *v <= 16) {
      code = *v;
    } else {
      throw bad("'" + item + "' is not a method");
    }
    codes[k] = code;
  }
  std::array<int, 5> sorted = codes;
  std::sort(sorted.begin(), sorted.end());
  if (sorted != std::array<int, 5>{12, 13, 14, 15, 16}) throw bad("each method must appear once");
  return codes;
}

ComponentList ParseSimulationList(const std::string& text) {
  ComponentList list;
  for (const std::string& item : Split(text, ';')) {
    if (item.empty()) continue;
    const auto colon = item.find(':');
    const auto bad = [&item](const std::string& why) {
      return BatchUsageError("--simulate: '" + item + "': " + why);
    };
    if (colon == std::string::npos) throw bad("expected KIND:PARAMETERS");
    const std::string kind = Trim(item.substr(0, colon));
    std::vector<double> p;
    for (const std::string& number : Split(item.substr(colon + 1), ',')) {
      const auto v = ToDouble(number);
      if (!v) throw bad("'" + number + "' is not a finite number");
      p.push_back(*v);
    }
    const auto expect = [&](size_t n) {
      if (p.size() != n) throw bad(kind + " takes " + std::to_string(n) + " number(s)");
    };
    if (kind == "const") {
      expect(1);
      list.push_back(std::make_unique<ConstComponent>(p[0]));
    } else if (kind == "cosine") {
      expect(4);
      list.push_back(std::make_unique<CosineComponent>(p[0], p[1], p[2], p[3]));
    } else if (kind == "uniform") {
      expect(1);
      list.push_back(std::make_unique<UniformNoiseComponent>(p[0]));
    } else if (kind == "normal") {
      expect(1);
      list.push_back(std::make_unique<GaussianNoiseComponent>(p[0]));
    } else {
      throw bad("the kind must be const, cosine, uniform or normal");
    }
  }
  return list;
}

std::pair<int, int> ParsePointRange(const std::string& text) {
  const std::string t = Trim(text);
  const auto dash = t.find('-');
  const auto bad = BatchUsageError("--points: '" + text + "' is not FROM-TO");
  if (dash == std::string::npos || dash == 0) throw bad;
  const std::string a = t.substr(0, dash), b = t.substr(dash + 1);
  if (a.find_first_not_of("0123456789") != std::string::npos || b.empty() ||
      b.find_first_not_of("0123456789") != std::string::npos) {
    throw bad;
  }
  const auto from = ToInt(a), to = ToInt(b);
  if (!from || !to) throw bad;
  return {*from, *to};
}

BatchOptions ParseBatchOptions(const std::vector<std::string>& args) {
  CLI::App app{"vorel-batch"};
  app.set_help_flag();  // the tool prints its own usage text

  bool help = false;
  bool version = false;
  std::string dataFile, simulate, length, column, columnName, mv, decimal, delimiters, window,
      threshold, covariance, eigentriples, method, valid, priority, compare, compareColumn, cadzow,
      cadzowWindow, output, outputDecimal, outputDelimiter, points, json;

  app.add_flag("-h,--help", help);
  app.add_flag("--version", version);
  auto* dataOpt = app.add_option("DATAFILE", dataFile);
  auto* simulateOpt = app.add_option("--simulate", simulate);
  auto* lengthOpt = app.add_option("--length", length);
  auto* columnOpt = app.add_option("--column", column);
  auto* columnNameOpt = app.add_option("--column-name", columnName);
  auto* mvOpt = app.add_option("--mv", mv);
  auto* decimalOpt = app.add_option("--decimal", decimal);
  auto* delimitersOpt = app.add_option("--delimiters", delimiters);
  auto* windowOpt = app.add_option("--window", window);
  auto* thresholdOpt = app.add_option("--threshold", threshold);
  auto* covarianceOpt = app.add_option("--covariance", covariance);
  auto* eigentriplesOpt = app.add_option("--eigentriples", eigentriples);
  auto* methodOpt = app.add_option("--method", method);
  auto* validOpt = app.add_option("--valid", valid);
  auto* priorityOpt = app.add_option("--priority", priority);
  auto* compareOpt = app.add_option("--compare", compare);
  auto* compareColumnOpt = app.add_option("--compare-column", compareColumn);
  auto* cadzowOpt = app.add_option("--cadzow", cadzow);
  auto* cadzowWindowOpt = app.add_option("--cadzow-window", cadzowWindow);
  auto* outputOpt = app.add_option("--output", output);
  auto* outputDecimalOpt = app.add_option("--output-decimal", outputDecimal);
  auto* outputDelimiterOpt = app.add_option("--output-delimiter", outputDelimiter);
  auto* pointsOpt = app.add_option("--points", points);
  auto* jsonOpt = app.add_option("--json", json);

  dataOpt->excludes(simulateOpt);
  columnOpt->excludes(columnNameOpt);
  lengthOpt->needs(simulateOpt);
  compareColumnOpt->needs(compareOpt);
  cadzowWindowOpt->needs(cadzowOpt);

  // CLI11 takes its arguments in reverse order.
  std::vector<std::string> reversed(args.rbegin(), args.rend());
  try {
    app.parse(reversed);
  } catch (const CLI::ParseError& e) {
    throw BatchUsageError(e.what());
  }

  BatchOptions o;
  o.help = help;
  o.version = version;
  if (help || version) return o;

  if (*dataOpt) o.dataFile = dataFile;
  if (*simulateOpt) {
    o.simulateList = simulate;
    o.components = ParseSimulationList(simulate);
  }
  if (!o.dataFile && !o.simulateList) throw BatchUsageError("give a DATAFILE or --simulate LIST");
  if (*lengthOpt) o.length = RequireInt("--length", length);

  if (*columnOpt) {
    o.column = RequireInt("--column", column);
    if (o.column < 1) throw BatchUsageError("--column: columns are numbered from 1");
  }
  if (*columnNameOpt) o.columnName = columnName;
  if (*mvOpt) {
    CheckMissingValueCode(mv);
    o.mvCode = mv;
  }
  const int decimalCode = *decimalOpt ? Choose("--decimal", decimal,
                                               {{"point", kDecimalPoint}, {"comma", kDecimalComma}})
                                      : kDecimalPoint;
  o.format = ParseDelimiters(*delimitersOpt ? delimiters : std::string("space,tab"), decimalCode);

  if (*windowOpt) o.window = RequireInt("--window", window);
  if (*thresholdOpt) o.threshold = RequireInt("--threshold", threshold);
  if (*covarianceOpt) {
    o.covarianceMethod = Choose("--covariance", covariance, {{"svd", 2}, {"toeplitz", 3}});
  }
  if (*eigentriplesOpt) o.eigentriples = ParseEigentripleList(eigentriples);
  if (*methodOpt)
    o.reconstructionMethod = Choose("--method", method, {{"pc", 0}, {"projection", 1}});
  if (*validOpt) o.validEntriesMethod = Choose("--valid", valid, {{"cnv", 11}, {"pi", 10}});
  if (*priorityOpt) o.priority = ParsePriorityList(priority);
  if (*compareOpt) o.compareFile = compare;
  if (o.dataFile == kStandardStream && o.compareFile == kStandardStream) {
    throw BatchUsageError("DATAFILE and --compare cannot both read the standard input");
  }
  if (*compareColumnOpt) {
    o.compareColumn = RequireInt("--compare-column", compareColumn);
    if (o.compareColumn < 1) throw BatchUsageError("--compare-column: columns are numbered from 1");
  }
  if (*cadzowOpt) o.cadzowIterations = RequireInt("--cadzow", cadzow);
  if (*cadzowWindowOpt) o.cadzowWindow = RequireInt("--cadzow-window", cadzowWindow);

  if (*outputOpt) {
    if (output.empty()) throw BatchUsageError("--output: empty file name");
    if (output != kStandardStream) o.outputFile = output;
  }
  if (*outputDecimalOpt) {
    o.outputDecimal = Choose("--output-decimal", outputDecimal,
                             {{"point", kDecimalPoint}, {"comma", kDecimalComma}});
  }
  if (*outputDelimiterOpt) {
    o.outputDelimiter = Choose("--output-delimiter", outputDelimiter,
                               {{"space", kDelimiterSpace}, {"tab", kDelimiterTab}});
  }
  if (*pointsOpt) o.points = ParsePointRange(points);
  if (*jsonOpt) {
    if (json.empty()) throw BatchUsageError("--json: empty file name");
    if (json == kStandardStream) {
      o.jsonToStandardOutput = true;
    } else {
      o.jsonFile = json;
    }
  }
  if (o.jsonToStandardOutput && !o.outputFile) {
    throw BatchUsageError(kBothOnStandardOutput);
  }
  if (o.outputFile && o.jsonFile && *o.outputFile == *o.jsonFile) {
    throw BatchUsageError("--output and --json name the same file");
  }
  return o;
}

}  // namespace vorel
