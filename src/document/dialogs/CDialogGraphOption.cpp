#include "document/dialogs/CDialogGraphOption.h"

namespace vorel {

CDialogGraphOption::CDialogGraphOption(UiHost& host, GraphOptions& options, int points)
    : Dialog(host, "Graphic options"),
      target(&options),
      pointCount(points),
      AutoX(options.AutoX),
      XLeftBound(options.XLeftBound),
      XRightBound(options.XRightBound),
      AutoY(options.AutoY),
      YLowerBound(options.YLowerBound),
      YUpperBound(options.YUpperBound),
      FontHeight(options.FontHeight),
      Precision(options.Precision),
      ShowPoints(options.ShowPoints),
      ShowMV(options.ShowMV),
      Monochrome(options.Monochrome),
      ShowLegends(options.ShowLegends),
      ShowScale(options.ShowScale),
      ShowGrid(options.ShowGrid) {
  BindCheck(kIdAutoX, AutoX);
  BindInteger(kIdXMinimum, XLeftBound);
  BindInteger(kIdXMaximum, XRightBound);
  BindCheck(kIdAutoY, AutoY);
  BindReal(kIdYMinimum, YLowerBound);
  BindReal(kIdYMaximum, YUpperBound);
  BindInteger(kIdFontHeight, FontHeight);
  BindInteger(kIdPrecision, Precision);
  BindCheck(kIdShowPoints, ShowPoints);
  BindCheck(kIdShowMV, ShowMV);
  BindCheck(kIdMonochrome, Monochrome);
  BindCheck(kIdShowLegends, ShowLegends);
  BindCheck(kIdShowScale, ShowScale);
  BindCheck(kIdShowGrid, ShowGrid);
}

void CDialogGraphOption::OnActivate(bool active) {
  if (!active || !attached()) return;
  // The boxes as they stand now, so that a reactivation never disagrees with them.
  ShowReadOnlyEdits();
}

void CDialogGraphOption::OnButton(int id) {
  if (id == kIdAutoX || id == kIdAutoY) ShowReadOnlyEdits();
}

void CDialogGraphOption::ShowReadOnlyEdits() {
  const bool xReadOnly = controls().State(kIdAutoX) == 1;
  const bool yReadOnly = controls().State(kIdAutoY) == 1;
  controls().SetReadOnly(kIdXMinimum, xReadOnly);
  controls().SetReadOnly(kIdXMaximum, xReadOnly);
  controls().SetReadOnly(kIdYMinimum, yReadOnly);
  controls().SetReadOnly(kIdYMaximum, yReadOnly);
}

const char* CDialogGraphOption::FirstFailedCheck() const {
  // Equal X bounds pass: the graph then shows the whole series.
  if (!AutoX && (XLeftBound < 1 || XRightBound > pointCount || XRightBound < XLeftBound)) {
    return kMessageWrongXRange;
  }
  if (!AutoY && YUpperBound <= YLowerBound) return kMessageWrongYRange;
  if (FontHeight < 0) return kMessageNegativeFont;
  if (FontHeight < 7 || FontHeight > 39) return kMessageFontRange;
  if (Precision < 1 || Precision > 9) return kMessagePrecisionRange;
  return nullptr;
}

void CDialogGraphOption::OnOK() {
  if (!UpdateData(true)) return;
  if (const char* message = FirstFailedCheck()) {
    host().MessageBox(message);
    return;
  }
  GraphOptions& o = *target;
  o.AutoX = AutoX;
  o.AutoY = AutoY;
  o.ShowPoints = ShowPoints;
  o.ShowMV = ShowMV;
  o.Monochrome = Monochrome;
  o.ShowLegends = ShowLegends;
  o.ShowScale = ShowScale;
  o.ShowGrid = ShowGrid;
  if (!AutoX) {
    o.XLeftBound = XLeftBound;
    o.XRightBound = XRightBound;
  }
  if (!AutoY) {
    o.YLowerBound = YLowerBound;
    o.YUpperBound = YUpperBound;
  }
  o.SetFontHeight(FontHeight);
  o.Precision = Precision;
  EndDialog(DialogResult::Ok);
}

bool EditGraphOptions(UiHost& host, GraphOptions& options, int pointCount) {
  CDialogGraphOption dialog(host, options, pointCount);
  if (host.RunModal(dialog) != DialogResult::Ok) return false;
  host.RedrawAllViews();
  return true;
}

}  // namespace vorel
