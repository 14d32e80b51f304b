#include "app/dialogs/FaceRegistry.h"

#include "app/dialogs/FaceDescriptions.h"

namespace vorel {

const std::vector<FaceDescription>& AllFaceDescriptions() {
  static const std::vector<FaceDescription> all = {
      faces::GraphOption(),
  };
  return all;
}

const FaceDescription* FindFaceDescription(const std::string& className) {
  for (const FaceDescription& d : AllFaceDescriptions()) {
    if (d.className == className) return &d;
  }
  return nullptr;
}

std::unique_ptr<DialogFace> MakeFace(const Dialog& dialog, QWidget* parent) {
  const FaceDescription* description = FindFaceDescription(dialog.className());
  if (description == nullptr) return nullptr;
  auto face = std::make_unique<DialogFace>(*description, parent);
  face->setWindowTitle(QString::fromStdString(dialog.caption()));
  return face;
}

}  // namespace vorel
