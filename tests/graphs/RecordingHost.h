#pragma once

#include <functional>
#include <string>
#include <vector>

#include "document/UiHost.h"

namespace vorel::test {

// A host for the graphs tests: records the messages shown and the redraws
// asked for, answers save-file dialogs with saveAnswer, runs dialogs with
// runDialog, and gives the program folder it was made with (for the settings
// file). Everything else does nothing.
class RecordingHost : public UiHost {
 public:
  explicit RecordingHost(std::string folder = {}) : folder_(std::move(folder)) {}
  std::vector<std::string> messages;
  void MessageBox(const std::string& text) override { messages.push_back(text); }
  void MessageBoxExclamation(const std::string& text) override { messages.push_back(text); }
  // Runs runDialog on the dialog (Cancel when none is set).
  DialogResult RunModal(Dialog& dialog) override {
    return runDialog ? runDialog(dialog) : DialogResult::Cancel;
  }
  std::function<DialogResult(Dialog&)> runDialog;
  std::optional<std::string> OpenFileDialog(const FileDialogRequest&) override { return {}; }
  std::optional<std::string> SaveFileDialog(const FileDialogRequest& request) override {
    saveRequests.push_back(request);
    return saveAnswer;
  }
  std::string ExamplesPath(const std::string&) override { return {}; }
  std::string ProgramFolder() override { return folder_; }
  void RedrawAllViews() override { ++redraws; }

  // The answer of every save-file dialog (nothing: Cancel), the requests seen
  // and the number of redraws asked for.
  std::optional<std::string> saveAnswer;
  std::vector<FileDialogRequest> saveRequests;
  int redraws = 0;

 private:
  std::string folder_;
};

}  // namespace vorel::test
