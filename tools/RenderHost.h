#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "document/UiHost.h"
#include "document/dialogs/DialogControls.h"

namespace vorel {

// A UiHost without a user: every dialog is answered by the function given for
// the next command, every message is kept, and the file dialogs return the
// path given in advance. Enough to drive the document through a whole
// analysis in a program that only draws the pages.
class RenderHost : public UiHost {
 public:
  // Fills the controls of a running dialog and presses its buttons.
  using Answer = std::function<void(Dialog&, DialogControls&)>;

  explicit RenderHost(std::string programFolder);

  // The answer for every dialog run until the next call (nested dialogs included).
  void SetAnswer(Answer answer) { answer_ = std::move(answer); }
  // The path returned by the next open-file dialogs.
  void SetOpenFilePath(std::string path) { openPath_ = std::move(path); }

  // Messages shown since the last call, which clears them.
  std::vector<std::string> TakeMessages();

  void MessageBox(const std::string& text) override;
  void MessageBoxExclamation(const std::string& text) override;
  DialogResult RunModal(Dialog& dialog) override;
  std::optional<std::string> OpenFileDialog(const FileDialogRequest& request) override;
  std::optional<std::string> SaveFileDialog(const FileDialogRequest& request) override;
  std::string ExamplesPath(const std::string& productName) override;
  std::string ProgramFolder() override { return programFolder_; }

 private:
  std::string programFolder_;
  std::string openPath_;
  Answer answer_;
  std::vector<std::string> messages_;
};

}  // namespace vorel
