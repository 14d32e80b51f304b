#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/dialogs/DialogFace.h"
#include "app/dialogs/FaceDescription.h"
#include "document/dialogs/Dialog.h"

class QWidget;

namespace vorel {

// The face of the dialog logic `dialog` (chosen by dialog.className(), titled from the logic),
// parented to parent; nullptr when no face exists for that class.
std::unique_ptr<DialogFace> MakeFace(const Dialog& dialog, QWidget* parent);

// The description of a dialog class's face, nullptr when there is none.
const FaceDescription* FindFaceDescription(const std::string& className);

// Every described face, in the order of the program's menus.
const std::vector<FaceDescription>& AllFaceDescriptions();

}  // namespace vorel
