// Faces of the analysis steps: covariance matrix, choice of eigentriples,
// reconstruction and its projection options, Cadzow iterations and comparison.
#include <QFontDatabase>
#include <QListView>

#include "app/dialogs/DialogFace.h"
#include "app/dialogs/FaceDescriptions.h"
#include "document/dialogs/CDialogCadzow.h"
#include "document/dialogs/CDialogComparison.h"
#include "document/dialogs/CDialogCovarianceMatrix.h"
#include "document/dialogs/CDialogEVGrouping.h"
#include "document/dialogs/CDialogProjectionOptions.h"
#include "document/dialogs/CDialogReconstruction.h"

namespace vorel::faces {

FaceDescription CovarianceMatrix() {
  using D = CDialogCovarianceMatrix;
  const std::string method = "CM calculation method";
  return {"CDialogCovarianceMatrix",
          "Covariance matrix",
          {
              Edit(D::kIdWindowLength, "WINDOW LENGTH:\n(1< WL <Ser.Len.-1)").At(0, 0).Width(8),
              Group(method).At(1, 0, 1, 2),
              Radio(D::kIdSvd, "<<SVD>>").In(method).At(0, 0),
              Radio(D::kIdToeplitz, "<<Toeplitz>>").In(method).At(0, 1),
              Edit(D::kIdThreshold, "Threshold for number of missing components:").At(2, 0).Width(8),
              Button(D::kIdAdditionalInfo, "Additional information").At(3, 0),
              DefaultButton(kIdOk, "Ok").At(kButtonBar, 0),
              Button(kIdCancel, "Cancel").At(kButtonBar, 0),
          }};
}

namespace {

// The lines ("  3 (12.345 %)") carry numbers right-aligned in three characters:
// a fixed-pitch font keeps them in a column.
void FixedPitchEigentriples(DialogFace& face, const Dialog&) {
  for (int id : {CDialogEVGrouping::kIdNotUsed, CDialogEVGrouping::kIdUsed}) {
    if (QListView* list = face.listView(id)) {
      list->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    }
  }
}

}  // namespace

FaceDescription EVGrouping() {
  using D = CDialogEVGrouping;
  return {"CDialogEVGrouping",
          "Choice of eigenve\xD1\x81tors",
          {
              Label("Choose the leading eigenvectors. Take pairs of eigenvectors with close "
                    "percentage together.")
                  .At(0, 0, 1, 3)
                  .Height(2),
              ListExtended(D::kIdNotUsed, "Not used:").At(1, 0, 5, 1).Width(20).Height(14),
              Button(D::kIdMoveToUsed, ">>>").At(1, 1),
              Button(D::kIdMoveToNotUsed, "<<<").At(2, 1),
              Button(D::kIdAllUsed, "All >").At(3, 1),
              Button(D::kIdAllNotUsed, "All <").At(4, 1),
              ListExtended(D::kIdUsed, "Used:").At(1, 2, 5, 1).Width(20).Height(14),
              DefaultButton(kIdOk, "Ok").At(kButtonBar, 0),
              Button(kIdCancel, "Cancel").At(kButtonBar, 0),
          },
          FixedPitchEigentriples};
}

FaceDescription Reconstruction() {
  using D = CDialogReconstruction;
  const std::string method = "Reconstruction method";
  return {"CDialogReconstruction",
          "Reconstruction",
          {
              Group(method).At(0, 0),
              Radio(D::kIdPrincipalComponents, "<<Principal components>>").In(method).At(0, 0),
              Radio(D::kIdProjection, "<<Projection>>").In(method).At(1, 0),
              Static(D::kIdApplicability, "Applicability of PC").At(1, 0).Width(40).Height(2),
              Button(D::kIdMethodOptions, "Method options").At(2, 0),
              DefaultButton(kIdOk, "Ok").At(kButtonBar, 0),
              Button(kIdCancel, "Cancel").At(kButtonBar, 0),
          }};
}

// The static above the present-entries answers, which the logic never changes.
inline constexpr int kIdValidEntriesTitle = 1079;

FaceDescription ProjectionOptions() {
  using D = CDialogProjectionOptions;
  return {"CDialogProjectionOptions",
          "<<Projection>> method options",
          {
              Label("INFO ABOUT APPLICABILITY OF RECONSTRUCTION METHODS FOR ALL MISSING DATA "
                    "GROUPS:")
                  .At(0, 0, 1, 4),
              Static(kIdValidEntriesTitle, "Methods for valid components' entries:").At(1, 0),
              Static(D::kIdValidEntriesCovered).At(1, 1),
              Label("<<CNV-Both sides>>:").At(2, 0),
              Static(D::kIdCnvBothSides).At(2, 1),
              Label("<<CNV-Left>>:").At(3, 0),
              Static(D::kIdCnvLeft).At(3, 1),
              Label("<<CNV-Right>>:").At(4, 0),
              Static(D::kIdCnvRight).At(4, 1),
              Label("<<PI projector>>:").At(5, 0),
              Static(D::kIdPiProjector).At(5, 1),
              Label("Methods for missing components' entries:").At(1, 2),
              Static(D::kIdMissingEntriesCovered).At(1, 3),
              Label("<<Simultaneous>>:").At(2, 2),
              Static(D::kIdSimultaneous).At(2, 3),
              Label("<<Sequential-Left>>:").At(3, 2),
              Static(D::kIdSequentialLeft).At(3, 3),
              Label("<<Sequential-Right>>:").At(4, 2),
              Static(D::kIdSequentialRight).At(4, 3),
              Label("<<Sequential-Both sides>>:").At(5, 2),
              Static(D::kIdSequentialBothSides).At(5, 3),
              Label("PRIORITY OF METHODS' APPLICATION:").At(6, 0, 1, 4),
              Combo(D::kIdValidChoice, "For valid components' entries:").At(7, 0, 1, 3),
              List(D::kIdPriorityList, "For missing components' entries:").At(8, 0, 3, 3).Height(6),
              Button(D::kIdUp, "Up").At(8, 3),
              Button(D::kIdDown, "Down").At(9, 3),
              DefaultButton(kIdOk, "Ok").At(kButtonBar, 0),
              Button(kIdCancel, "Cancel").At(kButtonBar, 0),
          }};
}

FaceDescription Cadzow() {
  using D = CDialogCadzow;
  return {"CDialogCadzow",
          "Cadzow method",
          {
              Edit(D::kIdIterations, "Number of iterations:").At(0, 0).Width(8),
              Edit(D::kIdWindowLength, "Window length for iterations:").At(1, 0).Width(8),
              Button(D::kIdCompare, D::kCaptionCompareOff).At(2, 0, 1, 2),
              DefaultButton(kIdOk, "Ok").At(kButtonBar, 0),
              Button(kIdCancel, "Cancel").At(kButtonBar, 0),
          }};
}

FaceDescription Comparison() {
  using D = CDialogComparison;
  const std::string series = "Time series for comparison";
  // No OK of its own: the dialog ends with OK only when a button set a series,
  // so Enter has no default button to press.
  return {"CDialogComparison",
          "Comparison of reconstructed series ",
          {
              Group(series).At(0, 0),
              Button(D::kIdFromFile, "From file").In(series).At(0, 0),
              Button(D::kIdGenerate, "Generate").In(series).At(0, 1),
              Button(kIdCancel, "Cancel").At(kButtonBar, 0),
          }};
}

}  // namespace vorel::faces
