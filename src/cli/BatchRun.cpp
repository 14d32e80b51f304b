#include "cli/BatchRun.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <memory>
#include <new>
#include <nlohmann/json.hpp>
#include <optional>
#include <vector>

#include "cli/BatchOptions.h"
#include "cli/ShortestJson.h"
#include "document/DataFileReader.h"
#include "document/SafeFileWriter.h"
#include "document/SeriesExport.h"
#include "engine/CadzowIterations.h"
#include "engine/Exceptions.h"
#include "engine/MethodApplicability.h"
#include "engine/ProgressSink.h"
#include "engine/RandomGenerators.h"
#include "engine/SsaAnalysis.h"
#include "engine/SsaPipeline.h"
#include "vorel/Version.h"

namespace vorel {

namespace {

using Json = nlohmann::ordered_json;

// The refusals of the desktop program's dialogs and commands, with their messages.
class BatchRefusal : public AbstractException {
 public:
  using AbstractException::AbstractException;
};

constexpr const char* kSeriesTooShort =
    "Attention!\nSource series length is too small (series length must be more than 2).";
constexpr const char* kNoConvenientWindow =
    "Attention!\nThere is no convenient window length for the source series. The series must "
    "have length more than 2 and number of valid components more than 2.";
constexpr const char* kEmptySimulation = "Attention!\nThere is an empty series selected.";
constexpr const char* kShortSimulation =
    "Attention!\nThe series length must be more than 2, because for series length less than 2 "
    "there is no convenient window length.\nEnter another value, please.";
constexpr const char* kLengthsDiffer =
    "Error! The lengths of compared series should coincide. \nLoad another series, please.";
constexpr const char* kSimulationNotFinite =
    "Attention!\nThe simulated series holds values beyond the range of numbers (a component is "
    "too large).\nEnter other parameters, please.";
constexpr const char* kResultsNotFinite =
    "Attention!\nThe analysis gave values beyond the range of numbers (the values of the series "
    "are too large).";
constexpr const char* kStandardOutputFailed = "Attention!\nThe standard output cannot be written.";

// The line numbers of a notice: "line 4" or "lines 4, 7, 9, ..." (the dots when
// there are more than those listed).
std::string LineList(const DataFileNotes::Numberless& n) {
  std::string text = n.count == 1 ? "line " : "lines ";
  for (size_t k = 0; k < n.firstLines.size(); ++k) {
    if (k > 0) text += ", ";
    text += std::to_string(n.firstLines[k]);
  }
  if (n.count > static_cast<long long>(n.firstLines.size())) text += ", ...";
  return text;
}

// Reads a data file ("-": the standard input) and returns its column 'column'
// (1-based) or the column named columnName. Fields of that column without a
// number (they read as 0) are told on err.
MaskedSeries ReadColumn(const std::string& path, const BatchOptions& o, int column,
                        const std::optional<std::string>& columnName, const char* option,
                        std::ostream& err) {
  MaskedMatrix table;
  std::vector<std::string> names;
  DataFileNotes notes;
  const bool standardInput = path == kStandardStream;
  const int F = standardInput
                    ? ReadDataFromStandardInput(o.mvCode, o.format, table, names, &notes)
                    : ReadDataFile(path, o.mvCode, o.format, table, names, &notes);
  const std::string name = standardInput ? "the standard input" : path;
  int chosen = 0;
  if (columnName) {
    for (int c = 1; c <= F && c <= static_cast<int>(names.size()); ++c) {
      if (names[static_cast<size_t>(c - 1)] == *columnName) {
        chosen = c;
        break;
      }
    }
    if (chosen == 0) {
      throw BatchUsageError(std::string(option) + ": " + name + " has no column named '" +
                            *columnName + "'");
    }
  } else if (column > F) {
    throw BatchUsageError(std::string(option) + ": " + name + " has " + std::to_string(F) +
                          (F == 1 ? " column" : " columns"));
  } else {
    chosen = column;
  }
  if (!notes.numberless.empty()) {
    const DataFileNotes::Numberless& n = notes.numberless[static_cast<size_t>(chosen - 1)];
    if (n.count > 0) {
      err << "vorel-batch: note: " << name << ", column " << chosen << ": " << n.count
          << (n.count == 1 ? " field holds" : " fields hold") << " no number and read"
          << (n.count == 1 ? "s" : "") << " as 0 (" << LineList(n) << ").\n";
    }
  }
  return table.Column(chosen);
}

Json Values(const MaskedSeries& s, bool nullWhereMissing) {
  Json array = Json::array();
  for (int t = 1; t <= s.length(); ++t) {
    if (nullWhereMissing && !s.isValid(t)) {
      array.push_back(nullptr);
    } else {
      array.push_back(s.value(t));
    }
  }
  return array;
}

Json ApplicabilityJson(const SeriesApplicability& a) {
  Json j = Json::object();
  j["principal_components"] = a.principalComponents;
  j["pi_projector"] = a.piProjector;
  j["cnv_both_sides"] = a.cnvBothSides;
  j["cnv_left"] = a.cnvLeft;
  j["cnv_right"] = a.cnvRight;
  j["simultaneous"] = a.simultaneous;
  j["sequential_both_sides"] = a.sequentialBothSides;
  j["sequential_left"] = a.sequentialLeft;
  j["sequential_right"] = a.sequentialRight;
  j["valid_entries_covered"] = a.validEntriesCovered;
  j["missing_entries_covered"] = a.missingEntriesCovered;
  j["both_covered"] = a.bothCovered;
  return j;
}

// True when a and b name the same file, however they are spelled: two
// existing names of one file (links included) share device and inode; names
// of files not there yet are compared made absolute, with their existing
// folders resolved and "." and ".." taken out.
bool SameFile(const std::string& a, const std::string& b) {
  if (a == b) return true;
  struct stat sa {}, sb {};
  const bool aExists = ::stat(a.c_str(), &sa) == 0;
  const bool bExists = ::stat(b.c_str(), &sb) == 0;
  if (aExists && bExists) return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
  namespace fs = std::filesystem;
  std::error_code ea, eb;
  const fs::path ca = fs::weakly_canonical(fs::absolute(a, ea), ea);
  const fs::path cb = fs::weakly_canonical(fs::absolute(b, eb), eb);
  return !ea && !eb && ca == cb;
}

// True when the file at path is the one the standard output goes to.
bool IsStandardOutput(const std::string& path) {
  struct stat file {}, output {};
  return ::stat(path.c_str(), &file) == 0 && ::fstat(STDOUT_FILENO, &output) == 0 &&
         file.st_dev == output.st_dev && file.st_ino == output.st_ino;
}

// The whole run after the command line has been parsed. Throws what refuses it.
int RunAnalysis(BatchOptions& o, std::ostream& out, std::ostream& err) {
  // Two outputs never go to one file, nor both to the standard output (the
  // series text goes there unless --output names a file).
  if (o.outputFile && o.jsonFile && SameFile(*o.outputFile, *o.jsonFile)) {
    throw BatchUsageError("--output and --json name the same file");
  }
  if (o.jsonFile && !o.outputFile && IsStandardOutput(*o.jsonFile)) {
    throw BatchUsageError(kBothOnStandardOutput);
  }
  if (o.outputFile && o.jsonToStandardOutput && IsStandardOutput(*o.outputFile)) {
    throw BatchUsageError(kBothOnStandardOutput);
  }

  SsaAnalysis a;

  // The series: the chosen column of the data file, or the simulation.
  if (o.dataFile) {
    MaskedSeries column = ReadColumn(*o.dataFile, o, o.column, o.columnName,
                                     o.columnName ? "--column-name" : "--column", err);
    if (column.length() < 3) throw BatchRefusal(kSeriesTooShort);
    a.series = std::move(column);
  } else {
    if (o.components.empty()) throw BatchRefusal(kEmptySimulation);
    if (o.length <= 2) throw BatchRefusal(kShortSimulation);
    const bool windowFits = o.window && *o.window >= 2 && *o.window <= o.length - 1;
    SsaPipeline::CheckMemory(o.length, windowFits ? *o.window : o.length / 2 + o.length % 2);
    a.series = SampleComponents(o.components, o.length);
    if (!a.series.values().allFinite()) throw BatchRefusal(kSimulationNotFinite);
  }
  const int N = a.length();

  // Window length, as after loading a series.
  a.ClampWindowLength(N / 2 + N % 2);
  const int L = o.window ? *o.window : a.windowLength();
  if (2 <= L && L <= N - 1) SsaPipeline::CheckMemory(N, L);

  // The covariance step.
  if (a.series.CountValid() <= 2) throw BatchRefusal(kNoConvenientWindow);
  a.SetWindowLength(L);
  // The eigentriples asked for must exist at this window length.
  std::vector<unsigned char> flags(static_cast<size_t>(L), 0);
  for (const auto& [from, to] : o.eigentriples) {
    if (to > L) {
      throw BatchUsageError("--eigentriples: eigentriple " + std::to_string(std::max(from, L + 1)) +
                            " is outside 1.." + std::to_string(L) + " (the window length)");
    }
    for (int k = from; k <= to; ++k) flags[static_cast<size_t>(k - 1)] = 1;
  }
  SsaPipeline pipeline(a);
  pipeline.threshold(o.threshold).covarianceMethod(o.covarianceMethod).eigentriples(flags);
  pipeline.setUp().computeCovariance();
  a.ComputeThresholdCurves();
  const MaskedSeries columnsAfterDeletion = a.columnsAfterDeletion;
  const MaskedSeries distortedRatio = a.distortedRatio;

  // The choice of eigentriples.
  pipeline.computeChoice();
  const MaskedSeries eigenvalues = a.eigenvalues;
  const MaskedSeries shares = a.shares;

  // The reconstruction, under the reconstruction dialog's rule.
  const SeriesApplicability applicability =
      ComputeSeriesApplicability(a.trajectory, a.selectedEigenvectors.cols());
  if (!((applicability.principalComponents || o.reconstructionMethod == kProjection) &&
        applicability.bothCovered)) {
    throw ExceptionImposibleToCombine();
  }
  pipeline.reconstruction(o.reconstructionMethod, o.validEntriesMethod, o.priority)
      .computeReconstruction();

  // Comparison and Cadzow iterations.
  std::optional<MaskedSeries> comparison;
  if (o.compareFile) {
    comparison = ReadColumn(*o.compareFile, o, o.compareColumn, std::nullopt, "--compare-column",
                            err);
    if (comparison->length() != N) throw BatchRefusal(kLengthsDiffer);
  }
  Json deviations;
  Json cadzow;
  if (o.cadzowIterations) {
    // The checks of the Cadzow dialog's OK, in its order.
    a.SetCadzowWindowLength(o.cadzowWindow ? *o.cadzowWindow : a.windowLength());
    a.SetCadzowIterations(*o.cadzowIterations);
    NullProgress progress;
    const std::optional<std::string> failure =
        RunCadzowIterations(a, progress, comparison ? &*comparison : nullptr);
    // The desktop program shows the message and keeps the iterations done so
    // far; a script gets the refusal instead of a result it cannot tell apart.
    if (failure) throw BatchRefusal(*failure);
    cadzow = Json::object();
    cadzow["window_length"] = a.cadzowWindowLength();
    cadzow["iterations"] = a.cadzowIterations();
  } else if (comparison) {
    CompareReconstruction(a, *comparison);
  }
  if (comparison) {
    deviations = Json::object();
    deviations["total"] = Values(a.cadzowDeviationValid, false);
    deviations["missing"] = Values(a.cadzowDeviationMissing, false);
  }

  // Nothing beyond the range of doubles may leave as a result (the JSON would
  // show it as null, the text as inf or nan).
  const auto finite = [](const MaskedSeries& s, bool presentOnly) {
    for (int t = 1; t <= s.length(); ++t) {
      if ((!presentOnly || s.isValid(t)) && !std::isfinite(s.value(t))) return false;
    }
    return true;
  };
  if (!finite(a.series, true) || !finite(a.reconstructed, false) || !finite(a.residuals, true) ||
      !finite(eigenvalues, false) || !finite(shares, false) ||
      (comparison &&
       (!finite(a.cadzowDeviationValid, false) || !finite(a.cadzowDeviationMissing, false)))) {
    throw BatchRefusal(kResultsNotFinite);
  }

  // The series text.
  SeriesExportOptions exportOptions;
  exportOptions.decimal = o.outputDecimal;
  exportOptions.delimiter = o.outputDelimiter;
  if (o.points) {
    exportOptions.autoX = false;
    exportOptions.xLeftBound = o.points->first;
    exportOptions.xRightBound = o.points->second;
  }
  const std::string text =
      FormatSeriesExport(a.series, a.reconstructed, a.residuals, exportOptions);

  // The JSON of every result.
  std::string jsonText;
  if (o.jsonFile || o.jsonToStandardOutput) {
    Json j = Json::object();
    j["length"] = N;
    j["window_length"] = a.windowLength();
    j["threshold"] = a.threshold();
    j["covariance_method"] = a.covarianceMethod == kCovarianceSvd ? "svd" : "toeplitz";
    j["reconstruction_method"] =
        a.reconstructionMethod == kPrincipalComponents ? "pc" : "projection";
    j["series"] = Values(a.series, true);
    j["eigenvalues"] = Values(eigenvalues, false);
    j["shares"] = Values(shares, false);
    Json selected = Json::array();
    for (int i = 1; i <= eigenvalues.length(); ++i) {
      if (eigenvalues.isValid(i)) selected.push_back(i);
    }
    j["selected"] = selected;
    j["applicability"] = ApplicabilityJson(applicability);
    j["columns_after_deletion"] = Values(columnsAfterDeletion, false);
    j["distorted_ratio"] = Values(distortedRatio, false);
    j["reconstructed"] = Values(a.reconstructed, false);
    j["residuals"] = Values(a.residuals, true);
    if (!cadzow.is_null()) j["cadzow"] = cadzow;
    if (!deviations.is_null()) j["deviations"] = deviations;
    jsonText = DumpShortestJson(j);
  }

  // Output files are staged first and put in place together.
  std::unique_ptr<StagedFile> jsonFile, outputFile;
  if (o.jsonFile) jsonFile = std::make_unique<StagedFile>(*o.jsonFile, jsonText);
  if (o.outputFile) outputFile = std::make_unique<StagedFile>(*o.outputFile, text);
  // The standard output first (the text, or the JSON when the text goes to a
  // file): when it cannot be written, no file is put in place. Then the files
  // written in place (a device or a pipe), whose failure leaves nothing to
  // undo, and last the renames, which hardly fail.
  if (!outputFile || o.jsonToStandardOutput) {
    out << (outputFile ? jsonText : text);
    out.flush();
    if (!out) throw BatchRefusal(kStandardOutputFailed);
  }
  std::vector<StagedFile*> files;
  for (StagedFile* f : {outputFile.get(), jsonFile.get()}) {
    if (f != nullptr) files.push_back(f);
  }
  for (StagedFile* f : files) {
    if (f->writesInPlace()) f->Commit();
  }
  // The renames as one group: a signal that ends the tool now waits for them.
  const StagedCommitGroup group;
  for (StagedFile* f : files) {
    if (!f->writesInPlace()) f->Commit();
  }
  return kBatchOk;
}

void PrintUsageError(std::ostream& err, const std::string& why) {
  err << "vorel-batch: " << why << "\n\n" << kBatchUsage;
}

}  // namespace

int RunBatch(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  SeedRandomGenerators(11);
  try {
    BatchOptions options = ParseBatchOptions(args);
    if (options.help) {
      out << kBatchUsage;
      return kBatchOk;
    }
    if (options.version) {
      out << "vorel-batch " << kVersion << '\n';
      return kBatchOk;
    }
    return RunAnalysis(options, out, err);
  } catch (const BatchUsageError& e) {
    PrintUsageError(err, e.what());
    return kBatchMalformed;
  } catch (const AbstractException& e) {
    err << e.message() << '\n';
    return kBatchRefused;
  } catch (const std::bad_alloc&) {
    err << "Attention!\nNot enough memory for this analysis.\n";
    return kBatchRefused;
  } catch (const std::exception& e) {
    err << "Attention!\n" << e.what() << '\n';
    return kBatchRefused;
  }
}

}  // namespace vorel
