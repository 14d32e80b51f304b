#pragma once

#include <string>

#include "document/dialogs/Dialog.h"
#include "engine/MethodApplicability.h"

namespace vorel {

class CVorelDoc;

// "Reconstruction": "<<Principal components>>" or "<<Projection>>", with the
// applicability of the principal components shown and a refusal of a choice
// that cannot be applied. "Method options" opens CDialogProjectionOptions.
class CDialogReconstruction : public Dialog {
 public:
  static constexpr int kIdPrincipalComponents = 1009;  // first button of the method group
  static constexpr int kIdProjection = 1010;
  static constexpr int kIdApplicability = 1082;
  static constexpr int kIdMethodOptions = 1084;

  CDialogReconstruction(UiHost& host, CVorelDoc& document);
  const char* className() const override { return "CDialogReconstruction"; }

  CVorelDoc* document;
  int methodIndex = 0;  // 0 principal components, 1 projection
  SeriesApplicability applicability;
  int validChoice = 0;  // 0 CNV, 1 PI projector
  std::string applicabilityText = "Applicability of PC";
  // The accepted method, set by an accepted OK.
  int reconstructionMethod = 0;

  void OnActivate(bool active) override;

 protected:
  void OnOK() override;
  void OnButton(int id) override;

 private:
  void OnMethodOptions();
};

}  // namespace vorel
