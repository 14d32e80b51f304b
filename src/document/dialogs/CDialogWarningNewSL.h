#pragma once

#include "document/dialogs/Dialog.h"

namespace vorel {

// "Attention!": asks before a shorter series length drops values. "Apply
// changes" is OK, "Cancel changes" is Cancel.
class CDialogWarningNewSL : public Dialog {
 public:
  static constexpr int kIdText = 1110;
  static constexpr const char* kText =
      "Attention!\nPart of series values will be lost: you set the series length less than the "
      "initial series lenght.";
  static constexpr const char* kApplyCaption = "Apply changes";
  static constexpr const char* kCancelCaption = "Cancel changes";

  explicit CDialogWarningNewSL(UiHost& host);
  const char* className() const override { return "CDialogWarningNewSL"; }

  void OnInitDialog() override;
};

}  // namespace vorel
