#include "document/dialogs/CDialogSeriesSimulation.h"

#include <memory>

namespace vorel {

CDialogSeriesSimulation::CDialogSeriesSimulation(UiHost& host) : Dialog(host, "Series simulation") {
  BindListIndex(kIdComponents, selectedIndex);
  BindInteger(kIdLength, seriesLength);
  BindReal(kIdValue, constValue);
  BindRadio(kIdUniform, distribution);
  BindReal(kIdStandard, S);
  BindReal(kIdA, A);
  BindReal(kIdGamma, gamma);
  BindReal(kIdAlpha, alpha);
  BindReal(kIdPhi, phi);
}

void CDialogSeriesSimulation::SetCaptions(const std::string& window, const std::string& ok) {
  windowCaption_ = window.substr(0, kMaxCaptionLength);
  okCaption_ = ok.substr(0, kMaxCaptionLength);
}

void CDialogSeriesSimulation::FillList() {
  std::vector<std::string> lines;
  lines.reserve(components.size());
  for (const auto& c : components) lines.push_back(c->text());
  controls().SetLines(kIdComponents, lines);
}

void CDialogSeriesSimulation::OnActivate(bool active) {
  if (!active) return;
  FillList();
  controls().SetText(kIdCaption, windowCaption_);
  controls().SetText(kIdOk, okCaption_);
}

void CDialogSeriesSimulation::OnButton(int id) {
  switch (id) {
    case kIdAddConstant:
      if (UpdateData(true)) components.push_back(std::make_unique<ConstComponent>(constValue));
      break;
    case kIdAddNoise:
      if (UpdateData(true)) {
        if (distribution == 1) {
          components.push_back(std::make_unique<GaussianNoiseComponent>(S));
        } else {
          components.push_back(std::make_unique<UniformNoiseComponent>(S));
        }
      }
      break;
    case kIdAddCosine:
      if (UpdateData(true)) {
        components.push_back(std::make_unique<CosineComponent>(A, gamma, alpha, phi));
      }
      break;
    case kIdDelete: {
      // The selection is read first, so a field that does not parse does not
      // keep the entry from being deleted.
      UpdateData(true);
      ComponentList kept;
      for (std::size_t i = 0; i < components.size(); ++i) {
        if (static_cast<int>(i) == selectedIndex) continue;
        if (SimulationComponent::IsKnownKind(components[i]->kind())) {
          kept.push_back(components[i]->Clone());
        }
      }
      components = std::move(kept);
      break;
    }
    default:
      return;
  }
  FillList();
}

}  // namespace vorel
