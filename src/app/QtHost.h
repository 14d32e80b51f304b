#pragma once

#include <QString>
#include <functional>

#include "document/UiHost.h"

class QProgressBar;
class QWidget;

namespace vorel {

// The UiHost of the desktop program: Qt message boxes, the dialogs' Qt faces
// run modally through the document's ModalLoop, the common file dialogs, the
// examples path of QSettings("Brelta", "Vorel"), the main window's progress
// bar and wait cursor, and the view's repaint.
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

  // The folder of the examples that ship with the program: beside the
  // executable ("examples", or "../share/vorel/examples" when installed), else
  // the source tree's.
  static QString BundledExamplesFolder();

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

 private:
  QWidget* DialogParent() const;
  void ShowMessage(const std::string& text, bool exclamation);
  std::optional<std::string> FileDialog(const FileDialogRequest& request, bool save);

  QWidget* mainWindow_ = nullptr;
  QProgressBar* progressBar_ = nullptr;
  std::function<void()> redraw_;
  Seams seams_;
  QString programFolder_;
  int waitDepth_ = 0;
};

}  // namespace vorel
