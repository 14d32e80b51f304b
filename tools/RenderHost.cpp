#include "RenderHost.h"

#include "document/dialogs/ControlStore.h"
#include "document/dialogs/Dialog.h"

namespace vorel {

RenderHost::RenderHost(std::string programFolder) : programFolder_(std::move(programFolder)) {}

std::vector<std::string> RenderHost::TakeMessages() {
  std::vector<std::string> messages;
  messages.swap(messages_);
  return messages;
}

void RenderHost::MessageBox(const std::string& text) { messages_.push_back(text); }

void RenderHost::MessageBoxExclamation(const std::string& text) { messages_.push_back(text); }

DialogResult RenderHost::RunModal(Dialog& dialog) {
  ControlStore controls;
  dialog.Attach(&controls);
  dialog.OnInitDialog();
  dialog.OnActivate(true);
  if (answer_) answer_(dialog, controls);
  // A dialog the answer left open (or refused to close) is cancelled.
  if (!dialog.ended()) dialog.OnCommand(kIdCancel);
  const DialogResult result = dialog.result();
  dialog.Attach(nullptr);
  return result;
}

std::optional<std::string> RenderHost::OpenFileDialog(const FileDialogRequest&) {
  if (openPath_.empty()) return std::nullopt;
  return openPath_;
}

std::optional<std::string> RenderHost::SaveFileDialog(const FileDialogRequest&) {
  return std::nullopt;
}

std::string RenderHost::ExamplesPath(const std::string&) { return std::string(); }

}  // namespace vorel
