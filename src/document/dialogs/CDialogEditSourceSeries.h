#pragma once

#include <string>
#include <vector>

#include "document/dialogs/Dialog.h"
#include "engine/MaskedSeries.h"

namespace vorel {

// "Edit source series": new values, values declared missing, restoring them
// and a new length, on working copies of the series, of the loaded series and
// of the edit flags. The caller reads the copies after OK when changed is set.
class CDialogEditSourceSeries : public Dialog {
 public:
  static constexpr int kIdElements = 1016;  // extended multiple selection
  static constexpr int kIdNewValue = 1059;
  static constexpr int kIdSetValues = 1060;
  static constexpr int kIdSetMissing = 1057;
  static constexpr int kIdRestore = 1108;
  static constexpr int kIdRestoreAll = 1061;
  static constexpr int kIdNewLength = 1103;
  static constexpr int kIdChangeLength = 1104;

  static constexpr const char* kMessageTooShort =
      "Attention!\nSeries length cannot be less than 3!";

  explicit CDialogEditSourceSeries(UiHost& host);
  const char* className() const override { return "CDialogEditSourceSeries"; }

  double newValue = 0.0;
  int newLength = 0;
  bool changed = false;
  MaskedSeries workSeries;  // element j + 1 is line j of the list
  MaskedSeries workLoaded;
  MaskedSeries workFlags;  // flag set: element as loaded

  // The line of element t (1-based) in the state it is in.
  std::string Line(int t) const;

  void OnActivate(bool active) override;
  void OnDoubleClick(int listId) override;

 protected:
  // Runs the length change with the field's content first, then closes when
  // the fields read and the length is at least 3.
  void OnOK() override;
  void OnButton(int id) override;

 private:
  void FillList();
  // Replaces the lines of the given elements, keeping the selection.
  void ReplaceLines(const std::vector<std::pair<int, std::string>>& lines);
  std::vector<int> SelectedElements() const;
  void SetValues();
  void SetMissing();
  void Restore();
  void RestoreAll();
  // False when the fields could not be read.
  bool ChangeLength();
};

}  // namespace vorel
