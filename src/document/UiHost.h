#pragma once
// The one interface through which the document and the dialogs' logic reach the
// user. The desktop program implements it with Qt, the tests with a scripted
// host and the batch tool from its command line.

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace vorel {

class Dialog;

// How a modal dialog ended.
enum class DialogResult { Ok, Cancel };

// One entry of a file dialog's type list: the label shown and its pattern.
struct FileFilter {
  std::string label;    // "TXT files *.txt"
  std::string pattern;  // "*.txt"
  bool operator==(const FileFilter&) const = default;
};

// What a file dialog is asked to show. The read-only check box is always hidden.
struct FileDialogRequest {
  std::string title;
  std::vector<FileFilter> filters;  // empty: no filter
  std::string initialDirectory;     // empty: the toolkit's choice
  bool overwritePrompt = false;     // save dialogs: ask before replacing a file
};

class UiHost {
 public:
  virtual ~UiHost() = default;

  // A modal message box with one OK button; returns when the user dismissed it.
  virtual void MessageBox(const std::string& text) = 0;
  // The same with the exclamation icon.
  virtual void MessageBoxExclamation(const std::string& text) = 0;

  // Runs the dialog modally: attaches controls to it, calls OnInitDialog and
  // OnActivate, forwards the user's clicks to its handlers until a handler
  // ends it, and returns how it ended.
  virtual DialogResult RunModal(Dialog& dialog) = 0;

  // Common file dialogs; the full path chosen, or nothing on Cancel.
  virtual std::optional<std::string> OpenFileDialog(const FileDialogRequest& request) = 0;
  virtual std::optional<std::string> SaveFileDialog(const FileDialogRequest& request) = 0;

  // The examples directory kept for the product (empty when none is known).
  virtual std::string ExamplesPath(const std::string& productName) = 0;
  // The directory that holds the running program.
  virtual std::string ProgramFolder() = 0;

  // The feedback a window gives; a host without a window (a tool, a test)
  // shows none, as these do.
  // The progress bar of the main window, range from..to.
  virtual void ProgressBegin(int /*from*/, int /*to*/) {}
  virtual void ProgressStep() {}
  virtual void ProgressShow() {}
  virtual void ProgressHide() {}
  // The wait cursor, shown between the two calls.
  virtual void BeginWaitCursor() {}
  virtual void EndWaitCursor() {}

  // Asks every view to repaint (without erasing) later.
  virtual void RedrawAllViews() {}

  // Runs work that may take seconds (a decomposition, a reconstruction,
  // reading a large file, Cadzow iterations) and returns when it has ended,
  // passing on whatever it threw. The work calls nothing of this host but the
  // progress operations (ProgressBegin, ProgressStep, ProgressShow,
  // ProgressHide, BeginWaitCursor, EndWaitCursor): a host may run it on
  // another thread and keep its window painting meanwhile, holding the user's
  // input until it ends. This one simply calls it.
  virtual void RunLongWork(const std::function<void()>& work) { work(); }
};

}  // namespace vorel
