#include "document/dialogs/CDialogMVCode.h"

#include "document/dialogs/MVCodeExceptions.h"

namespace vorel {

CDialogMVCode::CDialogMVCode(UiHost& host) : Dialog(host, "Missing Value code") {
  BindText(kIdCode, code);
}

void CDialogMVCode::CheckCode(const std::string& code) {
  if (code.empty()) throw ExceptionNoMVCodeEntered();
  if (code.find_first_of(" \t;,.") != std::string::npos) throw ExceptionMVCodeHaveWrongSymbols();
  if (code.size() > kMaxLength) throw ExceptionMVCodeTooLong();
}

void CDialogMVCode::OnOK() {
  UpdateData(true);
  try {
    CheckCode(code);
  } catch (const AbstractException& e) {
    host().MessageBox(e.message());
    return;
  }
  EndDialog(DialogResult::Ok);
}

}  // namespace vorel
