#include "document/dialogs/CDialogReconstruction.h"

#include "document/CVorelDoc.h"
#include "document/dialogs/CDialogProjectionOptions.h"
#include "engine/Exceptions.h"

namespace vorel {
namespace {

const char* YesNo(bool value) { return value ? "YES" : "NO"; }

}  // namespace

CDialogReconstruction::CDialogReconstruction(UiHost& host, CVorelDoc& doc)
    : Dialog(host, "Reconstruction"), document(&doc) {
  BindRadio(kIdPrincipalComponents, methodIndex);
  BindStatic(kIdApplicability, applicabilityText);
}

void CDialogReconstruction::OnActivate(bool) {
  applicabilityText =
      std::string("Applicability:") + (applicability.piProjector ? " YES\n" : " NO\n");
  UpdateData(false);
}

void CDialogReconstruction::OnButton(int id) {
  if (id == kIdMethodOptions) OnMethodOptions();
}

void CDialogReconstruction::OnMethodOptions() {
  UpdateData(true);
  CDialogProjectionOptions options(host());
  options.validChoice = validChoice;
  options.priority = document->analysis.missingEntriesPriority;
  const SeriesApplicability& s = applicability;
  options.cnvBothSides = YesNo(s.cnvBothSides);
  options.cnvLeft = YesNo(s.cnvLeft);
  options.cnvRight = YesNo(s.cnvRight);
  options.piProjector = YesNo(s.piProjector);
  options.simultaneous = YesNo(s.simultaneous);
  options.sequentialLeft = YesNo(s.sequentialLeft);
  options.sequentialRight = YesNo(s.sequentialRight);
  options.sequentialBothSides = YesNo(s.sequentialBothSides);
  options.validEntriesCovered = YesNo(s.validEntriesCovered);
  options.missingEntriesCovered = YesNo(s.missingEntriesCovered);
  if (host().RunModal(options) == DialogResult::Ok) {
    document->analysis.missingEntriesPriority = options.priority;
    validChoice = options.validChoice;
    methodIndex = 1;
    UpdateData(false);
  }
}

void CDialogReconstruction::OnOK() {
  UpdateData(true);
  if ((applicability.principalComponents || methodIndex == 1) && applicability.bothCovered) {
    reconstructionMethod = methodIndex == 1 ? kProjection : kPrincipalComponents;
    EndDialog(DialogResult::Ok);
    return;
  }
  host().MessageBox(ExceptionImposibleToCombine::kMessage);
}

}  // namespace vorel
