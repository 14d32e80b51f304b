#include "RenderHost.h"

#include "document/dialogs/ControlStore.h"
#include "document/dialogs/Dialog.h"
#include "document/dialogs/ModalLoop.h"

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
  ModalLoop loop(dialog, controls);
  if (answer_) answer_(dialog, controls);
  // A dialog the answer left open (or refused to close) is cancelled.
  loop.Cancel();
  return loop.result();
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
