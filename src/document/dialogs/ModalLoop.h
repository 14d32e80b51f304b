#pragma once

#include "document/UiHost.h"
#include "document/dialogs/DialogControls.h"

namespace vorel {

class Dialog;

// The modal loop of one dialog, the same for every host: the constructor
// deactivates the dialog below it (if any), attaches the controls, runs
// OnInitDialog and activates the dialog; the host forwards the user's actions
// through Command, DoubleClick and Activate until ended(); the destructor
// detaches the controls and activates the dialog below again. A host that
// stops early (its window went away, its script ran out) calls Cancel.
//
// Loops nest (a dialog may run another); all of them run on the user-interface
// thread. While a message box or a file dialog is up, the host keeps a Pause,
// which deactivates the innermost running dialog and activates it afterwards.
class ModalLoop {
 public:
  ModalLoop(Dialog& dialog, DialogControls& controls);
  ~ModalLoop();
  ModalLoop(const ModalLoop&) = delete;
  ModalLoop& operator=(const ModalLoop&) = delete;

  // A button, check box or radio button was clicked (kIdOk, kIdCancel or any
  // other identifier). Ignored once the dialog has ended.
  void Command(int id);
  // A row of a list box was double-clicked (and is already selected).
  void DoubleClick(int listId);
  // The dialog's window was activated or deactivated; repeated states are
  // passed on once.
  void Activate(bool active);
  // Ends a dialog still open as Cancel would (its OnCancel runs).
  void Cancel();

  bool ended() const;
  DialogResult result() const;
  Dialog& dialog() const { return dialog_; }

  // The dialog of the innermost running loop, nullptr when none runs.
  static Dialog* Innermost();

  // While it lives, the innermost running dialog is deactivated; it is
  // activated again at the end (when the pause deactivated it).
  class Pause {
   public:
    Pause();
    ~Pause();
    Pause(const Pause&) = delete;
    Pause& operator=(const Pause&) = delete;

   private:
    ModalLoop* loop_ = nullptr;
  };

 private:
  Dialog& dialog_;
  ModalLoop* outer_;
  bool active_ = true;
  bool outerDeactivated_ = false;
};

}  // namespace vorel
