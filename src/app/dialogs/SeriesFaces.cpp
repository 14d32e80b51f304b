// Faces of the series tools: simulation, the source series editor and its
// warning before a series is shortened.
#include <QFontDatabase>
#include <QListView>

#include "app/dialogs/DialogFace.h"
#include "app/dialogs/FaceDescriptions.h"
#include "document/dialogs/CDialogEditSourceSeries.h"
#include "document/dialogs/CDialogSeriesSimulation.h"
#include "document/dialogs/CDialogWarningNewSL.h"

namespace vorel::faces {

FaceDescription SeriesSimulation() {
  using D = CDialogSeriesSimulation;
  const std::string constant = "Constant series";
  const std::string distribution = "Distribution";
  const std::string cosine = "EXP * COS";
  // The window title and the OK caption are the caller's: the logic sets them
  // (control 0 and IDOK) whenever the dialog is activated.
  return {"CDialogSeriesSimulation",
          "Series simulation",
          {
              List(D::kIdComponents, "Resultant series:").At(0, 0, 5, 2).Width(44).Height(10),
              Edit(D::kIdLength, "Series length:").At(5, 0).Width(8),
              Button(D::kIdDelete, "Delete selected series").At(6, 0, 1, 2),
              Group(constant).At(0, 2, 1, 2),
              Edit(D::kIdValue, "Value:").In(constant).At(0, 0).Width(10),
              Button(D::kIdAddConstant, "Add constant series").In(constant).At(1, 0, 1, 2),
              Group(distribution).At(1, 2, 1, 2),
              Radio(D::kIdUniform, "Uniform(0,S)").In(distribution).At(0, 0),
              Radio(D::kIdNormal, "N(0,S)").In(distribution).At(0, 1),
              Edit(D::kIdStandard, "Standard (S):").At(2, 2).Width(10),
              Button(D::kIdAddNoise, "Add noise").At(3, 2, 1, 2),
              Group(cosine).At(4, 2, 3, 2),
              Label("f(n) = A * exp (gamma * n) * cos (2 * Pi *alpha * n + 2 * Pi *phi)")
                  .In(cosine)
                  .At(0, 0, 1, 4),
              Edit(D::kIdA, "A:").In(cosine).At(1, 0).Width(10),
              Edit(D::kIdGamma, "gamma:").In(cosine).At(1, 2).Width(10),
              Edit(D::kIdAlpha, "alpha:").In(cosine).At(2, 0).Width(10),
              Edit(D::kIdPhi, "phi:").In(cosine).At(2, 2).Width(10),
              Button(D::kIdAddCosine, "Add exp*cos").In(cosine).At(3, 0, 1, 4),
              DefaultButton(kIdOk, "Ok").At(kButtonBar, 0),
              Button(kIdCancel, "Cancel").At(kButtonBar, 0),
          }};
}

namespace {

// The element lines ("(12) *  3.250") read best in a fixed-pitch font.
void FixedPitchElements(DialogFace& face, const Dialog&) {
  if (QListView* list = face.listView(CDialogEditSourceSeries::kIdElements)) {
    list->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  }
}

}  // namespace

FaceDescription EditSourceSeries() {
  using D = CDialogEditSourceSeries;
  return {"CDialogEditSourceSeries",
          "Edit source series",
          {
              ListExtended(D::kIdElements).At(0, 0, 8, 1).Width(26).Height(16),
              Edit(D::kIdNewValue, "New value:").At(0, 1).Width(12),
              Button(D::kIdSetValues, "Set new value(s)").At(1, 1, 1, 2),
              Button(D::kIdSetMissing, "Set missing value(s)").At(2, 1, 1, 2),
              Button(D::kIdRestore, "Restore value(s)").At(3, 1, 1, 2),
              Button(D::kIdRestoreAll, "Restore ALL values").At(4, 1, 1, 2),
              Edit(D::kIdNewLength, "New series length:").At(5, 1).Width(8),
              Button(D::kIdChangeLength, "Change series length").At(6, 1, 1, 2),
              DefaultButton(kIdOk, "Ok").At(kButtonBar, 0),
              Button(kIdCancel, "Cancel").At(kButtonBar, 0),
          },
          FixedPitchElements};
}

FaceDescription WarningNewSL() {
  using D = CDialogWarningNewSL;
  return {"CDialogWarningNewSL",
          "Attention!",
          {
              Static(D::kIdText, D::kText).At(0, 0).Width(48).Height(3),
              DefaultButton(kIdOk, D::kApplyCaption).At(kButtonBar, 0),
              Button(kIdCancel, D::kCancelCaption).At(kButtonBar, 0),
          }};
}

}  // namespace vorel::faces
