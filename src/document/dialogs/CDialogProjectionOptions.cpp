#include "document/dialogs/CDialogProjectionOptions.h"

#include <utility>

namespace vorel {

CDialogProjectionOptions::CDialogProjectionOptions(UiHost& host)
    : Dialog(host, "<<Projection>> method options") {
  BindStatic(kIdValidEntriesCovered, validEntriesCovered);
  BindStatic(kIdCnvBothSides, cnvBothSides);
  BindStatic(kIdCnvLeft, cnvLeft);
  BindStatic(kIdCnvRight, cnvRight);
  BindStatic(kIdPiProjector, piProjector);
  BindStatic(kIdMissingEntriesCovered, missingEntriesCovered);
  BindStatic(kIdSimultaneous, simultaneous);
  BindStatic(kIdSequentialLeft, sequentialLeft);
  BindStatic(kIdSequentialRight, sequentialRight);
  BindStatic(kIdSequentialBothSides, sequentialBothSides);
  BindComboIndex(kIdValidChoice, validChoice);
  BindListIndex(kIdPriorityList, selectedRow);
}

std::string CDialogProjectionOptions::MethodName(int code) {
  switch (code) {
    case 12:
      return "Simultaneous";
    case 13:
      return "Left sequential";
    case 14:
      return "Right sequential";
    case 15:
      return "Both sides sequential(to the middle)";
    case 16:
      return "Both sides sequential(averaging)";
    default:
      return std::string();
  }
}

std::array<std::string, 5> CDialogProjectionOptions::PriorityLines() const {
  std::array<std::string, 5> lines;
  for (int i = 1; i <= 5; ++i) {
    lines[i - 1] = std::to_string(i) + ") " + MethodName(priority[i - 1]);
  }
  return lines;
}

void CDialogProjectionOptions::FillList() {
  const auto lines = PriorityLines();
  controls().SetLines(kIdPriorityList, std::vector<std::string>(lines.begin(), lines.end()));
}

void CDialogProjectionOptions::OnInitDialog() {
  controls().SetLines(kIdValidChoice, {"Components of neighbour vectors (CNV)", "PI projector"});
  Dialog::OnInitDialog();
}

void CDialogProjectionOptions::OnActivate(bool) { FillList(); }

void CDialogProjectionOptions::OnButton(int id) {
  if (id != kIdUp && id != kIdDown) return;
  UpdateData(true);
  if (id == kIdUp && selectedRow >= 1 && selectedRow <= 4) {
    std::swap(priority[selectedRow], priority[selectedRow - 1]);
    FillList();
    --selectedRow;
    UpdateData(false);
  } else if (id == kIdDown && selectedRow >= 0 && selectedRow <= 3) {
    std::swap(priority[selectedRow], priority[selectedRow + 1]);
    FillList();
    ++selectedRow;
    UpdateData(false);
  }
}

void CDialogProjectionOptions::OnOK() {
  if (validEntriesCovered != "YES" || missingEntriesCovered != "YES") {
    host().MessageBox(kMessageImpossible);
    return;
  }
  Dialog::OnOK();
}

}  // namespace vorel
