#include "app/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QProgressBar>
#include <QStatusBar>
#include <QToolBar>
#include <QUrl>
#include <exception>
#include <new>
#include <utility>

#include "app/AboutBox.h"
#include "app/CommandActions.h"
#include "app/HelpWindow.h"
#include "app/Icons.h"
#include "app/QtHost.h"
#include "app/VorelView.h"
#include "app/WindowCommands.h"
#include "document/CVorelDoc.h"
#include "document/CommandIds.h"
#include "document/InstallLayout.h"
#include "engine/AbstractException.h"

namespace vorel {

const std::vector<MainWindow::MenuLayout>& MainWindow::MenusLayout() {
  static const std::vector<MenuLayout> layout{
      {"&Data",
       {kCmdOpenData, kCmdSimulateSeries, kCmdEditSourceSeries, 0, kCmdSaveSeries,
        kCmdSaveAllSettings, 0, kCmdExit}},
      {"&Algorithm",
       {kCmdNextStep, kCmdPreviousStep, 0, kCmdCovarianceMatrix, kCmdChoiceOfEigenvectors,
        kCmdReconstruction, 0, kCmdCompare, kCmdCadzow}},
      {"&View",
       {kCmdPageInitialSeries, kCmdPageSingularValues, kCmdPageEigenvectors, kCmdPageReconstructed,
        kCmdPageInitialAndReconstructed, kCmdPageResiduals, kCmdPageDeviations}},
      {"&Graphics", {kCmdGraphSettings, kCmdApplyGraphSettings, 0, kCmdSaveImageBmp}},
      {"&Help", {kCmdHelpContents, 0, kCmdAbout}},
  };
  return layout;
}

std::vector<int> MainWindow::ToolbarLayout() {
  return {kCmdOpenData,
          kCmdSaveSeries,
          0,
          kCmdPreviousStep,
          kCmdNextStep,
          0,
          kCmdCovarianceMatrix,
          kCmdChoiceOfEigenvectors,
          kCmdReconstruction,
          0,
          kCmdCompare,
          kCmdCadzow,
          kCmdToolbarSpare};
}

MainWindow::MainWindow(CVorelDoc& document, QtHost& host, QWidget* parent)
    : QMainWindow(parent),
      document_(document),
      host_(host),
      view_(new VorelView(document, this)),
      actions_(new CommandActions([this](int id) { return IsCommandEnabled(id); }, this)) {
  setObjectName(QStringLiteral("MainWindow"));
  setWindowIcon(ApplicationIcon());
  setCentralWidget(view_);
  setAcceptDrops(true);
  for (int id : {kCmdExit, kCmdHelpContents, kCmdAbout}) actions_->AlwaysEnabled(id);
  BuildMenus();
  BuildToolBar();
  BuildStatusBar();
  connect(actions_, &CommandActions::triggered, this, &MainWindow::RunCommand);
  connect(view_, &VorelView::documentChanged, this, &MainWindow::Refresh);
  host_.SetMainWindow(this);
  host_.SetProgressBar(progressBar_);
  host_.SetRedraw([this] { view_->update(); });
  host_.SetLongWorkObserver([this](bool running) { OnLongWork(running); });
  resize(960, 680);
  UpdateTitle();
  Refresh();
}

MainWindow::~MainWindow() {
  host_.SetMainWindow(nullptr);
  host_.SetProgressBar(nullptr);
  host_.SetRedraw({});
  host_.SetLongWorkObserver({});
}

void MainWindow::BuildMenus() {
  actions_->action(kCmdOpenData)->setShortcut(QKeySequence::Open);
  actions_->action(kCmdSaveSeries)->setShortcut(QKeySequence::Save);
  actions_->action(kCmdNextStep)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Right));
  actions_->action(kCmdPreviousStep)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Left));
  actions_->action(kCmdExit)->setShortcut(QKeySequence::Quit);
  actions_->action(kCmdHelpContents)->setShortcut(QKeySequence::HelpContents);
  for (const MenuLayout& layout : MenusLayout()) {
    QMenu* menu = menuBar()->addMenu(QString::fromUtf8(layout.title));
    for (int id : layout.ids) {
      if (id == 0) {
        menu->addSeparator();
      } else {
        menu->addAction(actions_->action(id));
      }
    }
    // The enabling rules are read again whenever a menu opens.
    connect(menu, &QMenu::aboutToShow, this, &MainWindow::Refresh);
  }
}

std::vector<QMenu*> MainWindow::menus() const {
  std::vector<QMenu*> result;
  for (QAction* a : menuBar()->actions()) {
    if (a->menu() != nullptr) result.push_back(a->menu());
  }
  return result;
}

void MainWindow::BuildToolBar() {
  toolBar_ = addToolBar(QStringLiteral("Standard"));
  toolBar_->setObjectName(QStringLiteral("128"));
  toolBar_->setIconSize(QSize(32, 18));
  toolBar_->setMovable(true);
  for (int id : ToolbarLayout()) {
    if (id == 0) {
      toolBar_->addSeparator();
    } else {
      toolBar_->addAction(actions_->action(id));
    }
  }
}

void MainWindow::BuildStatusBar() {
  QStatusBar* bar = statusBar();
  progressBar_ = new QProgressBar(bar);
  progressBar_->setRange(0, 100);
  progressBar_->setMaximumWidth(220);
  progressBar_->setTextVisible(false);
  progressBar_->hide();
  bar->addPermanentWidget(progressBar_);
  // Caps lock, num lock and scroll lock. Qt has no way to read the state of a
  // lock key, so the panes stay blank.
  const char* names[3] = {"CapsLock", "NumLock", "ScrollLock"};
  for (int i = 0; i < 3; ++i) {
    lockPanes_[i] = new QLabel(bar);
    lockPanes_[i]->setObjectName(QString::fromLatin1(names[i]));
    lockPanes_[i]->setFrameShape(QFrame::Panel);
    lockPanes_[i]->setFrameShadow(QFrame::Sunken);
    lockPanes_[i]->setMinimumWidth(40);
    bar->addPermanentWidget(lockPanes_[i]);
  }
  // The message pane says "Ready" whenever no command's text is shown.
  connect(bar, &QStatusBar::messageChanged, this, [bar](const QString& message) {
    if (message.isEmpty()) bar->showMessage(QStringLiteral("Ready"));
  });
  bar->showMessage(QStringLiteral("Ready"));
}

bool MainWindow::IsCommandEnabled(int id) const {
  switch (id) {
    case kCmdExit:
    case kCmdHelpContents:
    case kCmdAbout:
      return true;
    default:
      return document_.IsCommandEnabled(id);
  }
}

void MainWindow::UpdateTitle() {
  const QString name = QString::fromStdString(document_.dataFileName);
  const QString product = QString::fromStdString(document_.registryProductName);
  setWindowTitle(name.isEmpty() ? product : name + QStringLiteral(" - ") + product);
}

void MainWindow::Refresh() {
  actions_->Refresh();
  UpdateTitle();
  view_->update();
}

template <class Work>
void MainWindow::Guarded(Work&& work) {
  try {
    work();
  } catch (const AbstractException& e) {
    host_.MessageBox(e.message());
  } catch (const std::bad_alloc&) {
    host_.MessageBox(kMessageNoMemory);
  } catch (const std::exception& e) {
    host_.MessageBox(std::string("The command failed:\n") + e.what());
  } catch (...) {
    host_.MessageBox("The command failed for an unknown reason.");
  }
}

template <class Work>
void MainWindow::AsCommand(Work&& work) {
  ++commandDepth_;
  Guarded(std::forward<Work>(work));
  --commandDepth_;
  Refresh();
  // A close asked for during the command's long work: the command has ended now.
  if (commandDepth_ == 0 && closePending_) {
    closePending_ = false;
    close();
  }
}

void MainWindow::RunCommand(int id) {
  // Nothing starts while long work runs: the user's input is held meanwhile,
  // so only a timer or a queued call gets here, and it is refused.
  if (host_.InLongWork()) return;
  // A command that was disabled since its action was last refreshed does not run.
  if (!IsCommandEnabled(id)) {
    Refresh();
    return;
  }
  AsCommand([&] {
    switch (id) {
      case kCmdExit:
        close();
        return;
      case kCmdHelpContents:
        ShowHelp();
        return;
      case kCmdAbout:
        ShowAbout();
        return;
      default:
        break;
    }
    // The view first, then the document.
    if (!view_->HandleCommand(id)) document_.ExecuteCommand(id);
  });
}

void MainWindow::OpenDataFile(const QString& path) {
  if (host_.InLongWork()) return;
  AsCommand([&] { document_.OnOpenData(QFileInfo(path).absoluteFilePath().toStdString()); });
}

void MainWindow::OnLongWork(bool running) {
  view_->SetFrozen(running);
  // Work outside a command: the close follows as soon as events are processed.
  if (!running && closePending_ && commandDepth_ == 0) {
    closePending_ = false;
    QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
  }
}

void MainWindow::ShowAbout() {
  AboutBox box(this);
  box.exec();
}

void MainWindow::ShowHelp() {
  if (help_ == nullptr) {
    help_ = new HelpWindow(this);
    help_->setAttribute(Qt::WA_DeleteOnClose);
    help_->Load(QString::fromStdString(
        UserGuideFile(QCoreApplication::applicationDirPath().toStdString())));
  }
  help_->show();
  help_->raise();
  help_->activateWindow();
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
  if (host_.InLongWork()) return;
  const QMimeData* data = event->mimeData();
  if (data->hasUrls() && data->urls().size() == 1 && data->urls().front().isLocalFile()) {
    event->acceptProposedAction();
  }
}

void MainWindow::dropEvent(QDropEvent* event) {
  const QList<QUrl> urls = event->mimeData()->urls();
  if (urls.size() != 1 || !urls.front().isLocalFile()) return;
  event->acceptProposedAction();
  const QString path = urls.front().toLocalFile();
  // The drop returns to the other program at once; the dialog opens afterwards.
  QMetaObject::invokeMethod(
      this, [this, path] { OpenDataFile(path); }, Qt::QueuedConnection);
}

void MainWindow::closeEvent(QCloseEvent* event) {
  // The work goes on with the document: the window closes after it.
  if (host_.InLongWork()) {
    closePending_ = true;
    event->ignore();
    return;
  }
  if (help_ != nullptr) help_->close();
  QMainWindow::closeEvent(event);
}

}  // namespace vorel
