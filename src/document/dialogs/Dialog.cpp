#include "document/dialogs/Dialog.h"

#include <cassert>
#include <utility>

#include "document/dialogs/DataExchange.h"

namespace vorel {

Dialog::Dialog(UiHost& host, std::string caption) : host_(host), caption_(std::move(caption)) {}

Dialog::~Dialog() = default;

void Dialog::Attach(DialogControls* controls) {
  controls_ = controls;
  if (controls != nullptr) {
    ended_ = false;
    result_ = DialogResult::Cancel;
  }
}

void Dialog::OnInitDialog() { UpdateData(false); }

void Dialog::OnActivate(bool) {}

void Dialog::OnCommand(int id) {
  if (id == kIdOk) {
    OnOK();
  } else if (id == kIdCancel) {
    OnCancel();
  } else {
    OnButton(id);
  }
}

void Dialog::OnDoubleClick(int) {}

void Dialog::OnOK() {
  if (UpdateData(true)) EndDialog(DialogResult::Ok);
}

void Dialog::OnCancel() { EndDialog(DialogResult::Cancel); }

void Dialog::OnButton(int) {}

void Dialog::BindInteger(int id, int& member) { bindings_.push_back({id, Kind::Integer, &member}); }
void Dialog::BindReal(int id, double& member) { bindings_.push_back({id, Kind::Real, &member}); }
void Dialog::BindText(int id, std::string& member) {
  bindings_.push_back({id, Kind::Text, &member});
}
void Dialog::BindStatic(int id, std::string& member) {
  bindings_.push_back({id, Kind::Static, &member});
}
void Dialog::BindCheck(int id, bool& member) { bindings_.push_back({id, Kind::Check, &member}); }
void Dialog::BindRadio(int firstId, int& member) {
  bindings_.push_back({firstId, Kind::Radio, &member});
}
void Dialog::BindComboIndex(int id, int& member) {
  bindings_.push_back({id, Kind::Combo, &member});
}
void Dialog::BindListIndex(int id, int& member) {
  bindings_.push_back({id, Kind::ListIndex, &member});
}

bool Dialog::UpdateData(bool save) {
  assert(controls_ != nullptr);
  DialogControls& c = *controls_;
  for (const Binding& b : bindings_) {
    switch (b.kind) {
      case Kind::Integer: {
        int& member = *static_cast<int*>(b.member);
        if (!save) {
          c.SetText(b.id, FormatIntegerField(member));
        } else if (auto v = ParseIntegerField(c.Text(b.id))) {
          member = *v;
        } else {
          host_.MessageBox(kMessageEnterInteger);
          return false;
        }
        break;
      }
      case Kind::Real: {
        double& member = *static_cast<double*>(b.member);
        if (!save) {
          c.SetText(b.id, FormatRealField(member));
        } else if (auto v = ParseRealField(c.Text(b.id))) {
          member = *v;
        } else {
          host_.MessageBox(kMessageEnterNumber);
          return false;
        }
        break;
      }
      case Kind::Text: {
        std::string& member = *static_cast<std::string*>(b.member);
        if (save) {
          member = c.Text(b.id);
        } else {
          c.SetText(b.id, member);
        }
        break;
      }
      case Kind::Static:
        if (!save) c.SetText(b.id, *static_cast<std::string*>(b.member));
        break;
      case Kind::Check: {
        bool& member = *static_cast<bool*>(b.member);
        if (save) {
          member = c.State(b.id) == 1;
        } else {
          c.SetState(b.id, member ? 1 : 0);
        }
        break;
      }
      case Kind::Radio:
      case Kind::Combo: {
        int& member = *static_cast<int*>(b.member);
        if (save) {
          member = c.State(b.id);
        } else {
          c.SetState(b.id, member);
        }
        break;
      }
      case Kind::ListIndex: {
        int& member = *static_cast<int*>(b.member);
        if (save) {
          const std::vector<int> rows = c.Selection(b.id);
          member = rows.empty() ? -1 : rows.front();
        } else {
          c.SetSelection(b.id, member >= 0 ? std::vector<int>{member} : std::vector<int>{});
        }
        break;
      }
    }
  }
  return true;
}

void Dialog::EndDialog(DialogResult result) {
  ended_ = true;
  result_ = result;
}

}  // namespace vorel
