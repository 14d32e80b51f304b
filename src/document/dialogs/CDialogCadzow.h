#pragma once

#include <string>

#include "document/dialogs/Dialog.h"

namespace vorel {

class CVorelDoc;

// "Cadzow method": the number of iterations and their window length, and the
// button that switches the comparison during the iterations on and off.
class CDialogCadzow : public Dialog {
 public:
  static constexpr int kIdIterations = 1039;
  static constexpr int kIdWindowLength = 1041;
  static constexpr int kIdCompare = 1081;

  static constexpr const char* kCaptionCompareOff =
      "Compare iterations with a given time series   OFF";
  static constexpr const char* kCaptionCompareOnAfterRun =
      "Compare iterations with a given time series  ON";
  static constexpr const char* kCaptionCompareOffAfterRun =
      "Compare iterations with a given time series  OFF";

  CDialogCadzow(UiHost& host, CVorelDoc& document);
  const char* className() const override { return "CDialogCadzow"; }

  CVorelDoc* document;
  int iterations = 10;
  int windowLength = 10;
  std::string compareCaption = kCaptionCompareOff;

  // The compare button: runs the comparison dialog; on OK the comparison is
  // taken after every iteration.
  void OnCompareButton();

 protected:
  // Sets the Cadzow window length, then the iteration count; a refused value
  // is reported and the dialog stays open (a length accepted before stays set).
  void OnOK() override;
  void OnButton(int id) override;
};

}  // namespace vorel
