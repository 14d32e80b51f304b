#pragma once

#include "document/dialogs/Dialog.h"

namespace vorel {

class CVorelDoc;

// "Covariance matrix": window length, covariance method and threshold. OK runs
// the analysis up to the eigen-decomposition; "Additional information"
// computes the threshold curves for the entered window length.
class CDialogCovarianceMatrix : public Dialog {
 public:
  static constexpr int kIdWindowLength = 1012;
  static constexpr int kIdSvd = 1008;  // first button of the method group
  static constexpr int kIdToeplitz = 1073;
  static constexpr int kIdThreshold = 1088;
  static constexpr int kIdAdditionalInfo = 1089;

  CDialogCovarianceMatrix(UiHost& host, CVorelDoc& document);
  const char* className() const override { return "CDialogCovarianceMatrix"; }

  CVorelDoc* document;
  int windowLength = 0;
  int methodIndex = 0;  // 0 "<<SVD>>", 1 "<<Toeplitz>>"
  int threshold = 0;

 protected:
  void OnOK() override;
  void OnButton(int id) override;

 private:
  void OnAdditionalInfo();
};

}  // namespace vorel
