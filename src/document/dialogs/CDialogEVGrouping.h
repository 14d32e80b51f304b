#pragma once

#include <string>
#include <vector>

#include "document/dialogs/Dialog.h"
#include "engine/MaskedSeries.h"

namespace vorel {

class CVorelDoc;

// "Choice of eigenveсtors": the eigentriples in two lists, "Not used:" and
// "Used:", moved between them one by one, in groups or all at once. Ok hands
// the choice to the analysis.
class CDialogEVGrouping : public Dialog {
 public:
  static constexpr int kIdNotUsed = 1028;
  static constexpr int kIdUsed = 1026;
  static constexpr int kIdMoveToUsed = 1027;     // ">>>"
  static constexpr int kIdMoveToNotUsed = 1029;  // "<<<"
  static constexpr int kIdAllUsed = 1071;        // "All >"
  static constexpr int kIdAllNotUsed = 1061;     // "All <"

  CDialogEVGrouping(UiHost& host, CVorelDoc& document);
  const char* className() const override { return "CDialogEVGrouping"; }

  // The line of eigentriple j: "%3.d (%.3lf %s)" with j, its share of the sum
  // of all eigenvalues in percent, and "%".
  static std::string Line(int j, double eigenvalue, double sum);

  CVorelDoc* document;
  // Working copy: value j is eigenvalue j, flag j says whether it is chosen.
  MaskedSeries eigenvalues;

  void OnActivate(bool active) override;
  void OnDoubleClick(int listId) override;

 protected:
  void OnOK() override;
  void OnButton(int id) override;

 private:
  // Clears both lists and fills them from the working copy.
  void FillLists();
  // Sets (toUsed) or clears the flags of the eigentriples on the selected
  // lines of one list, the lines mapped as the list shows them.
  void MoveSelected(bool toUsed);
};

}  // namespace vorel
