#pragma once

#include <string>
#include <vector>

#include "document/UiHost.h"
#include "document/dialogs/DialogControls.h"

namespace vorel {

// The logic of one modal dialog, free of any toolkit: its members, the
// bindings of controls to members, and its handlers. A host runs it
// (UiHost::RunModal), gives it controls, and forwards the user's actions:
// OnCommand for a button, OnDoubleClick for a list, OnActivate whenever the
// window is activated or deactivated (a message box or a nested dialog
// deactivates it).
class Dialog {
 public:
  Dialog(UiHost& host, std::string caption);
  virtual ~Dialog();
  Dialog(const Dialog&) = delete;
  Dialog& operator=(const Dialog&) = delete;

  // The class name, by which hosts and scripts recognise the dialog.
  virtual const char* className() const = 0;
  const std::string& caption() const { return caption_; }

  // --- called by the host ---------------------------------------------------
  // Gives the dialog its controls (nullptr when it is taken down) and resets
  // the end state.
  void Attach(DialogControls* controls);
  // Before the dialog is shown: by default fills the controls from the members.
  virtual void OnInitDialog();
  // Activation or deactivation of the dialog window.
  virtual void OnActivate(bool active);
  // A button: kIdOk runs OnOK, kIdCancel OnCancel, any other OnButton.
  void OnCommand(int id);
  // A double click in a list box (the clicked row is already selected).
  virtual void OnDoubleClick(int listId);
  bool ended() const { return ended_; }
  DialogResult result() const { return result_; }

  // Controls of the running dialog; valid between Attach and the end of RunModal.
  DialogControls& controls() const { return *controls_; }
  bool attached() const { return controls_ != nullptr; }

 protected:
  // Default OK: read the controls; close with OK when that succeeded.
  virtual void OnOK();
  // Default Cancel: close with Cancel.
  virtual void OnCancel();
  virtual void OnButton(int id);

  // Data exchange, in the order of binding.
  void BindInteger(int id, int& member);
  void BindReal(int id, double& member);
  void BindText(int id, std::string& member);
  // A static shown from the member; never read back.
  void BindStatic(int id, std::string& member);
  void BindCheck(int id, bool& member);
  // A radio group by its first button: the index of the chosen button.
  void BindRadio(int firstId, int& member);
  // The chosen item of a combo box.
  void BindComboIndex(int id, int& member);
  // The selected row of a single-selection list box (-1 when none).
  void BindListIndex(int id, int& member);

  // save = true: controls to members, stopping at the first edit box that does
  // not parse (its message is shown; the members before it are read, it and
  // those after keep their values) and returning false. save = false: members
  // to controls.
  bool UpdateData(bool save);
  void EndDialog(DialogResult result);

  UiHost& host() const { return host_; }

 private:
  enum class Kind { Integer, Real, Text, Static, Check, Radio, Combo, ListIndex };
  struct Binding {
    int id;
    Kind kind;
    void* member;
  };

  UiHost& host_;
  std::string caption_;
  DialogControls* controls_ = nullptr;
  std::vector<Binding> bindings_;
  bool ended_ = false;
  DialogResult result_ = DialogResult::Cancel;
};

}  // namespace vorel
