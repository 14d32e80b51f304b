// "Graphic options": the options of one graph.
#include "app/dialogs/FaceDescriptions.h"
#include "document/dialogs/CDialogGraphOption.h"

namespace vorel::faces {

FaceDescription GraphOption() {
  using D = CDialogGraphOption;
  const std::string x = "Axis X scale range";
  const std::string y = "Axis Y scale range";
  return {"CDialogGraphOption",
          "Graphic options",
          {
              Group(x).At(0, 0),
              Check(D::kIdAutoX, "Auto").In(x).At(0, 0, 1, 2),
              Edit(D::kIdXMinimum, "Minimum").In(x).At(1, 0).Width(10),
              Edit(D::kIdXMaximum, "Maximum").In(x).At(2, 0).Width(10),
              Group(y).At(0, 1),
              Check(D::kIdAutoY, "Auto").In(y).At(0, 0, 1, 2),
              Edit(D::kIdYMinimum, "Minimum").In(y).At(1, 0).Width(10),
              Edit(D::kIdYMaximum, "Maximum").In(y).At(2, 0).Width(10),
              Group("Font").At(1, 0),
              Edit(D::kIdFontHeight, "Height:").In("Font").At(0, 0).Width(5),
              Group("Scale").At(1, 1),
              Edit(D::kIdPrecision, "Precision:").In("Scale").At(0, 0).Width(5),
              Check(D::kIdShowPoints, "Show points").At(2, 0),
              Check(D::kIdShowMV, "Mark missing data places").At(3, 0),
              Check(D::kIdMonochrome, "Monochrome view").At(4, 0),
              Check(D::kIdShowLegends, "Show legends").At(2, 1),
              Check(D::kIdShowScale, "Show scale labels").At(3, 1),
              Check(D::kIdShowGrid, "Show grid").At(4, 1),
              DefaultButton(kIdOk, "Ok").At(kButtonBar, 0),
              Button(kIdCancel, "Cancel").At(kButtonBar, 0),
          }};
}

}  // namespace vorel::faces
