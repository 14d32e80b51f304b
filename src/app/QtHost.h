#pragma once

#include <QString>
#include <functional>
#include <utility>

#include "document/UiHost.h"

class QObject;
class QProgressBar;
class QWidget;

namespace vorel {

// The UiHost of the desktop program: Qt message boxes, the dialogs' Qt faces
// run modally through the document's ModalLoop, the common file dialogs, the
// examples path of QSettings("Brelta", "Vorel"), the main window's progress
// bar and wait cursor, and the view's repaint. Long work runs on a worker
// thread while the window goes on painting.
class QtHost : public UiHost {
 public:
  // What the host does instead of showing a window: the tests answer message
  // boxes and file dialogs through these; empty functions show the real ones.
  struct Seams {
    std::function<void(const std::string& text, bool exclamation)> messageBox;
    std::function<std::optional<std::string>(const FileDialogRequest&, bool save)> fileDialog;
  };

  QtHost();

  // The window that parents dialogs when no other window of the program is active.
  void SetMainWindow(QWidget* window) { mainWindow_ = window; }
  // The status bar's progress bar (hidden between uses).
  void SetProgressBar(QProgressBar* bar) { progressBar_ = bar; }
  // What RedrawAllViews asks to repaint.
  void SetRedraw(std::function<void()> redraw) { redraw_ = std::move(redraw); }
  Seams& seams() { return seams_; }
  // The folder ProgramFolder reports instead of the executable's (the tests
  // keep their settings file in a folder of their own).
  void SetProgramFolder(QString folder) { programFolder_ = std::move(folder); }

  // Told, on the user-interface thread, when the outermost long work begins
  // (true) and when it has ended (false).
  void SetLongWorkObserver(std::function<void(bool running)> observer) {
    longWorkObserver_ = std::move(observer);
  }
  // Whether long work is running now.
  bool InLongWork() const { return longWorkDepth_ > 0; }

  void MessageBox(const std::string& text) override;
  void MessageBoxExclamation(const std::string& text) override;
  DialogResult RunModal(Dialog& dialog) override;
  std::optional<std::string> OpenFileDialog(const FileDialogRequest& request) override;
  std::optional<std::string> SaveFileDialog(const FileDialogRequest& request) override;
  std::string ExamplesPath(const std::string& productName) override;
  std::string ProgramFolder() override;
  void ProgressBegin(int from, int to) override;
  void ProgressStep() override;
  void ProgressShow() override;
  void ProgressHide() override;
  void BeginWaitCursor() override;
  void EndWaitCursor() override;
  void RedrawAllViews() override;
  // Runs the work on a worker thread; meanwhile this thread processes every
  // event but the user's input (paints, timers, the progress the work
  // reports), and input that reaches a window anyway is held and delivered
  // once the work has ended. Rethrows what the work threw.
  void RunLongWork(const std::function<void()>& work) override;

 private:
  // Holds the user's input while long work runs and posts it again afterwards.
  class InputHold;

  // Runs a progress operation on the user-interface thread, waiting for it
  // when called from the worker.
  void OnUiThread(const std::function<void()>& operation);
  QWidget* DialogParent() const;
  void ShowMessage(const std::string& text, bool exclamation);
  std::optional<std::string> FileDialog(const FileDialogRequest& request, bool save);

  QWidget* mainWindow_ = nullptr;
  QProgressBar* progressBar_ = nullptr;
  std::function<void()> redraw_;
  Seams seams_;
  QString programFolder_;
  int waitDepth_ = 0;
  int longWorkDepth_ = 0;
  std::function<void(bool)> longWorkObserver_;
  // The worker's progress calls are queued to this object, which lives on the
  // user-interface thread while long work runs.
  QObject* relay_ = nullptr;
};

}  // namespace vorel
