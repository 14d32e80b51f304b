#pragma once
// A UiHost for tests: answers every dialog by a small script, answers file
// dialogs with given paths and records every message shown, in order.

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "document/UiHost.h"
#include "document/dialogs/ControlStore.h"
#include "document/dialogs/Dialog.h"

namespace vorel::test {

// What the user does in one dialog, in order. Each action runs against the
// dialog's controls; Press and DoubleClick call its handlers. The script
// should end the dialog with its last action.
class DialogScript {
 public:
  explicit DialogScript(std::string className) : className_(std::move(className)) {}

  // Types text into an edit box.
  DialogScript& Type(int id, std::string text);
  // Sets a check box (0/1), chooses a radio button (group's first id, index)
  // or a combo box item.
  DialogScript& Choose(int id, int state);
  // Selects rows of a list box (replacing the selection).
  DialogScript& Select(int listId, std::vector<int> rows);
  // Clicks a button (kIdOk, kIdCancel or any other).
  DialogScript& Press(int id);
  // Double-clicks a row of a list box: adds it to the selection, then the handler.
  DialogScript& DoubleClick(int listId, int row);
  // Runs a function on the dialog and its controls (to set members or look at them).
  DialogScript& Do(std::function<void(Dialog&, DialogControls&)> action);
  DialogScript& Ok() { return Press(kIdOk); }
  DialogScript& Cancel() { return Press(kIdCancel); }

  const std::string& className() const { return className_; }

 private:
  friend class ScriptedHost;
  struct Action {
    enum class Kind { Type, Choose, Select, Press, DoubleClick, Do } kind;
    int id = 0;
    std::string text;
    int value = 0;
    std::vector<int> rows;
    std::function<void(Dialog&, DialogControls&)> action;
  };
  std::string className_;
  std::vector<Action> actions_;
};

class ScriptedHost : public UiHost {
 public:
  struct Message {
    std::string text;
    bool exclamation = false;
    // The class of the dialog that was open (innermost), empty when none.
    std::string dialog;
  };

  ScriptedHost() = default;
  ~ScriptedHost() override;

  // Queues the script of the next dialog that opens.
  DialogScript& Expect(std::string className);
  // Queues the answer of the next open-file / save-file dialog (nothing: Cancel).
  void AnswerOpenFile(std::optional<std::string> path) { openAnswers_.push_back(std::move(path)); }
  void AnswerSaveFile(std::optional<std::string> path) { saveAnswers_.push_back(std::move(path)); }

  // Scripts and answers not used so far.
  size_t pendingScripts() const { return scripts_.size(); }
  size_t pendingFileAnswers() const { return openAnswers_.size() + saveAnswers_.size(); }

  // What was shown.
  std::vector<Message> messages;
  std::vector<std::string> messageTexts() const;
  std::vector<std::string> dialogsRun;  // class names, in the order opened
  std::vector<FileDialogRequest> openRequests;
  std::vector<FileDialogRequest> saveRequests;
  int redraws = 0;
  std::vector<std::string> progress;  // "begin 0 100", "step", "show", "hide"
  int waitCursorDepth = 0;
  // The long work run, and the progress operations each reported.
  int longWorks = 0;
  std::vector<std::vector<std::string>> progressInLongWork;
  // When set, called before and after each long work: what it returned, in
  // pairs (before, after), shows what the work changed.
  std::function<std::string()> longWorkProbe;
  std::vector<std::pair<std::string, std::string>> longWorkChanges;

  // A dialog without a script is cancelled quietly instead of failing the test.
  bool cancelUnscriptedDialogs = false;

  std::string examplesPath;
  std::string programFolder;
  std::vector<std::string> examplesPathProducts;

  // UiHost
  void MessageBox(const std::string& text) override;
  void MessageBoxExclamation(const std::string& text) override;
  DialogResult RunModal(Dialog& dialog) override;
  std::optional<std::string> OpenFileDialog(const FileDialogRequest& request) override;
  std::optional<std::string> SaveFileDialog(const FileDialogRequest& request) override;
  std::string ExamplesPath(const std::string& productName) override;
  std::string ProgramFolder() override { return programFolder; }
  void ProgressBegin(int from, int to) override;
  void ProgressStep() override;
  void ProgressShow() override;
  void ProgressHide() override;
  void BeginWaitCursor() override { ++waitCursorDepth; }
  void EndWaitCursor() override { --waitCursorDepth; }
  void RedrawAllViews() override;
  // Runs the work here, as a plain host does, and fails the test when the work
  // calls anything of the host but the progress operations (the desktop
  // program runs it on another thread, where a window must not be touched).
  void RunLongWork(const std::function<void()>& work) override;

 private:
  // Fails the test when called from long work.
  void NotInLongWork(const char* call) const;
  bool inLongWork_ = false;

  // A message box deactivates the running dialog and activates it again afterwards.
  void Record(const std::string& text, bool exclamation);

  std::deque<DialogScript> scripts_;
  std::deque<std::optional<std::string>> openAnswers_;
  std::deque<std::optional<std::string>> saveAnswers_;
};

}  // namespace vorel::test
