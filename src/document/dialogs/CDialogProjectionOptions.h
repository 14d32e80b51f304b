#pragma once

#include <array>
#include <string>

#include "document/dialogs/Dialog.h"

namespace vorel {

// "<<Projection>> method options": whether each projection method applies to
// every missing-data group (YES/NO statics), the method tried first for the
// present entries, and the priority order of the methods for the missing
// entries (Up/Down).
class CDialogProjectionOptions : public Dialog {
 public:
  static constexpr int kIdValidChoice = 1078;   // drop-down list
  static constexpr int kIdPriorityList = 1085;  // list box
  static constexpr int kIdUp = 1086;
  static constexpr int kIdDown = 1061;
  static constexpr int kIdCnvBothSides = 1091;
  static constexpr int kIdCnvLeft = 1092;
  static constexpr int kIdCnvRight = 1093;
  static constexpr int kIdPiProjector = 1094;
  static constexpr int kIdSimultaneous = 1095;
  static constexpr int kIdSequentialLeft = 1096;
  static constexpr int kIdSequentialRight = 1097;
  static constexpr int kIdSequentialBothSides = 1098;
  static constexpr int kIdMissingEntriesCovered = 1099;
  static constexpr int kIdValidEntriesCovered = 1101;

  static constexpr const char* kMessageImpossible =
      "Attention!\nIt's imposible to apply  method <<Projection>>";

  explicit CDialogProjectionOptions(UiHost& host);
  const char* className() const override { return "CDialogProjectionOptions"; }

  // The name of a missing-entries method code (12..16).
  static std::string MethodName(int code);
  // The lines of the priority list: "%d) " and the method name, i = 1..5.
  std::array<std::string, 5> PriorityLines() const;

  int validChoice = 0;  // 0 CNV, 1 PI projector
  int selectedRow = 0;
  std::array<int, 5> priority{12, 13, 14, 15, 16};
  // "YES" or "NO" for the value statics.
  std::string cnvBothSides, cnvLeft, cnvRight, piProjector;
  std::string simultaneous, sequentialLeft, sequentialRight, sequentialBothSides;
  std::string validEntriesCovered, missingEntriesCovered;

  void OnInitDialog() override;
  void OnActivate(bool active) override;

 protected:
  void OnOK() override;
  void OnButton(int id) override;

 private:
  void FillList();
};

}  // namespace vorel
