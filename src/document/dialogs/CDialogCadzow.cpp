#include "document/dialogs/CDialogCadzow.h"

#include "document/CVorelDoc.h"
#include "document/dialogs/CDialogComparison.h"
#include "engine/AbstractException.h"

namespace vorel {

CDialogCadzow::CDialogCadzow(UiHost& host, CVorelDoc& doc)
    : Dialog(host, "Cadzow method"), document(&doc) {
  BindInteger(kIdIterations, iterations);
  BindInteger(kIdWindowLength, windowLength);
  BindStatic(kIdCompare, compareCaption);
}

void CDialogCadzow::OnButton(int id) {
  if (id == kIdCompare) OnCompareButton();
}

void CDialogCadzow::OnCompareButton() {
  CDialogComparison comparison(host(), *document);
  if (host().RunModal(comparison) == DialogResult::Ok) {
    compareCaption = kCaptionCompareOnAfterRun;
    document->compareDuringCadzow = true;
  } else {
    compareCaption = kCaptionCompareOffAfterRun;
    document->compareDuringCadzow = false;
  }
  controls().SetText(kIdCompare, compareCaption);
}

void CDialogCadzow::OnOK() {
  if (!UpdateData(true)) return;
  SsaAnalysis& a = document->analysis;
  try {
    a.SetCadzowWindowLength(windowLength);
    a.SetCadzowIterations(iterations);
  } catch (const AbstractException& e) {
    host().MessageBox(e.message());
    return;
  }
  EndDialog(DialogResult::Ok);
}

}  // namespace vorel
