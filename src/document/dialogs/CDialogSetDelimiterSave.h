#pragma once

#include "document/dialogs/Dialog.h"

namespace vorel {

// "Delimiter & dec. separator": the decimal separator and the delimiter of
// exported series. No checks: OK closes it.
class CDialogSetDelimiterSave : public Dialog {
 public:
  static constexpr int kIdPoint = 1100;  // first button of the decimal group
  static constexpr int kIdComma = 1101;
  static constexpr int kIdSpace = 1102;  // first button of the delimiter group
  static constexpr int kIdTab = 1103;

  explicit CDialogSetDelimiterSave(UiHost& host);
  const char* className() const override { return "CDialogSetDelimiterSave"; }

  int decimalIndex = 0;    // 0 Point, 1 Comma
  int delimiterIndex = 0;  // 0 Space, 1 <Tab>
};

}  // namespace vorel
