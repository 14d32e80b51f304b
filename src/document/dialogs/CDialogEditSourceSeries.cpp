#include "document/dialogs/CDialogEditSourceSeries.h"

#include <cstdio>

#include "document/dialogs/CDialogWarningNewSL.h"
#include "document/dialogs/DataExchange.h"

namespace vorel {
namespace {

std::string FormatLine(const char* format, int t) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, format, t);
  return buffer;
}

std::string FormatLine(const char* format, int t, double value) {
  char buffer[400];
  std::snprintf(buffer, sizeof buffer, format, t, value);
  return buffer;
}

// The first n elements of s (values and flags); new elements are 0 and missing.
MaskedSeries Resized(const MaskedSeries& s, int n) {
  MaskedSeries r(n);
  for (int t = 1; t <= n; ++t) {
    if (t <= s.length()) {
      r.set(t, s.value(t), s.isValid(t));
    } else {
      r.set(t, 0.0, false);
    }
  }
  return r;
}

}  // namespace

CDialogEditSourceSeries::CDialogEditSourceSeries(UiHost& host)
    : Dialog(host, "Edit source series") {
  BindReal(kIdNewValue, newValue);
  BindInteger(kIdNewLength, newLength);
}

std::string CDialogEditSourceSeries::Line(int t) const {
  const bool asLoaded = workFlags.isValid(t);
  if (workSeries.isValid(t)) {
    return FormatLine(asLoaded ? "(%d)  %.3lf" : "(%d) *  %.3lf", t, workSeries.value(t));
  }
  return FormatLine(asLoaded ? "(%d)  MV" : "(%d)  AMV", t);
}

void CDialogEditSourceSeries::FillList() {
  std::vector<std::string> lines;
  lines.reserve(static_cast<size_t>(workSeries.length()));
  for (int t = 1; t <= workSeries.length(); ++t) lines.push_back(Line(t));
  controls().SetLines(kIdElements, lines);
}

void CDialogEditSourceSeries::ReplaceLines(
    const std::vector<std::pair<int, std::string>>& replaced) {
  if (replaced.empty()) return;
  std::vector<std::string> lines = controls().Lines(kIdElements);
  const std::vector<int> selection = controls().Selection(kIdElements);
  for (const auto& [t, line] : replaced) {
    if (t >= 1 && t <= static_cast<int>(lines.size())) lines[static_cast<size_t>(t - 1)] = line;
  }
  controls().SetLines(kIdElements, lines);
  controls().SetSelection(kIdElements, selection);
}

std::vector<int> CDialogEditSourceSeries::SelectedElements() const {
  std::vector<int> elements;
  for (int row : controls().Selection(kIdElements)) {
    if (row >= 0 && row < workSeries.length()) elements.push_back(row + 1);
  }
  return elements;
}

void CDialogEditSourceSeries::OnActivate(bool active) {
  if (active) FillList();
}

void CDialogEditSourceSeries::OnDoubleClick(int listId) {
  if (listId != kIdElements) return;
  const std::vector<int> elements = SelectedElements();
  if (elements.empty()) return;
  newValue = workSeries.value(elements.front());
  controls().SetText(kIdNewValue, FormatRealField(newValue));
}

void CDialogEditSourceSeries::OnButton(int id) {
  switch (id) {
    case kIdSetValues:
      SetValues();
      break;
    case kIdSetMissing:
      SetMissing();
      break;
    case kIdRestore:
      Restore();
      break;
    case kIdRestoreAll:
      RestoreAll();
      break;
    case kIdChangeLength:
      ChangeLength();
      break;
    default:
      break;
  }
}

// A button whose fields do not read changes nothing: the value or length it
// would use is not the one shown.
void CDialogEditSourceSeries::SetValues() {
  if (!UpdateData(true)) return;
  changed = true;
  std::vector<std::pair<int, std::string>> lines;
  for (int t : SelectedElements()) {
    if (workSeries.isValid(t) && workSeries.value(t) == newValue) continue;
    workSeries.set(t, newValue, true);
    workFlags.setValid(t, false);
    lines.emplace_back(t, FormatLine("(%d) *  %.3lf", t, newValue));
  }
  ReplaceLines(lines);
}

void CDialogEditSourceSeries::SetMissing() {
  if (!UpdateData(true)) return;
  changed = true;
  std::vector<std::pair<int, std::string>> lines;
  for (int t : SelectedElements()) {
    if (!workSeries.isValid(t)) continue;
    workSeries.setValid(t, false);
    workFlags.setValid(t, false);
    lines.emplace_back(t, FormatLine("(%d)  AMV", t));
  }
  ReplaceLines(lines);
}

void CDialogEditSourceSeries::Restore() {
  if (!UpdateData(true)) return;
  changed = true;
  std::vector<std::pair<int, std::string>> lines;
  for (int t : SelectedElements()) {
    if (workFlags.isValid(t)) continue;
    workFlags.setValid(t, true);
    workSeries.set(t, workLoaded.value(t), workLoaded.isValid(t));
    lines.emplace_back(t, workSeries.isValid(t) ? FormatLine("(%d)  %.3lf", t, workSeries.value(t))
                                                : FormatLine("(%d) MV", t));
  }
  ReplaceLines(lines);
}

void CDialogEditSourceSeries::RestoreAll() {
  if (!UpdateData(true)) return;
  changed = true;
  std::vector<std::pair<int, std::string>> lines;
  for (int t = 1; t <= workSeries.length(); ++t) {
    workFlags.setValid(t, true);
    workSeries.set(t, workLoaded.value(t), workLoaded.isValid(t));
    lines.emplace_back(t, workSeries.isValid(t) ? FormatLine("(%d) %.3lf", t, workSeries.value(t))
                                                : FormatLine("(%d) MV", t));
  }
  ReplaceLines(lines);
}

bool CDialogEditSourceSeries::ChangeLength() {
  if (!UpdateData(true)) return false;
  if (newLength <= 2) {
    host().MessageBox(kMessageTooShort);
    return true;
  }
  const int current = workSeries.length();
  if (newLength == current) return true;
  if (newLength < current) {
    CDialogWarningNewSL warning(host());
    if (host().RunModal(warning) != DialogResult::Ok) return true;
  }
  changed = true;
  workSeries = Resized(workSeries, newLength);
  workLoaded = Resized(workLoaded, newLength);
  MaskedSeries flags = Resized(workFlags, newLength);
  for (int t = current + 1; t <= newLength; ++t) flags.setValid(t, true);
  workFlags = flags;
  FillList();
  return true;
}

void CDialogEditSourceSeries::OnOK() {
  if (!ChangeLength()) return;
  if (newLength >= 3) EndDialog(DialogResult::Ok);
}

}  // namespace vorel
