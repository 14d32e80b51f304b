#pragma once

#include <string>
#include <vector>

#include "document/InputFormat.h"
#include "document/dialogs/Dialog.h"
#include "engine/MaskedSeries.h"

namespace vorel {

class CVorelDoc;

// "Load data from file": the data file, its columns, the contents of one
// column and the chosen column. It reads files into the document's DataTable
// with the document's missing-value code and its own reading options, which
// flow back to the caller only when it ends with OK and columnChosen is set.
// A new missing-value code is written into the document at once.
class CDialogFileChoice : public Dialog {
 public:
  static constexpr int kIdOpenFile = 1030;
  static constexpr int kIdNames = 1031;       // "Series names:" list box
  static constexpr int kIdFullPath = 1032;    // "Full filename:"
  static constexpr int kIdShortName = 1033;   // "Short filename:"
  static constexpr int kIdMvCode = 1034;      // "MV code:"
  static constexpr int kIdContents = 1035;    // "Series contents:" list box
  static constexpr int kIdDelimiters = 1037;  // "Delimiters and decimal separator"
  static constexpr int kIdChangeMvCode = 1038;

  static constexpr const char* kMessageNoFile = "Attention!\nData file wasn't opened.";
  static constexpr const char* kMessageTooShort =
      "Attention!\nSource series length is too small (series length must be more than 2).";

  CDialogFileChoice(UiHost& host, CVorelDoc& document);
  ~CDialogFileChoice() override;
  const char* className() const override { return "CDialogFileChoice"; }

  // Reads path into the document's DataTable; on success the dialog shows its
  // columns with the first one selected. On a failure the dialog holds no file
  // and the exception escapes.
  void ReadFile(const std::string& path);

  // The "(%d)  %.3lf" / "(%d)  MV" lines of column (1-based) of DataTable.
  std::vector<std::string> ContentsLines(int column) const;

  CVorelDoc* document;
  std::string mvCodeDisplay;  // "\"%s\"" of the code
  std::string filePath;       // empty when no file is read
  std::string shortName;
  std::string seriesName;
  InputFormat format;
  std::vector<std::string> names;  // column names of the file read
  int selectedName = -1;           // index in names
  MaskedSeries chosen;
  bool columnChosen = false;

  void OnInitDialog() override;
  void OnActivate(bool active) override;
  void OnDoubleClick(int listId) override;

 protected:
  void OnOK() override;
  void OnButton(int id) override;

 private:
  void OnOpenFile();
  void OnDelimiters();
  void OnChangeMvCode();
  // Reads the current file again; a failure empties the dialog and is shown.
  void Reread();
  // Forgets the file: no paths, no names, no column chosen.
  void Clear();
  // Names list (with the selected row), contents list and fields from the members.
  void Refresh();
  // The selected row of the names list, when there is one, becomes selectedName.
  void TakeSelection();
};

// The last non-empty component of a path split at '/' and '\'.
std::string LastPathComponent(const std::string& path);

// The missing-value code as the file choice shows it: in double quotes.
std::string QuotedMvCode(const std::string& code);

}  // namespace vorel
