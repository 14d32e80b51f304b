// Faces of the data-file dialogs: the file choice, its reading options and
// missing-value code, and the writing options of an exported series.
#include <QCheckBox>

#include "app/dialogs/DialogFace.h"
#include "app/dialogs/FaceDescriptions.h"
#include "document/dialogs/CDialogFileChoice.h"
#include "document/dialogs/CDialogMVCode.h"
#include "document/dialogs/CDialogSetDelimiter.h"
#include "document/dialogs/CDialogSetDelimiterSave.h"

namespace vorel::faces {

FaceDescription FileChoice() {
  using D = CDialogFileChoice;
  return {"CDialogFileChoice",
          "Load data from file",
          {
              Button(D::kIdOpenFile, "Open file").At(0, 0),
              Button(D::kIdDelimiters, "Delimiters and decimal separator").At(0, 1),
              Button(D::kIdChangeMvCode, "Change MV code").At(0, 2),
              ReadOnlyEdit(D::kIdFullPath, "Full filename:").At(1, 0, 1, 3).Width(50),
              ReadOnlyEdit(D::kIdShortName, "Short filename:").At(2, 0, 1, 3),
              Label("MV code:").At(3, 0),
              Static(D::kIdMvCode).At(3, 1, 1, 3),
              Label("These series (columns) are found in the current file:").At(4, 0, 1, 4),
              List(D::kIdNames, "Series names:").At(5, 0, 1, 2).Width(24).Height(12),
              List(D::kIdContents, "Series contents:").At(5, 2, 1, 2).Width(24).Height(12),
              DefaultButton(kIdOk, "Ok").At(kButtonBar, 0),
              Button(kIdCancel, "Cancel").At(kButtonBar, 0),
          }};
}

namespace {

// While the decimal separator is Comma the logic has the "Comma" delimiter box
// drawn pushed (the reader then ignores it); the box keeps its checked state.
void ShowCommaBoxPushed(DialogFace& face, const Dialog& dialog) {
  const auto* logic = dynamic_cast<const CDialogSetDelimiter*>(&dialog);
  auto* box = qobject_cast<QCheckBox*>(face.control(CDialogSetDelimiter::kIdCommaDelimiter));
  if (logic == nullptr || box == nullptr) return;
  face.setAfterHandlers([logic, box] { box->setDown(logic->commaBoxPushed); });
}

}  // namespace

FaceDescription SetDelimiter() {
  using D = CDialogSetDelimiter;
  const std::string decimal = "Decimal separator";
  const std::string delimiters = "Delimiters";
  return {"CDialogSetDelimiter",
          "Delimiters & dec. separator",
          {
              Group(decimal).At(0, 0),
              Radio(D::kIdPoint, "Point ' . '").In(decimal).At(0, 0),
              Radio(D::kIdComma, "Comma ' , '").In(decimal).At(1, 0),
              Group(delimiters).At(0, 1),
              Check(D::kIdSpace, "Space").In(delimiters).At(0, 0),
              Check(D::kIdTab, "<Tab>").In(delimiters).At(1, 0),
              Check(D::kIdSemicolon, "Semicolon").In(delimiters).At(2, 0),
              Check(D::kIdCommaDelimiter, "Comma").In(delimiters).At(3, 0),
              DefaultButton(kIdOk, D::kOkCaption).At(kButtonBar, 0),
              Button(kIdCancel, "Cancel").At(kButtonBar, 0),
          },
          ShowCommaBoxPushed};
}

FaceDescription MVCode() {
  return {"CDialogMVCode",
          "Missing Value code",
          {
              Edit(CDialogMVCode::kIdCode, "Symbols for missing value:").At(0, 0).Width(16),
              DefaultButton(kIdOk, "Ok").At(kButtonBar, 0),
              Button(kIdCancel, "Cancel").At(kButtonBar, 0),
          }};
}

FaceDescription SetDelimiterSave() {
  using D = CDialogSetDelimiterSave;
  const std::string decimal = "Decimal separator";
  const std::string delimiter = "Delimiter";
  return {"CDialogSetDelimiterSave",
          "Delimiter & dec. separator",
          {
              Group(decimal).At(0, 0),
              Radio(D::kIdPoint, "Point ' . '").In(decimal).At(0, 0),
              Radio(D::kIdComma, "Comma ' , '").In(decimal).At(1, 0),
              Group(delimiter).At(0, 1),
              Radio(D::kIdSpace, "Space").In(delimiter).At(0, 0),
              Radio(D::kIdTab, "<Tab>").In(delimiter).At(1, 0),
              DefaultButton(kIdOk, "Ok").At(kButtonBar, 0),
              Button(kIdCancel, "Cancel").At(kButtonBar, 0),
          }};
}

}  // namespace vorel::faces
