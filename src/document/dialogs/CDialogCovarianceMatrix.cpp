#include "document/dialogs/CDialogCovarianceMatrix.h"

#include "document/CVorelDoc.h"
#include "engine/AbstractException.h"
#include "engine/SsaPipeline.h"

namespace vorel {

CDialogCovarianceMatrix::CDialogCovarianceMatrix(UiHost& host, CVorelDoc& doc)
    : Dialog(host, "Covariance matrix"), document(&doc) {
  BindInteger(kIdWindowLength, windowLength);
  BindRadio(kIdSvd, methodIndex);
  BindInteger(kIdThreshold, threshold);
}

void CDialogCovarianceMatrix::OnOK() {
  // A field that does not parse has shown its message: the dialog stays open
  // with what was typed, and nothing is computed from values the user did not
  // enter.
  if (!UpdateData(true)) return;
  SsaPipeline pipeline(document->analysis);
  pipeline.windowLength(windowLength)
      .threshold(threshold)
      .covarianceMethod(methodIndex == 1 ? kCovarianceToeplitz : kCovarianceSvd);
  // The checks come first; the covariance and its decomposition can then fail
  // only on values that are not finite. Either way the dialog stays open
  // instead of moving on without a decomposition.
  try {
    host().RunLongWork([&pipeline] { pipeline.setUp().computeCovariance(); });
  } catch (const AbstractException& e) {
    host().MessageBox(e.message());
    return;
  }
  EndDialog(DialogResult::Ok);
}

void CDialogCovarianceMatrix::OnButton(int id) {
  if (id == kIdAdditionalInfo) OnAdditionalInfo();
}

void CDialogCovarianceMatrix::OnAdditionalInfo() {
  if (!UpdateData(true)) return;
  SsaAnalysis& a = document->analysis;
  const int previous = a.windowLength();
  try {
    a.SetWindowLength(windowLength);
  } catch (const AbstractException& e) {
    host().MessageBox(e.message());
    return;
  }
  document->addInfoRequested = true;
  document->addInfoWindowLength = windowLength;
  host().RunLongWork([&a] {
    a.BuildTrajectory();
    a.ComputeThresholdCurves();
  });
  document->currentPage = PageAdditionalInfo;
  // The previous length may no longer fit the series (an edit that shortened
  // it could not set a new one); the entered length then stays.
  try {
    a.SetWindowLength(previous);
  } catch (const AbstractException&) {
  }
  a.BuildTrajectory();
  EndDialog(DialogResult::Ok);
  host().RedrawAllViews();
}

}  // namespace vorel
