#include "document/dialogs/CDialogSetDelimiter.h"

namespace vorel {

CDialogSetDelimiter::CDialogSetDelimiter(UiHost& host)
    : Dialog(host, "Delimiters & dec. separator") {
  BindRadio(kIdPoint, decimalIndex);
  BindCheck(kIdSpace, delimSpace);
  BindCheck(kIdTab, delimTab);
  BindCheck(kIdSemicolon, delimSemicolon);
  BindCheck(kIdCommaDelimiter, delimComma);
}

void CDialogSetDelimiter::SetFormat(const InputFormat& f) {
  decimalIndex = f.decimal == kDecimalComma ? 1 : 0;
  delimSpace = f.delimSpace;
  delimTab = f.delimTab;
  delimSemicolon = f.delimSemicolon;
  delimComma = f.delimComma;
}

InputFormat CDialogSetDelimiter::format() const {
  InputFormat f;
  f.decimal = decimalIndex == 1 ? kDecimalComma : kDecimalPoint;
  f.delimSpace = delimSpace;
  f.delimTab = delimTab;
  f.delimSemicolon = delimSemicolon;
  f.delimComma = delimComma;
  return f;
}

void CDialogSetDelimiter::OnActivate(bool active) {
  if (active) commaBoxPushed = controls().State(kIdPoint) == 1;
}

void CDialogSetDelimiter::OnButton(int id) {
  if (id == kIdComma || id == kIdCommaDelimiter) {
    commaBoxPushed = controls().State(kIdPoint) == 1;
  } else if (id == kIdPoint) {
    commaBoxPushed = false;
  }
}

void CDialogSetDelimiter::OnOK() {
  UpdateData(true);
  if (!delimSpace && !delimTab && !delimSemicolon && !delimComma) {
    host().MessageBox(kMessageNoDelimiter);
    return;
  }
  EndDialog(DialogResult::Ok);
}

}  // namespace vorel
