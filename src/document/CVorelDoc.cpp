#include "document/CVorelDoc.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "document/CommandIds.h"
#include "document/DataFileReader.h"
#include "document/SeriesExport.h"
#include "document/SettingsFile.h"
#include "document/dialogs/CDialogCadzow.h"
#include "document/dialogs/CDialogComparison.h"
#include "document/dialogs/CDialogCovarianceMatrix.h"
#include "document/dialogs/CDialogEVGrouping.h"
#include "document/dialogs/CDialogEditSourceSeries.h"
#include "document/dialogs/CDialogFileChoice.h"
#include "document/dialogs/CDialogReconstruction.h"
#include "document/dialogs/CDialogSeriesSimulation.h"
#include "document/dialogs/CDialogSetDelimiterSave.h"
#include "engine/AbstractException.h"
#include "engine/CadzowIterations.h"
#include "engine/MethodApplicability.h"
#include "engine/ProgressSink.h"
#include "engine/RandomGenerators.h"

namespace vorel {

inline constexpr const char* kMessageNoWindowLength =
    "Attention!\nThere is no convenient window length for the source series. The series must "
    "have length more than 2 and number of valid components more than 2.";

CVorelDoc::CVorelDoc(UiHost& host)
    : host_(host), settingsPath_(SettingsFile::Locate(host.ProgramFolder())) {
  SeedRandomGenerators(11);
  LoadInputSettings();
}

CVorelDoc::~CVorelDoc() = default;

InputFormat CVorelDoc::inputFormat() const {
  InputFormat f;
  f.decimal = inputDecimal;
  f.delimComma = delimComma;
  f.delimSemicolon = delimSemicolon;
  f.delimSpace = delimSpace;
  f.delimTab = delimTab;
  return f;
}

void CVorelDoc::setInputFormat(const InputFormat& f) {
  inputDecimal = f.decimal;
  delimComma = f.delimComma;
  delimSemicolon = f.delimSemicolon;
  delimSpace = f.delimSpace;
  delimTab = f.delimTab;
}

void CVorelDoc::Redraw() { host_.RedrawAllViews(); }

// --- settings -----------------------------------------------------------------

FileOptions CVorelDoc::fileOptions() const {
  FileOptions options;
  options.input = inputFormat();
  options.mvCode = mvCode;
  options.outputDecimal = outputDecimal;
  options.outputDelimiter = outputDelimiter;
  return options;
}

void CVorelDoc::setFileOptions(const FileOptions& options) {
  setInputFormat(options.input);
  mvCode = options.mvCode;
  outputDecimal = options.outputDecimal;
  outputDelimiter = options.outputDelimiter;
}

void CVorelDoc::LoadInputSettings() {
  FileOptions options = fileOptions();
  SettingsFile(settingsPath_).LoadInputSettings(options);
  setFileOptions(options);
}

void CVorelDoc::LoadGraphSettings() { SettingsFile(settingsPath_).LoadGraphSettings(graphOptions); }

void CVorelDoc::SaveAllSettings() {
  SettingsFile(settingsPath_).SaveAllSettings(fileOptions(), graphOptions);
}

// --- enabling -----------------------------------------------------------------

namespace {

bool Always(const CVorelDoc&) { return true; }
bool HasSeries(const CVorelDoc& d) { return d.nextStep > kStepNone; }
bool HasReconstruction(const CVorelDoc& d) { return d.nextStep >= kStepResiduals; }
bool CanGoBack(const CVorelDoc& d) {
  return d.nextStep > kStepCovariance && d.currentPage > PageInitialSeries;
}
bool HasDecomposition(const CVorelDoc& d) { return d.highestPage >= PageSingularValues; }
bool CanReconstruct(const CVorelDoc& d) { return d.nextStep >= kStepReconstruction; }
bool HasEigenvectors(const CVorelDoc& d) { return d.highestPage >= PageEigenvectors; }
bool HasReconstructedPage(const CVorelDoc& d) { return d.highestPage >= PageReconstructed; }
bool HasBothSeriesPage(const CVorelDoc& d) { return d.highestPage >= PageInitialAndReconstructed; }
bool HasDeviations(const CVorelDoc& d) { return d.highestPage == PageDeviations; }
bool ShowsAPage(const CVorelDoc& d) { return d.currentPage > PageEmpty; }

template <int Page>
void Show(CVorelDoc& d) {
  d.ShowPage(Page);
}
template <int Step>
void Run(CVorelDoc& d) {
  d.RunStep(Step);
}

// Every menu and toolbar command, in the order of the menus.
constexpr std::array<DocumentCommand, 22> kCommandTable{{
    {kCmdOpenData, Always, [](CVorelDoc& d) { d.OnOpenData(); }},
    {kCmdSimulateSeries, Always, [](CVorelDoc& d) { d.OnSimulateSeries(); }},
    {kCmdEditSourceSeries, HasSeries, [](CVorelDoc& d) { d.OnEditSourceSeries(); }},
    {kCmdSaveSeries, HasReconstruction, [](CVorelDoc& d) { d.ExportSeries(); }},
    {kCmdSaveAllSettings, Always, [](CVorelDoc& d) { d.SaveAllSettings(); }},
    {kCmdNextStep, HasSeries, [](CVorelDoc& d) { d.OnNextStep(); }},
    {kCmdPreviousStep, CanGoBack, [](CVorelDoc& d) { d.OnPreviousStep(); }},
    {kCmdCovarianceMatrix, HasDecomposition, Run<kStepCovariance>},
    {kCmdChoiceOfEigenvectors, HasDecomposition, Run<kStepChoice>},
    {kCmdReconstruction, CanReconstruct, Run<kStepReconstruction>},
    {kCmdCompare, HasReconstruction, [](CVorelDoc& d) { d.OnCompare(); }},
    {kCmdCadzow, HasReconstruction, [](CVorelDoc& d) { d.OnCadzow(); }},
    {kCmdPageInitialSeries, HasSeries, Show<PageInitialSeries>},
    {kCmdPageSingularValues, HasDecomposition, Show<PageSingularValues>},
    {kCmdPageEigenvectors, HasEigenvectors, Show<PageEigenvectors>},
    {kCmdPageReconstructed, HasReconstructedPage, Show<PageReconstructed>},
    {kCmdPageInitialAndReconstructed, HasBothSeriesPage, Show<PageInitialAndReconstructed>},
    {kCmdPageResiduals, HasReconstruction, Show<PageResiduals>},
    {kCmdPageDeviations, HasDeviations, Show<PageDeviations>},
    // The graphics commands act on the view's graphs: the view runs them.
    {kCmdGraphSettings, ShowsAPage, nullptr},
    {kCmdApplyGraphSettings, ShowsAPage, nullptr},
    {kCmdSaveImageBmp, ShowsAPage, nullptr},
}};

}  // namespace

std::span<const DocumentCommand> CVorelDoc::Commands() { return kCommandTable; }

const DocumentCommand* CVorelDoc::FindCommand(int id) {
  for (const DocumentCommand& c : kCommandTable) {
    if (c.id == id) return &c;
  }
  return nullptr;
}

bool CVorelDoc::IsCommandEnabled(int id) const {
  const DocumentCommand* command = FindCommand(id);
  return command != nullptr && command->enabled(*this);
}

bool CVorelDoc::ExecuteCommand(int id) {
  const DocumentCommand* command = FindCommand(id);
  if (command == nullptr || command->run == nullptr || !command->enabled(*this)) return false;
  command->run(*this);
  return true;
}

// --- navigation ---------------------------------------------------------------

void CVorelDoc::OnNextStep() {
  if (currentPage <= PageEmpty) {
    currentPage = PageEmpty;
  } else if (currentPage == highestPage) {
    RunStep(nextStep);
  } else if (currentPage < highestPage) {
    ++currentPage;
  }
  Redraw();
}

void CVorelDoc::OnPreviousStep() {
  if (currentPage >= PageInitialSeries) --currentPage;
  Redraw();
}

void CVorelDoc::ShowPage(int page) {
  currentPage = page;
  Redraw();
}

// --- steps --------------------------------------------------------------------

void CVorelDoc::RunStep(int code) {
  switch (code) {
    case kStepCovariance:
      RunCovarianceStep();
      break;
    case kStepChoice:
      RunChoiceStep();
      break;
    case kStepReconstruction:
      RunReconstructionStep();
      break;
    case kStepResiduals:
      currentPage = PageResiduals;
      highestPage = PageResiduals;
      nextStep = kStepComparison;
      Redraw();
      break;
    case kStepComparison:
      OnCompare();
      nextStep = kStepCadzow;
      Redraw();
      break;
    case kStepCadzow:
      if (OnCadzow()) Redraw();
      break;
    default:
      break;
  }
}

bool CVorelDoc::RunCovarianceStep() {
  if (analysis.series.CountValid() <= 2) {
    host_.MessageBox(kMessageNoWindowLength);
    return false;
  }
  const int rememberedStep = nextStep;
  const int rememberedHighest = highestPage;
  const int rememberedWindow = analysis.windowLength();
  const int rememberedCadzowWindow = analysis.cadzowWindowLength();
  addInfoRequested = false;

  CDialogCovarianceMatrix dialog(host_, *this);
  dialog.windowLength = analysis.windowLength();
  dialog.threshold = analysis.threshold();
  dialog.methodIndex = analysis.covarianceMethod == kCovarianceSvd ? 0 : 1;
  if (host_.RunModal(dialog) == DialogResult::Ok) {
    if (addInfoRequested) {
      nextStep = kStepCovariance;
      highestPage = PageInitialSeries;
    } else {
      nextStep = kStepChoice;
      currentPage = PageSingularValues;
      highestPage = PageEigenvectors;
    }
    firstEigenvector = 1;
    Redraw();
    return true;
  }
  nextStep = rememberedStep;
  highestPage = rememberedHighest;
  // An OK refused after the window length was accepted has rebuilt the
  // trajectory for the new length; the results of the earlier steps still
  // belong to the remembered one, so it is put back.
  if (analysis.windowLength() != rememberedWindow) {
    try {
      analysis.SetWindowLength(rememberedWindow);
      analysis.BuildTrajectory();
      analysis.SetCadzowWindowLength(rememberedCadzowWindow);
    } catch (const AbstractException&) {
      // The remembered lengths were valid for this series when they were set.
    }
  }
  return false;
}

void CVorelDoc::RunChoiceStep() {
  CDialogEVGrouping dialog(host_, *this);
  dialog.eigenvalues.Assign(analysis.eigenvalues);
  if (host_.RunModal(dialog) == DialogResult::Ok) {
    nextStep = kStepReconstruction;
    highestPage = PageEigenvectors;
    currentPage = PageEigenvectors;
  }
  Redraw();
}

void CVorelDoc::RunReconstructionStep() {
  // A failed reconstruction reopens the dialog, until it succeeds or is cancelled.
  for (;;) {
    CDialogReconstruction dialog(host_, *this);
    host_.RunLongWork([&] {
      dialog.applicability =
          ComputeSeriesApplicability(analysis.trajectory, analysis.selectedEigenvectors.cols());
    });
    dialog.validChoice = analysis.validEntriesMethod == kCnv ? 0 : 1;
    dialog.methodIndex = analysis.reconstructionMethod == kPrincipalComponents ? 0 : 1;
    const DialogResult result = host_.RunModal(dialog);
    analysis.validEntriesMethod = dialog.validChoice == 1 ? kPiProjector : kCnv;
    if (result != DialogResult::Ok) return;

    nextStep = kStepReconstruction;
    highestPage = PageEigenvectors;
    currentPage = PageEigenvectors;
    Redraw();
    analysis.reconstructionMethod = dialog.reconstructionMethod;
    cadzowResult = false;
    try {
      host_.RunLongWork([this] { analysis.Reconstruct(); });
    } catch (const AbstractException& e) {
      host_.MessageBox(e.message());
      continue;
    }
    nextStep = kStepResiduals;
    highestPage = PageInitialAndReconstructed;
    currentPage = PageInitialAndReconstructed;
    Redraw();
    return;
  }
}

// --- comparison and Cadzow iterations -------------------------------------------

namespace {

// The progress bar of the main window, with the wait cursor while it is shown.
class HostProgress final : public ProgressSink {
 public:
  explicit HostProgress(UiHost& host) : host_(host) {}
  void begin(int from, int to) override { host_.ProgressBegin(from, to); }
  void step() override { host_.ProgressStep(); }
  void show() override {
    host_.ProgressShow();
    host_.BeginWaitCursor();
  }
  void hide() override {
    host_.ProgressHide();
    host_.EndWaitCursor();
  }

 private:
  UiHost& host_;
};

}  // namespace

void CVorelDoc::OnCompare() {
  CDialogComparison dialog(host_, *this);
  if (host_.RunModal(dialog) != DialogResult::Ok) return;
  cadzowResult = false;
  host_.RunLongWork([this] { CompareReconstruction(analysis, comparisonSeries); });
  nextStep = kStepComparison;
  currentPage = PageDeviations;
  highestPage = PageDeviations;
  Redraw();
}

bool CVorelDoc::OnCadzow() {
  CDialogCadzow dialog(host_, *this);
  dialog.windowLength = analysis.cadzowWindowLength();
  dialog.iterations = analysis.cadzowIterations();
  compareDuringCadzow = false;
  if (host_.RunModal(dialog) != DialogResult::Ok) return false;

  currentPage = PageInitialAndReconstructed;
  cadzowResult = true;
  // The iterations report their progress from inside the long work, the only
  // host calls the work makes.
  HostProgress progress(host_);
  std::optional<std::string> failure;
  host_.RunLongWork([&] {
    failure =
        RunCadzowIterations(analysis, progress, compareDuringCadzow ? &comparisonSeries : nullptr);
  });
  if (failure) host_.MessageBox(*failure);
  if (compareDuringCadzow) {
    highestPage = PageDeviations;
    nextStep = kStepCadzow;
  } else {
    highestPage = PageResiduals;
    nextStep = kStepComparison;
  }
  Redraw();
  return true;
}

// --- simulation -----------------------------------------------------------------

inline constexpr const char* kMessageEmptySimulation =
    "Attention!\nThere is an empty series selected.";
inline constexpr const char* kMessageShortSimulation =
    "Attention!\nThe series length must be more than 2, because for series length less than 2 "
    "there is no convenient window length.\nEnter another value, please.";

void CVorelDoc::OnSimulateSeries() {
  CDialogSeriesSimulation dialog(host_);
  dialog.SetCaptions("Series simulation", "Simulate");
  dialog.seriesLength = 100;
  dialog.components = CopyComponents(sourceComponents);
  for (;;) {
    if (host_.RunModal(dialog) != DialogResult::Ok) return;
    if (dialog.components.empty()) {
      host_.MessageBox(kMessageEmptySimulation);
      continue;
    }
    if (dialog.seriesLength <= 2) {
      host_.MessageBox(kMessageShortSimulation);
      continue;
    }
    break;
  }
  sourceComponents = CopyComponents(dialog.components);
  seriesFromFile = false;
  dialog.components.clear();

  // Each component is evaluated once per sample, in list order, so that the
  // noise enters the series and its loaded copy identically.
  const int N = dialog.seriesLength;
  host_.RunLongWork([&] {
    const MaskedSeries sum = SampleComponents(sourceComponents, N);
    analysis.series.Assign(sum);
    loadedSeries.Assign(sum);
  });
  editFlags.Resize(N);
  editFlags.SetAllValid(true);

  try {
    analysis.SetWindowLength(N / 2 + N % 2);  // ceil(N / 2) without overflow
  } catch (const AbstractException& e) {
    host_.MessageBox(e.message());
  }
  nextStep = kStepCovariance;
  currentPage = PageInitialSeries;
  highestPage = PageInitialSeries;
  Redraw();
}

// --- series editor --------------------------------------------------------------

void CVorelDoc::OnEditSourceSeries() {
  CDialogEditSourceSeries dialog(host_);
  const int N = analysis.length();
  dialog.newLength = N;
  dialog.workSeries.Assign(analysis.series);
  dialog.workLoaded.Assign(loadedSeries);
  dialog.workFlags.Assign(editFlags);
  if (host_.RunModal(dialog) != DialogResult::Ok || !dialog.changed) return;

  nextStep = kStepCovariance;
  currentPage = PageInitialSeries;
  highestPage = PageInitialSeries;
  Redraw();
  const int M = dialog.workSeries.length();
  analysis.series.Assign(dialog.workSeries);
  loadedSeries.Assign(dialog.workLoaded);
  editFlags.Resize(M);
  editFlags.CopyFlagsFrom(dialog.workFlags);
  if (M != N) {
    try {
      analysis.SetWindowLength(M / 2);
    } catch (const AbstractException& e) {
      host_.MessageBox(e.message());
    }
  }
}

// --- open data ----------------------------------------------------------------

void CVorelDoc::TakeSeries(const MaskedSeries& column) {
  const int N = column.length();
  loadedSeries.Resize(N);
  editFlags.Resize(N);
  analysis.series.Resize(N);
  analysis.series.Assign(column);
  loadedSeries.Assign(column);
  editFlags.SetAllValid(true);
}

bool CVorelDoc::OnOpenData(const std::string& startFile) {
  CDialogFileChoice dialog(host_, *this);
  char display[64];
  std::snprintf(display, sizeof display, "\"%s\"", mvCode.c_str());
  dialog.mvCodeDisplay = display;
  dialog.seriesName = seriesName;
  dialog.format = inputFormat();
  const std::string& shown = startFile.empty() ? dataFilePath : startFile;
  if (!shown.empty()) {
    try {
      dialog.ReadFile(shown);
    } catch (const AbstractException& e) {
      // The file has disappeared or changed since it was chosen.
      host_.MessageBox(e.message());
    }
  }
  if (host_.RunModal(dialog) != DialogResult::Ok || !dialog.columnChosen) return false;

  setInputFormat(dialog.format);
  TakeSeries(dialog.chosen);
  dataFilePath = dialog.filePath;
  seriesName = dialog.seriesName;
  dataFileName = LastPathComponent(dataFilePath);
  currentPage = PageInitialSeries;
  highestPage = PageInitialSeries;
  nextStep = kStepCovariance;
  const int N = analysis.length();
  analysis.ClampWindowLength(N / 2 + N % 2);  // ceil(N / 2) without overflow
  seriesFromFile = true;
  Redraw();
  return true;
}

// --- series export ------------------------------------------------------------

void CVorelDoc::ExportSeries() {
  CDialogSetDelimiterSave delimiters(host_);
  delimiters.decimalIndex = outputDecimal == kDecimalPoint ? 0 : 1;
  delimiters.delimiterIndex = outputDelimiter == kDelimiterSpace ? 0 : 1;
  if (host_.RunModal(delimiters) != DialogResult::Ok) return;
  outputDecimal = delimiters.decimalIndex == 1 ? kDecimalComma : kDecimalPoint;
  outputDelimiter = delimiters.delimiterIndex == 1 ? kDelimiterTab : kDelimiterSpace;

  FileDialogRequest request;
  request.title = "Select output file";
  request.overwritePrompt = true;
  const std::optional<std::string> path = host_.SaveFileDialog(request);
  if (!path) return;

  const GraphOptions& page = graphOptions[GraphIndexOfPage(PageInitialAndReconstructed)];
  SeriesExportOptions options;
  options.decimal = outputDecimal;
  options.delimiter = outputDelimiter;
  options.autoX = page.AutoX;
  options.xLeftBound = page.XLeftBound;
  options.xRightBound = page.XRightBound;
  try {
    host_.RunLongWork([&] {
      vorel::ExportSeries(*path, analysis.series, analysis.reconstructed, analysis.residuals,
                          options);
    });
  } catch (const std::exception& e) {
    host_.MessageBox(e.what());
  }
}

}  // namespace vorel
