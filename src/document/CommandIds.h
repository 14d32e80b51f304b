#pragma once
// Identifiers of the menu and toolbar commands, with their menu texts.

#include <array>

namespace vorel {

enum CommandId : int {
  kCmdOpenData = 57601,
  kCmdSimulateSeries = 32832,
  kCmdEditSourceSeries = 32833,
  kCmdSaveSeries = 57604,
  kCmdSaveAllSettings = 32861,
  kCmdNextStep = 32811,
  kCmdPreviousStep = 32813,
  kCmdCovarianceMatrix = 32819,
  kCmdChoiceOfEigenvectors = 32787,
  kCmdReconstruction = 32818,
  kCmdCompare = 32845,
  kCmdCadzow = 32843,
  kCmdPageInitialSeries = 32782,
  kCmdPageSingularValues = 32834,
  kCmdPageEigenvectors = 32830,
  kCmdPageReconstructed = 32783,
  kCmdPageInitialAndReconstructed = 32784,
  kCmdPageResiduals = 32836,
  kCmdPageDeviations = 32829,
  kCmdGraphSettings = 32854,
  kCmdApplyGraphSettings = 32858,
  kCmdSaveImageBmp = 32859,
};

struct CommandInfo {
  CommandId id;
  const char* menuText;  // UTF-8
};

// The text of "Choice of eigenvectors" carries the Cyrillic letter U+0441
// (UTF-8 D1 81) in place of the Latin c of "eigenvectors".
inline constexpr const char* kChoiceOfEigenvectorsText = "Choice of eigenve\xD1\x81tors";

inline constexpr std::array<CommandInfo, 22> kCommands{{
    {kCmdOpenData, "&Open data..."},
    {kCmdSimulateSeries, "Simulate series"},
    {kCmdEditSourceSeries, "Edit source series"},
    {kCmdSaveSeries, "S&ave series..."},
    {kCmdSaveAllSettings, "Save all settings"},
    {kCmdNextStep, "Next step"},
    {kCmdPreviousStep, "Previous step"},
    {kCmdCovarianceMatrix, "Covariance matrix"},
    {kCmdChoiceOfEigenvectors, kChoiceOfEigenvectorsText},
    {kCmdReconstruction, "Reconstruction"},
    {kCmdCompare, "Compare reconstructed series with"},
    {kCmdCadzow, "Cadzow method"},
    {kCmdPageInitialSeries, "Initial time series"},
    {kCmdPageSingularValues, "Singular values"},
    {kCmdPageEigenvectors, "Eigenvectors"},
    {kCmdPageReconstructed, "Reconstructed series"},
    {kCmdPageInitialAndReconstructed, "Initial and Reconstructed series"},
    {kCmdPageResiduals, "Residuals"},
    {kCmdPageDeviations, "Deviations"},
    {kCmdGraphSettings, "Settings"},
    {kCmdApplyGraphSettings, "Apply this graph settings to other graphs"},
    {kCmdSaveImageBmp, "Save image to BMP"},
}};

}  // namespace vorel
