#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <memory>
#include <vector>

#include "app/HelpWindow.h"

class QLabel;
class QMenu;
class QProgressBar;
class QToolBar;

namespace vorel {

class CVorelDoc;
class CommandActions;
class QtHost;
class VorelView;

// The main frame: menus, toolbar, status bar and the view. Every command goes
// through RunCommand: the view first, then the document; its failures reach
// the user as message boxes and never end the program. While the host runs
// long work the view is frozen, no command starts and a close waits for the
// work to end.
class MainWindow : public QMainWindow {
  Q_OBJECT
 public:
  // Shown when a command runs out of memory.
  static constexpr const char* kMessageNoMemory =
      "Not enough memory for this operation.\nThe analysis is kept as it was before the command.";

  MainWindow(CVorelDoc& document, QtHost& host, QWidget* parent = nullptr);
  ~MainWindow() override;

  // Runs a command if it is enabled and no long work runs, then refreshes the window.
  void RunCommand(int id);
  // "Open data" on a file given on the command line or dropped on the window:
  // the file choice dialog opens on that file.
  void OpenDataFile(const QString& path);
  // Whether a command is enabled now: the view's rules for next and previous
  // step, the document's for the others.
  bool IsCommandEnabled(int id) const;

  // Sets the title from the product name and the data file.
  void UpdateTitle();
  // Refreshes the enabled state of every action and repaints the view.
  void Refresh();

  CommandActions& actions() const { return *actions_; }
  VorelView* view() const { return view_; }
  QToolBar* toolBar() const { return toolBar_; }
  QProgressBar* progressBar() const { return progressBar_; }
  // The lock-key panes: caps, num and scroll lock.
  QLabel* lockPane(int i) const { return lockPanes_[i]; }
  HelpWindow* helpWindow() const { return help_; }

  // The menus in menu-bar order.
  std::vector<QMenu*> menus() const;
  // The toolbar's command ids in order, 0 for a separator.
  static std::vector<int> ToolbarLayout();
  // The menus' titles and command ids in order, 0 for a separator.
  struct MenuLayout {
    const char* title;
    std::vector<int> ids;
  };
  static const std::vector<MenuLayout>& MenusLayout();

 protected:
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildMenus();
  void BuildToolBar();
  void BuildStatusBar();
  void ShowAbout();
  void ShowHelp();
  // The host's long work began (true) or ended (false).
  void OnLongWork(bool running);
  // Runs work, showing the message of every failure.
  template <class Work>
  void Guarded(Work&& work);
  // Runs a command's work guarded, then refreshes the window and carries out
  // a close asked for meanwhile.
  template <class Work>
  void AsCommand(Work&& work);

  CVorelDoc& document_;
  QtHost& host_;
  VorelView* view_;
  CommandActions* actions_;
  QToolBar* toolBar_ = nullptr;
  QProgressBar* progressBar_ = nullptr;
  QLabel* lockPanes_[3] = {nullptr, nullptr, nullptr};
  QPointer<HelpWindow> help_;
  // A close was asked for while long work ran.
  bool closePending_ = false;
  // Commands running (a modal dialog's handler may run another).
  int commandDepth_ = 0;
};

}  // namespace vorel
