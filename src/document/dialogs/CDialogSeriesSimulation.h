#pragma once

#include <string>

#include "document/dialogs/Dialog.h"
#include "engine/SimulationComponent.h"

namespace vorel {

// "Series simulation": a list of components (constants, noise, exp*cos) and a
// series length. The caller sets the window caption, the OK caption, the
// length and fills the list with copies; after the dialog it reads the list
// and the length. The same dialog builds generated comparison series.
class CDialogSeriesSimulation : public Dialog {
 public:
  static constexpr int kIdCaption = 0;  // the window's title
  static constexpr int kIdComponents = 1055;
  static constexpr int kIdLength = 1056;
  static constexpr int kIdDelete = 1067;
  static constexpr int kIdValue = 1050;
  static constexpr int kIdAddConstant = 1047;
  static constexpr int kIdUniform = 1069;  // first button of the distribution group
  static constexpr int kIdNormal = 1070;
  static constexpr int kIdStandard = 1051;
  static constexpr int kIdAddNoise = 1048;
  static constexpr int kIdA = 1068;
  static constexpr int kIdGamma = 1052;
  static constexpr int kIdAlpha = 1053;
  static constexpr int kIdPhi = 1054;
  static constexpr int kIdAddCosine = 1049;

  // Longest caption kept; the rest is cut.
  static constexpr std::size_t kMaxCaptionLength = 59;

  explicit CDialogSeriesSimulation(UiHost& host);
  const char* className() const override { return "CDialogSeriesSimulation"; }

  // Both captions are cut at kMaxCaptionLength characters.
  void SetCaptions(const std::string& window, const std::string& ok);
  const std::string& windowCaption() const { return windowCaption_; }
  const std::string& okCaption() const { return okCaption_; }

  ComponentList components;
  int selectedIndex = 0;
  int seriesLength = 0;
  double constValue = 0.0;
  int distribution = 1;  // 0 Uniform(0,S), 1 N(0,S)
  double S = 1.0;
  double A = 1.0;
  double gamma = 0.0;
  double alpha = 0.0;
  double phi = 0.0;

  void OnActivate(bool active) override;

 protected:
  void OnButton(int id) override;

 private:
  void FillList();
  std::string windowCaption_ = "Series simulation";
  std::string okCaption_ = "OK";
};

}  // namespace vorel
