#include "document/dialogs/ModalLoop.h"

#include "document/dialogs/Dialog.h"

namespace vorel {
namespace {

// The innermost running loop; the loops are linked through their outer_.
ModalLoop* gInnermost = nullptr;

}  // namespace

ModalLoop::ModalLoop(Dialog& dialog, DialogControls& controls)
    : dialog_(dialog), outer_(gInnermost) {
  if (outer_ != nullptr && outer_->active_) {
    outer_->Activate(false);
    outerDeactivated_ = true;
  }
  dialog_.Attach(&controls);
  gInnermost = this;
  // The dialog counts as active from here on, so that a message shown while it
  // initialises deactivates and reactivates it like any other.
  active_ = true;
  dialog_.OnInitDialog();
  dialog_.OnActivate(true);
}

ModalLoop::~ModalLoop() {
  gInnermost = outer_;
  dialog_.Attach(nullptr);
  if (outerDeactivated_) outer_->Activate(true);
}

void ModalLoop::Command(int id) {
  if (!dialog_.ended()) dialog_.OnCommand(id);
}

void ModalLoop::DoubleClick(int listId) {
  if (!dialog_.ended()) dialog_.OnDoubleClick(listId);
}

void ModalLoop::Activate(bool active) {
  if (active == active_) return;
  active_ = active;
  dialog_.OnActivate(active);
}

void ModalLoop::Cancel() {
  if (!dialog_.ended()) dialog_.OnCommand(kIdCancel);
}

bool ModalLoop::ended() const { return dialog_.ended(); }

DialogResult ModalLoop::result() const { return dialog_.result(); }

Dialog* ModalLoop::Innermost() { return gInnermost != nullptr ? &gInnermost->dialog_ : nullptr; }

ModalLoop::Pause::Pause() {
  if (gInnermost != nullptr && gInnermost->active_) {
    loop_ = gInnermost;
    loop_->Activate(false);
  }
}

ModalLoop::Pause::~Pause() {
  if (loop_ != nullptr) loop_->Activate(true);
}

}  // namespace vorel
