#pragma once
// What the faces' tests need around a face: a host that records what it is
// asked, and a session that runs a dialog's logic on its face the way the
// program's host does (attach, init, activate, forward the face's signals),
// without a modal loop of its own, so that a test can drive the widgets.

#include <QObject>
#include <memory>
#include <string>
#include <vector>

#include "app/dialogs/DialogFace.h"
#include "app/dialogs/FaceRegistry.h"
#include "document/UiHost.h"
#include "document/dialogs/Dialog.h"

namespace vorel::test {

class RecordingHost : public UiHost {
 public:
  std::vector<std::string> messages;
  std::vector<std::string> dialogsRun;

  void MessageBox(const std::string& text) override { messages.push_back(text); }
  void MessageBoxExclamation(const std::string& text) override { messages.push_back(text); }
  // Nested dialogs are cancelled.
  DialogResult RunModal(Dialog& dialog) override {
    dialogsRun.push_back(dialog.className());
    return DialogResult::Cancel;
  }
  std::optional<std::string> OpenFileDialog(const FileDialogRequest&) override { return {}; }
  std::optional<std::string> SaveFileDialog(const FileDialogRequest&) override { return {}; }
  std::string ExamplesPath(const std::string&) override { return {}; }
  std::string ProgramFolder() override { return {}; }
};

class FaceSession {
 public:
  explicit FaceSession(Dialog& dialog) : dialog_(dialog), face_(MakeFace(dialog, nullptr)) {
    if (!face_) return;
    dialog.Attach(face_.get());
    QObject::connect(face_.get(), &DialogFace::commandClicked, face_.get(),
                     [&dialog](int id) { dialog.OnCommand(id); });
    QObject::connect(face_.get(), &DialogFace::listDoubleClicked, face_.get(),
                     [&dialog](int id) { dialog.OnDoubleClick(id); });
    QObject::connect(face_.get(), &DialogFace::activationChanged, face_.get(),
                     [&dialog](bool active) { dialog.OnActivate(active); });
    dialog.OnInitDialog();
    dialog.OnActivate(true);
  }
  ~FaceSession() {
    if (face_) dialog_.Attach(nullptr);
  }
  FaceSession(const FaceSession&) = delete;
  FaceSession& operator=(const FaceSession&) = delete;

  DialogFace* face() const { return face_.get(); }

 private:
  Dialog& dialog_;
  std::unique_ptr<DialogFace> face_;
};

}  // namespace vorel::test
