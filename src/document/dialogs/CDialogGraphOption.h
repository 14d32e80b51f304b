#pragma once

#include "document/GraphOptions.h"
#include "document/dialogs/Dialog.h"

namespace vorel {

// "Graphic options": edits a copy of one graph's options. The X bounds are
// limited by the point count of the graph's last drawing. An accepted OK
// writes the options back into the target; Cancel leaves it untouched.
class CDialogGraphOption : public Dialog {
 public:
  static constexpr int kIdAutoX = 1126;
  static constexpr int kIdXMinimum = 1120;
  static constexpr int kIdXMaximum = 1125;
  static constexpr int kIdAutoY = 1127;
  static constexpr int kIdYMinimum = 1128;
  static constexpr int kIdYMaximum = 1129;
  static constexpr int kIdFontHeight = 1135;
  static constexpr int kIdPrecision = 1148;
  static constexpr int kIdShowPoints = 1087;
  static constexpr int kIdShowMV = 1107;
  static constexpr int kIdMonochrome = 1110;
  static constexpr int kIdShowLegends = 1131;
  static constexpr int kIdShowScale = 1046;
  static constexpr int kIdShowGrid = 1130;

  static constexpr const char* kMessageWrongXRange = "Attention!\nWrong axis X range is entered.";
  static constexpr const char* kMessageWrongYRange =
      "Attention!\nAxis Y maximum can't be less or equal to axis Y minimum .";
  static constexpr const char* kMessageNegativeFont =
      "Attention!\nNegative font height value is entered.";
  static constexpr const char* kMessageFontRange =
      "Attention!\nFont height value must be more than 6 and less than 40.";
  static constexpr const char* kMessagePrecisionRange =
      "Attention!\nScale precision must be more than 0 and less than 10.";

  // Fills the members from target; pointCount is the length of the graph's
  // first curve at its last drawing.
  CDialogGraphOption(UiHost& host, GraphOptions& target, int pointCount);
  const char* className() const override { return "CDialogGraphOption"; }

  GraphOptions* target;
  int pointCount;

  bool AutoX;
  int XLeftBound;
  int XRightBound;
  bool AutoY;
  double YLowerBound;
  double YUpperBound;
  int FontHeight;
  int Precision;
  bool ShowPoints;
  bool ShowMV;
  bool Monochrome;
  bool ShowLegends;
  bool ShowScale;
  bool ShowGrid;

  void OnActivate(bool active) override;

  // The message of the first check the members fail (in the dialog's order),
  // or nullptr when they pass all.
  const char* FirstFailedCheck() const;

 protected:
  void OnOK() override;
  void OnButton(int id) override;

 private:
  // The X edits (1120, 1125) and the Y edits (1128, 1129) are read-only while
  // their "Auto" box is ticked.
  void ShowReadOnlyEdits();
};

// "Settings" (and a double click on the view): runs the dialog on a page's
// options; when it ends with OK the options hold the new values and the views
// are redrawn. Returns whether the dialog ended with OK.
bool EditGraphOptions(UiHost& host, GraphOptions& options, int pointCount);

}  // namespace vorel
