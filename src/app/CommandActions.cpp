#include "app/CommandActions.h"

#include <QAction>
#include <algorithm>

#include "app/Icons.h"
#include "app/WindowCommands.h"
#include "document/CommandIds.h"

namespace vorel {
namespace {

// Status texts and tooltips, as the window's string table holds them: the
// status text, a line break, the tooltip.
struct WindowStrings {
  int id;
  const char* status;
  const char* tip;
};

constexpr WindowStrings kStrings[] = {
    {kCmdOpenData, "Open a data file and choose the series to analyse", "Open data"},
    {kCmdSimulateSeries, "Build the series from cosines, constants and noise", "Simulate series"},
    {kCmdEditSourceSeries, "Edit the values and the missing values of the series",
     "Edit source series"},
    {kCmdSaveSeries, "Save the series, its reconstruction and the residuals to a text file",
     "Save series"},
    {kCmdSaveAllSettings, "Save the reading, writing and graph options", "Save all settings"},
    {kCmdNextStep, "Go to the next step of the analysis", "Next step"},
    {kCmdPreviousStep, "Go back to the previous page", "Previous step"},
    {kCmdCovarianceMatrix, "Choose the window length and the covariance method",
     "Covariance matrix"},
    {kCmdChoiceOfEigenvectors, "Choose the eigentriples that describe the signal",
     "Choice of eigenvectors"},
    {kCmdReconstruction, "Reconstruct the series and fill its missing values", "Reconstruction"},
    {kCmdCompare, "Compare the reconstructed series with a given series", "Compare"},
    {kCmdCadzow, "Refine the reconstruction by Cadzow iterations", "Cadzow method"},
    {kCmdPageInitialSeries, "Show the initial time series", "Initial time series"},
    {kCmdPageSingularValues, "Show the singular values", "Singular values"},
    {kCmdPageEigenvectors, "Show the eigenvectors", "Eigenvectors"},
    {kCmdPageReconstructed, "Show the reconstructed series", "Reconstructed series"},
    {kCmdPageInitialAndReconstructed, "Show the initial and the reconstructed series together",
     "Initial and Reconstructed series"},
    {kCmdPageResiduals, "Show the residuals", "Residuals"},
    {kCmdPageDeviations, "Show the deviations from the compared series", "Deviations"},
    {kCmdGraphSettings, "Change the options of this page's graphs", "Graph settings"},
    {kCmdApplyGraphSettings, "Give every page the options of this page's graphs",
     "Apply to other graphs"},
    {kCmdSaveImageBmp, "Save this page as a BMP picture", "Save image to BMP"},
    {kCmdToolbarSpare, "", ""},
    {kCmdExit, "Quit the program", "Exit"},
    {kCmdHelpContents, "Show the user guide", "Contents"},
    {kCmdAbout, "Show the program's name, version and web page", "About"},
};

}  // namespace

const std::vector<CommandTexts>& CommandActions::Texts() {
  static const std::vector<CommandTexts> texts = [] {
    std::vector<CommandTexts> t;
    for (const WindowStrings& s : kStrings) {
      QString menu;
      for (const CommandInfo& c : kCommands) {
        if (c.id == s.id) menu = QString::fromUtf8(c.menuText);
      }
      if (menu.isEmpty()) menu = QString::fromUtf8(WindowMenuText(s.id));
      t.push_back({s.id, menu, QString::fromUtf8(s.status), QString::fromUtf8(s.tip)});
    }
    return t;
  }();
  return texts;
}

const CommandTexts* CommandActions::FindTexts(int id) {
  for (const CommandTexts& t : Texts()) {
    if (t.id == id) return &t;
  }
  return nullptr;
}

CommandActions::CommandActions(Rule rule, QObject* parent)
    : QObject(parent), rule_(std::move(rule)) {}

QAction* CommandActions::action(int id) {
  auto found = actions_.find(id);
  if (found != actions_.end()) return found->second;
  auto* action = new QAction(this);
  action->setObjectName(QString::number(id));
  action->setData(id);
  if (const CommandTexts* texts = FindTexts(id)) {
    action->setText(texts->menuText);
    action->setStatusTip(texts->statusText);
    action->setToolTip(texts->toolTip);
  }
  const QIcon icon = CommandIcon(id);
  if (!icon.isNull()) action->setIcon(icon);
  connect(action, &QAction::triggered, this, [this, id] { emit triggered(id); });
  actions_.emplace(id, action);
  return action;
}

void CommandActions::Refresh() {
  for (auto& [id, action] : actions_) {
    const bool always = std::find(always_.begin(), always_.end(), id) != always_.end();
    action->setEnabled(always || rule_(id));
  }
}

}  // namespace vorel
