#pragma once

#include "document/InputFormat.h"
#include "document/dialogs/Dialog.h"

namespace vorel {

// "Delimiters & dec. separator": the reading options of data files. Its OK
// button reads "Save && Reload".
class CDialogSetDelimiter : public Dialog {
 public:
  static constexpr int kIdPoint = 1040;  // first button of the decimal group
  static constexpr int kIdComma = 1041;  // "Comma ' , '"
  static constexpr int kIdSpace = 1042;
  static constexpr int kIdTab = 1043;
  static constexpr int kIdSemicolon = 1044;
  static constexpr int kIdCommaDelimiter = 1045;  // the "Comma" check box

  static constexpr const char* kOkCaption = "Save && Reload";
  static constexpr const char* kMessageNoDelimiter =
      "Attention!\nThere is no selected delimiter. Choose at least one delimiter";

  explicit CDialogSetDelimiter(UiHost& host);
  const char* className() const override { return "CDialogSetDelimiter"; }

  // The options as the dialog's members, and back.
  void SetFormat(const InputFormat& format);
  InputFormat format() const;

  int decimalIndex = 0;  // 0 Point, 1 Comma
  bool delimSpace = true;
  bool delimTab = true;
  bool delimSemicolon = false;
  bool delimComma = true;
  // While the decimal separator is Comma the "Comma" box is drawn pushed: the
  // reader ignores it then. The box keeps its checked state either way.
  bool commaBoxPushed = false;

  void OnActivate(bool active) override;

 protected:
  void OnOK() override;
  void OnButton(int id) override;
};

}  // namespace vorel
