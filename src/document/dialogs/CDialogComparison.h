#pragma once

#include "document/dialogs/Dialog.h"

namespace vorel {

class CVorelDoc;

// "Comparison of reconstructed series ": the reference series comes from a
// data file ("From file") or is generated from simulation components
// ("Generate"). It has no OK button: it ends with OK only from those two
// handlers, once the document's comparisonSeries has been set.
class CDialogComparison : public Dialog {
 public:
  static constexpr int kIdFromFile = 1060;
  static constexpr int kIdGenerate = 1061;

  static constexpr const char* kMessageLengthsDiffer =
      "Error! The lengths of compared series should coincide. \nLoad another series, please.";

  CDialogComparison(UiHost& host, CVorelDoc& document);
  const char* className() const override { return "CDialogComparison"; }

  CVorelDoc* document;

  // "From file": a column of a data file with as many rows as the series.
  void OnFromFile();
  // "Generate": the constant and cosine components of a simulation list.
  void OnGenerate();

 protected:
  // There is no OK button: an OK command (the Enter key) ends nothing.
  void OnOK() override {}
  void OnButton(int id) override;
};

}  // namespace vorel
