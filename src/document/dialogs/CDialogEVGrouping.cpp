#include "document/dialogs/CDialogEVGrouping.h"

#include <cstdio>

#include "document/CVorelDoc.h"
#include "engine/AbstractException.h"

namespace vorel {

CDialogEVGrouping::CDialogEVGrouping(UiHost& host, CVorelDoc& doc)
    : Dialog(host, "Choice of eigenve\xD1\x81tors"), document(&doc) {}

std::string CDialogEVGrouping::Line(int j, double eigenvalue, double sum) {
  char buffer[128];
  // With no positive eigenvalue (a series of zeros) every share is 0, not 0/0.
  const double share = sum > 0 ? eigenvalue * (1.0 / sum) * 100.0 : 0.0;
  std::snprintf(buffer, sizeof buffer, "%3.d (%.3lf %s)", j, share, "%");
  return buffer;
}

void CDialogEVGrouping::FillLists() {
  const int L = eigenvalues.length();
  double sum = 0.0;
  for (int j = 1; j <= L; ++j) sum += eigenvalues.value(j);
  std::vector<std::string> notUsed;
  std::vector<std::string> used;
  for (int j = 1; j <= L; ++j) {
    (eigenvalues.isValid(j) ? used : notUsed).push_back(Line(j, eigenvalues.value(j), sum));
  }
  controls().SetLines(kIdNotUsed, notUsed);
  controls().SetLines(kIdUsed, used);
}

void CDialogEVGrouping::OnActivate(bool) { FillLists(); }

void CDialogEVGrouping::MoveSelected(bool toUsed) {
  const int listId = toUsed ? kIdNotUsed : kIdUsed;
  // The k-th line of a list shows the k-th eigentriple on that side; the
  // mapping is taken before any flag changes.
  std::vector<int> shown;
  for (int j = 1; j <= eigenvalues.length(); ++j) {
    if (eigenvalues.isValid(j) != toUsed) shown.push_back(j);
  }
  for (int row : controls().Selection(listId)) {
    if (row >= 0 && row < static_cast<int>(shown.size())) eigenvalues.setValid(shown[row], toUsed);
  }
  FillLists();
}

void CDialogEVGrouping::OnButton(int id) {
  switch (id) {
    case kIdMoveToUsed:
      MoveSelected(true);
      break;
    case kIdMoveToNotUsed:
      MoveSelected(false);
      break;
    case kIdAllUsed:
      eigenvalues.SetAllValid(true);
      FillLists();
      break;
    case kIdAllNotUsed:
      eigenvalues.SetAllValid(false);
      FillLists();
      break;
    default:
      break;
  }
}

void CDialogEVGrouping::OnDoubleClick(int listId) {
  if (listId == kIdNotUsed) MoveSelected(true);
  if (listId == kIdUsed) MoveSelected(false);
}

void CDialogEVGrouping::OnOK() {
  std::vector<unsigned char> flags(static_cast<size_t>(eigenvalues.length()));
  for (int j = 1; j <= eigenvalues.length(); ++j) flags[j - 1] = eigenvalues.isValid(j) ? 1 : 0;
  try {
    document->analysis.SelectEigentriples(flags);
  } catch (const AbstractException& e) {
    host().MessageBox(e.message());
    return;
  }
  EndDialog(DialogResult::Ok);
}

}  // namespace vorel
