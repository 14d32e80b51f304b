#include "document/dialogs/CDialogFileChoice.h"

#include <cstdio>

#include "document/CVorelDoc.h"
#include "document/DataFileReader.h"
#include "document/dialogs/CDialogMVCode.h"
#include "document/dialogs/CDialogSetDelimiter.h"
#include "engine/AbstractException.h"

namespace vorel {

std::string LastPathComponent(const std::string& path) {
  std::string last;
  std::string current;
  for (char c : path) {
    if (c == '/' || c == '\\') {
      if (!current.empty()) last = current;
      current.clear();
    } else {
      current += c;
    }
  }
  return current.empty() ? last : current;
}

std::string QuotedMvCode(const std::string& code) { return "\"" + code + "\""; }

CDialogFileChoice::CDialogFileChoice(UiHost& host, CVorelDoc& doc)
    : Dialog(host, "Load data from file"), document(&doc) {
  BindStatic(kIdFullPath, filePath);
  BindStatic(kIdShortName, shortName);
  BindStatic(kIdMvCode, mvCodeDisplay);
}

CDialogFileChoice::~CDialogFileChoice() = default;

void CDialogFileChoice::Clear() {
  filePath.clear();
  shortName.clear();
  names.clear();
  selectedName = -1;
  columnChosen = false;
}

void CDialogFileChoice::ReadFile(const std::string& path) {
  names.clear();
  try {
    // A file of a million rows takes a while to read.
    host().RunLongWork(
        [&] { ReadDataFile(path, document->mvCode, format, document->DataTable, names); });
  } catch (...) {
    Clear();
    throw;
  }
  filePath = path;
  shortName = LastPathComponent(path);
  selectedName = names.empty() ? -1 : 0;
}

std::vector<std::string> CDialogFileChoice::ContentsLines(int column) const {
  std::vector<std::string> lines;
  const MaskedMatrix& table = document->DataTable;
  if (column < 1 || column > table.cols()) return lines;
  // Room for the widest "%.3lf" of a double (309 digits before the point).
  char buffer[400];
  for (int i = 1; i <= table.rows(); ++i) {
    if (table.isValid(i, column)) {
      std::snprintf(buffer, sizeof buffer, "(%d)  %.3lf", i, table.value(i, column));
    } else {
      std::snprintf(buffer, sizeof buffer, "(%d)  MV", i);
    }
    lines.emplace_back(buffer);
  }
  return lines;
}

void CDialogFileChoice::Refresh() {
  if (!attached()) return;
  controls().SetLines(kIdNames, names);
  if (selectedName >= 0) controls().SetSelection(kIdNames, {selectedName});
  controls().SetLines(
      kIdContents, filePath.empty() ? std::vector<std::string>() : ContentsLines(selectedName + 1));
  UpdateData(false);
}

void CDialogFileChoice::TakeSelection() {
  const std::vector<int> rows = controls().Selection(kIdNames);
  if (!rows.empty()) selectedName = rows.front();
}

void CDialogFileChoice::OnInitDialog() { Refresh(); }

void CDialogFileChoice::OnActivate(bool active) {
  if (!active || filePath.empty()) return;
  // Keep the row the user selected before the window lost the focus.
  TakeSelection();
  Refresh();
}

void CDialogFileChoice::OnDoubleClick(int listId) {
  if (listId != kIdNames) return;
  const std::vector<int> rows = controls().Selection(kIdNames);
  if (rows.empty()) return;
  selectedName = rows.front();
  controls().SetLines(kIdContents, ContentsLines(selectedName + 1));
}

void CDialogFileChoice::OnButton(int id) {
  switch (id) {
    case kIdOpenFile:
      OnOpenFile();
      break;
    case kIdDelimiters:
      OnDelimiters();
      break;
    case kIdChangeMvCode:
      OnChangeMvCode();
      break;
    default:
      break;
  }
}

void CDialogFileChoice::OnOpenFile() {
  FileDialogRequest request;
  request.title = "Select input file";
  request.filters = {{"VRL files *.vrl", "*.vrl"},
                     {"TXT files *.txt", "*.txt"},
                     {"DATA files *.dat", "*.dat"},
                     {"All Files *.*", "*.*"}};
  const bool tookExamplesPath = document->examplesPathPending;
  if (tookExamplesPath) {
    request.initialDirectory = host().ExamplesPath(document->registryProductName);
    document->examplesPathPending = false;
  }
  const std::optional<std::string> path = host().OpenFileDialog(request);
  if (!path) {
    columnChosen = false;
    if (tookExamplesPath) document->examplesPathPending = true;
    return;
  }
  try {
    ReadFile(*path);
  } catch (const AbstractException& e) {
    // A file that vanished since it was chosen is reported like one that
    // cannot be read.
    Refresh();
    host().MessageBox(e.message());
    return;
  }
  columnChosen = true;
  Refresh();
}

void CDialogFileChoice::Reread() {
  if (filePath.empty()) return;
  const int keep = selectedName;
  try {
    ReadFile(filePath);
  } catch (const AbstractException& e) {
    Refresh();
    host().MessageBox(e.message());
    return;
  }
  if (keep >= 0 && keep < static_cast<int>(names.size())) selectedName = keep;
  Refresh();
}

void CDialogFileChoice::OnDelimiters() {
  TakeSelection();
  CDialogSetDelimiter delimiters(host());
  delimiters.SetFormat(format);
  if (host().RunModal(delimiters) != DialogResult::Ok) return;
  format = delimiters.format();
  Reread();
}

void CDialogFileChoice::OnChangeMvCode() {
  TakeSelection();
  CDialogMVCode codeDialog(host());
  codeDialog.code = document->mvCode;
  if (host().RunModal(codeDialog) != DialogResult::Ok) return;
  document->mvCode = codeDialog.code;
  mvCodeDisplay = QuotedMvCode(document->mvCode);
  if (filePath.empty()) {
    UpdateData(false);
    return;
  }
  Reread();
}

void CDialogFileChoice::OnOK() {
  TakeSelection();
  if (filePath.empty() && !columnChosen) {
    host().MessageBox(kMessageNoFile);
    return;
  }
  if (!filePath.empty()) {
    // With no row selected the column shown last is taken.
    if (selectedName < 0 || selectedName >= static_cast<int>(names.size())) selectedName = 0;
    columnChosen = true;
    chosen = document->DataTable.Column(selectedName + 1);
    seriesName = names.empty() ? std::string() : names[static_cast<size_t>(selectedName)];
  }
  if (chosen.length() < 3) {
    host().MessageBox(kMessageTooShort);
    return;
  }
  EndDialog(DialogResult::Ok);
}

}  // namespace vorel
