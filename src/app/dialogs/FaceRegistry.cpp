#include "app/dialogs/FaceRegistry.h"

#include "app/dialogs/FaceDescriptions.h"

namespace vorel {

const std::vector<FaceDescription>& AllFaceDescriptions() {
  static const std::vector<FaceDescription> all = {
      faces::FileChoice(),          faces::SetDelimiter(),      faces::MVCode(),
      faces::SetDelimiterSave(),    faces::SeriesSimulation(),  faces::EditSourceSeries(),
      faces::WarningNewSL(),        faces::CovarianceMatrix(),  faces::EVGrouping(),
      faces::Reconstruction(),      faces::ProjectionOptions(), faces::Cadzow(),
      faces::Comparison(),          faces::GraphOption(),
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
  if (description->beside != nullptr) description->beside(*face, dialog);
  return face;
}

}  // namespace vorel
