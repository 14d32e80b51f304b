#pragma once

#include <string>

#include "document/dialogs/Dialog.h"

namespace vorel {

// "Missing Value code": the text that marks a missing cell in data files.
class CDialogMVCode : public Dialog {
 public:
  static constexpr int kIdCode = 1036;  // "Symbols for missing value:"
  static constexpr std::size_t kMaxLength = 39;

  explicit CDialogMVCode(UiHost& host);
  const char* className() const override { return "CDialogMVCode"; }

  std::string code;

  // Throws ExceptionNoMVCodeEntered for an empty code,
  // ExceptionMVCodeHaveWrongSymbols for one holding a blank, a tab, ';', ','
  // or '.', and ExceptionMVCodeTooLong beyond kMaxLength characters.
  static void CheckCode(const std::string& code);

 protected:
  // Reads the code and checks it; a refused code is reported and the dialog stays open.
  void OnOK() override;
};

}  // namespace vorel
