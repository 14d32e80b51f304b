#include "document/dialogs/CDialogWarningNewSL.h"

namespace vorel {

CDialogWarningNewSL::CDialogWarningNewSL(UiHost& host) : Dialog(host, "Attention!") {}

void CDialogWarningNewSL::OnInitDialog() {
  controls().SetText(kIdText, kText);
  controls().SetText(kIdOk, kApplyCaption);
  controls().SetText(kIdCancel, kCancelCaption);
}

}  // namespace vorel
