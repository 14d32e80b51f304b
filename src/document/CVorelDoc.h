#pragma once

#include <span>
#include <string>

#include "document/CommandIds.h"
#include "document/FileOptions.h"
#include "document/GraphOptions.h"
#include "document/InputFormat.h"
#include "document/StepCode.h"
#include "document/UiHost.h"
#include "document/ViewPage.h"
#include "engine/MaskedMatrix.h"
#include "engine/MaskedSeries.h"
#include "engine/SimulationComponent.h"
#include "engine/SsaAnalysis.h"

namespace vorel {

class CVorelDoc;

// One entry of the document's command table: the command's identifier, the
// rule that enables it (evaluated whenever the menu is shown) and its handler.
// A command without a handler is run by the view; the document only decides
// when it is enabled.
struct DocumentCommand {
  CommandId id;
  bool (*enabled)(const CVorelDoc&);
  void (*run)(CVorelDoc&);
};

// The single document of the application: it owns the analysis, the table of
// the last data file read, the reading and writing options, the options of the
// eight graphs, and the three numbers that drive the analysis as a sequence of
// steps (nextStep, highestPage, currentPage). Its commands reach the user only
// through the UiHost.
class CVorelDoc {
 public:
  // Sets the built-in defaults, seeds the random generators with 11 and reads
  // the reading and writing options from the settings file, which lies beside
  // the program when that folder can be written (see SettingsFile::Locate).
  explicit CVorelDoc(UiHost& host);
  virtual ~CVorelDoc();
  CVorelDoc(const CVorelDoc&) = delete;
  CVorelDoc& operator=(const CVorelDoc&) = delete;

  // Longest missing-value code kept.
  static constexpr std::size_t kMaxMvCodeLength = FileOptions::kMaxMvCodeLength;

  // --- data -------------------------------------------------------------------
  SsaAnalysis analysis;

  std::string mvCode = "nan";
  std::string seriesName;
  std::string dataFilePath;
  std::string dataFileName;
  std::string compareFilePath;
  std::string compareFileName;
  std::string registryProductName = "Vorel";
  int nextStep = kStepNone;
  int firstEigenvector = 1;
  int inputDecimal = kDecimalPoint;
  bool delimComma = true;
  bool delimSpace = true;
  bool delimSemicolon = false;
  bool delimTab = true;
  InputFormat compareFormat;  // never saved
  int highestPage = PageEmpty;
  int outputDecimal = kDecimalPoint;
  int outputDelimiter = kDelimiterTab;
  int currentPage = PageEmpty;
  int addInfoWindowLength = 10;
  bool seriesFromFile = true;
  bool examplesPathPending = true;
  bool addInfoRequested = false;
  MaskedSeries loadedSeries{1};
  MaskedSeries editFlags{1};
  MaskedMatrix DataTable{10, 10};

  // Comparison and Cadzow tools.
  MaskedSeries comparisonSeries{1};
  ComponentList comparisonComponents;
  bool comparisonFromFile = false;
  bool compareDuringCadzow = false;
  bool cadzowResult = false;
  // Components of the last simulated series.
  ComponentList sourceComponents;

  // Options of the graphs of pages 21..28, in the order of the settings sections.
  GraphOptionsSet graphOptions;

  // The reading options of data files as one record, and back.
  InputFormat inputFormat() const;
  void setInputFormat(const InputFormat& format);

  // The reading and writing options and the missing-value code as one record
  // (what the settings file keeps besides the graphs), and back.
  FileOptions fileOptions() const;
  void setFileOptions(const FileOptions& options);

  // --- commands -----------------------------------------------------------------
  // Every menu and toolbar command in the order of the menus; ExecuteCommand
  // and IsCommandEnabled both read this table.
  static std::span<const DocumentCommand> Commands();
  // The entry of a command, nullptr for an unknown identifier.
  static const DocumentCommand* FindCommand(int id);
  // Runs the command with this identifier if the document handles it and it
  // is enabled; false otherwise (the view's commands included).
  bool ExecuteCommand(int id);
  // Whether the command is enabled in the current state (evaluated whenever
  // the menu is shown). Unknown identifiers are disabled.
  bool IsCommandEnabled(int id) const;

  // "&Open data...": choose a file and a column; the column becomes the series.
  // With startFile, the dialog starts on that file (a file named on the
  // command line or dropped on the window) instead of the current one.
  // Returns whether a series was taken.
  bool OnOpenData(const std::string& startFile = {});
  // "Next step" and "Previous step".
  void OnNextStep();
  void OnPreviousStep();
  // Runs an analysis step, codes 31..36.
  void RunStep(int code);
  // The page commands of the View menu: show page, keep highestPage.
  void ShowPage(int page);
  // "S&ave series...": the series, its reconstruction and the residuals to a text file.
  void ExportSeries();

  // "Simulate series": the series becomes the sum of simulation components.
  void OnSimulateSeries();
  // "Edit source series": values, missing values and length edited by hand.
  void OnEditSourceSeries();
  // The comparison ("Compare reconstructed series with") and Cadzow ("Cadzow
  // method") commands; step 35 and step 36 run them. OnCadzow returns whether
  // it produced a result.
  virtual void OnCompare();
  virtual bool OnCadzow();

  // --- settings file ------------------------------------------------------------
  const std::string& settingsPath() const { return settingsPath_; }
  // The reading and writing options and the missing-value code.
  void LoadInputSettings();
  // The options of the eight graphs; writes the default file when none can be read.
  void LoadGraphSettings();
  // "Save all settings": rewrites the whole file; silent on failure.
  void SaveAllSettings();

  // Asks every view to repaint.
  void Redraw();
  UiHost& host() const { return host_; }

 private:
  // Takes over a series of N values as the new analysis series.
  void TakeSeries(const MaskedSeries& column);
  bool RunCovarianceStep();
  void RunChoiceStep();
  void RunReconstructionStep();

  UiHost& host_;
  std::string settingsPath_;
};

}  // namespace vorel
