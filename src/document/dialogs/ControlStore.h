#pragma once

#include <map>
#include <set>

#include "document/dialogs/DialogControls.h"

namespace vorel {

// Controls kept in memory: what a scripted or command-line host gives a dialog.
class ControlStore : public DialogControls {
 public:
  std::string Text(int id) const override;
  void SetText(int id, const std::string& text) override;
  int State(int id) const override;
  void SetState(int id, int state) override;
  std::vector<std::string> Lines(int id) const override;
  void SetLines(int id, const std::vector<std::string>& lines) override;
  std::vector<int> Selection(int id) const override;
  void SetSelection(int id, const std::vector<int>& rows) override;
  bool Enabled(int id) const override;
  void SetEnabled(int id, bool enabled) override;
  bool ReadOnly(int id) const override;
  void SetReadOnly(int id, bool readOnly) override;

 private:
  std::map<int, std::string> texts_;
  std::map<int, int> states_;
  std::map<int, std::vector<std::string>> lines_;
  std::map<int, std::vector<int>> selections_;
  std::set<int> disabled_;
  std::set<int> readOnly_;
};

}  // namespace vorel
