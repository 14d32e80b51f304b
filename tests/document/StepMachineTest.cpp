// The document's steps, pages and command enabling, driven as a user would.

#include <set>

#include "DocumentFixture.h"
#include "document/CommandIds.h"
#include "engine/Exceptions.h"

namespace vorel::test {
namespace {

constexpr const char* kNoWindowLength =
    "Attention!\nThere is no convenient window length for the source series. The series must "
    "have length more than 2 and number of valid components more than 2.";

TEST(CommandTable, IdsAndMenuTexts) {
  const std::vector<std::pair<int, std::string>> expected{
      {57601, "&Open data..."},
      {32832, "Simulate series"},
      {32833, "Edit source series"},
      {57604, "S&ave series..."},
      {32861, "Save all settings"},
      {32811, "Next step"},
      {32813, "Previous step"},
      {32819, "Covariance matrix"},
      {32787, "Choice of eigenve\xD1\x81tors"},
      {32818, "Reconstruction"},
      {32845, "Compare reconstructed series with"},
      {32843, "Cadzow method"},
      {32782, "Initial time series"},
      {32834, "Singular values"},
      {32830, "Eigenvectors"},
      {32783, "Reconstructed series"},
      {32784, "Initial and Reconstructed series"},
      {32836, "Residuals"},
      {32829, "Deviations"},
      {32854, "Settings"},
      {32858, "Apply this graph settings to other graphs"},
      {32859, "Save image to BMP"},
  };
  ASSERT_EQ(kCommands.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(kCommands[i].id, expected[i].first);
    EXPECT_EQ(kCommands[i].menuText, expected[i].second);
  }
  // The letter after "eigenve" is U+0441, not the Latin c.
  const std::string choice = kChoiceOfEigenvectorsText;
  EXPECT_EQ(choice.find("eigenvectors"), std::string::npos);
  EXPECT_EQ(choice.substr(17, 2), "\xD1\x81");
}

TEST_F(DocumentTest, ConstructionDefaults) {
  EXPECT_EQ(doc->mvCode, "nan");
  EXPECT_EQ(doc->registryProductName, "Vorel");
  EXPECT_TRUE(doc->seriesName.empty() && doc->dataFilePath.empty() && doc->dataFileName.empty());
  EXPECT_TRUE(doc->compareFilePath.empty() && doc->compareFileName.empty());
  ExpectSteps(30, 20, 20);
  EXPECT_EQ(doc->firstEigenvector, 1);
  EXPECT_EQ(doc->inputDecimal, 50);
  EXPECT_TRUE(doc->delimComma);
  EXPECT_TRUE(doc->delimSpace);
  EXPECT_FALSE(doc->delimSemicolon);
  EXPECT_TRUE(doc->delimTab);
  EXPECT_EQ(doc->compareFormat, (InputFormat{50, true, false, true, true}));
  EXPECT_EQ(doc->outputDecimal, 50);
  EXPECT_EQ(doc->outputDelimiter, 41);
  EXPECT_EQ(doc->addInfoWindowLength, 10);
  EXPECT_TRUE(doc->seriesFromFile);
  EXPECT_TRUE(doc->examplesPathPending);
  EXPECT_FALSE(doc->addInfoRequested);
  EXPECT_EQ(doc->loadedSeries.length(), 1);
  EXPECT_EQ(doc->editFlags.length(), 1);
  EXPECT_EQ(doc->DataTable.rows(), 10);
  EXPECT_EQ(doc->DataTable.cols(), 10);
  EXPECT_FALSE(doc->cadzowResult || doc->comparisonFromFile || doc->compareDuringCadzow);
  EXPECT_EQ(doc->comparisonSeries.length(), 1);
}

// Every command, enabled or not, in each state of the analysis.
TEST_F(DocumentTest, StateTableAndEnablingAfterEachEvent) {
  const std::set<int> base{kCmdOpenData, kCmdSimulateSeries, kCmdSaveAllSettings};
  auto with = [](std::set<int> s, std::initializer_list<int> more) {
    s.insert(more);
    return s;
  };
  const std::set<int> loaded =
      with(base, {kCmdEditSourceSeries, kCmdNextStep, kCmdPageInitialSeries, kCmdGraphSettings,
                  kCmdApplyGraphSettings, kCmdSaveImageBmp});
  const std::set<int> decomposed =
      with(loaded, {kCmdPreviousStep, kCmdCovarianceMatrix, kCmdChoiceOfEigenvectors,
                    kCmdPageSingularValues, kCmdPageEigenvectors});
  const std::set<int> chosen = with(decomposed, {kCmdReconstruction});
  const std::set<int> reconstructed =
      with(chosen, {kCmdSaveSeries, kCmdCompare, kCmdCadzow, kCmdPageReconstructed,
                    kCmdPageInitialAndReconstructed, kCmdPageResiduals});
  const std::set<int> compared = with(reconstructed, {kCmdPageDeviations});

  struct Row {
    const char* event;
    std::function<void()> run;
    int nextStep, currentPage, highestPage;
    std::set<int> enabled;
  };
  const std::string path = WriteSeries("sine.txt", SineCells(40, {15}));
  const std::vector<Row> rows{
      {"construction", [] {}, 30, 20, 20, base},
      {"Next without a series", [&] { doc->ExecuteCommand(kCmdNextStep); }, 30, 20, 20, base},
      {"open data", [&] { OpenData(path); }, 31, 22, 22, loaded},
      {"additional information",
       [&] {
         host.Expect("CDialogCovarianceMatrix")
             .Type(CDialogCovarianceMatrix::kIdWindowLength, "6")
             .Press(CDialogCovarianceMatrix::kIdAdditionalInfo);
         doc->ExecuteCommand(kCmdNextStep);
       },
       31, 21, 22, loaded},
      {"Next from the curves", [&] { doc->ExecuteCommand(kCmdNextStep); }, 31, 22, 22, loaded},
      {"covariance OK",
       [&] {
         ExpectCovariance(12);
         doc->ExecuteCommand(kCmdNextStep);
       },
       32, 23, 24, decomposed},
      {"Next to the eigenvectors", [&] { doc->ExecuteCommand(kCmdNextStep); }, 32, 24, 24,
       decomposed},
      {"choice OK",
       [&] {
         ExpectChoice({0, 1});
         doc->ExecuteCommand(kCmdNextStep);
       },
       33, 24, 24, chosen},
      {"reconstruction OK",
       [&] {
         ExpectReconstruction(0);
         doc->ExecuteCommand(kCmdNextStep);
       },
       34, 26, 26, reconstructed},
      {"Previous", [&] { doc->ExecuteCommand(kCmdPreviousStep); }, 34, 25, 26, reconstructed},
      {"Next back", [&] { doc->ExecuteCommand(kCmdNextStep); }, 34, 26, 26, reconstructed},
      {"step 34", [&] { doc->ExecuteCommand(kCmdNextStep); }, 35, 27, 27, reconstructed},
      {"step 35", [&] { doc->ExecuteCommand(kCmdNextStep); }, 36, 28, 28, compared},
      {"step 36", [&] { doc->ExecuteCommand(kCmdNextStep); }, 35, 26, 27, reconstructed},
      {"choice from the menu",
       [&] {
         host.Expect("CDialogEVGrouping").Ok();
         doc->ExecuteCommand(kCmdChoiceOfEigenvectors);
       },
       33, 24, 24, chosen},
      {"covariance from the menu",
       [&] {
         ExpectCovariance(10);
         doc->ExecuteCommand(kCmdCovarianceMatrix);
       },
       32, 23, 24, decomposed},
      {"page Initial time series", [&] { doc->ExecuteCommand(kCmdPageInitialSeries); }, 32, 22, 24,
       with(loaded, {kCmdCovarianceMatrix, kCmdChoiceOfEigenvectors, kCmdPageSingularValues,
                     kCmdPageEigenvectors})},
      {"open data again", [&] { OpenData(path); }, 31, 22, 22, loaded},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.event);
    row.run();
    ExpectSteps(row.nextStep, row.currentPage, row.highestPage);
    for (const CommandInfo& c : kCommands) {
      EXPECT_EQ(doc->IsCommandEnabled(c.id), row.enabled.count(c.id) == 1) << c.menuText;
    }
  }
  EXPECT_EQ(doc->compareCalls, 1);
  EXPECT_EQ(doc->cadzowCalls, 1);
  EXPECT_TRUE(host.messages.empty()) << host.messages.front().text;
  EXPECT_FALSE(doc->IsCommandEnabled(12345));
}

TEST_F(DocumentTest, DisabledCommandsDoNothing) {
  EXPECT_FALSE(doc->ExecuteCommand(kCmdCovarianceMatrix));
  EXPECT_FALSE(doc->ExecuteCommand(kCmdPreviousStep));
  EXPECT_FALSE(doc->ExecuteCommand(kCmdSaveSeries));
  EXPECT_TRUE(host.dialogsRun.empty());
  ExpectSteps(30, 20, 20);
}

TEST_F(DocumentTest, OpenDataTakesTheColumnAndHalfTheLength) {
  const std::string path = WriteFile("two.txt", "a b\n1 10\n2 nan\n3 30\n4 40\n5 50\n");
  OpenData(path, 1);
  ASSERT_TRUE(host.messages.empty());
  EXPECT_EQ(doc->seriesName, "b");
  EXPECT_EQ(doc->dataFilePath, path);
  EXPECT_EQ(doc->dataFileName, "two.txt");
  ASSERT_EQ(doc->analysis.series.length(), 5);
  EXPECT_EQ(doc->analysis.series.value(4), 40.0);
  EXPECT_FALSE(doc->analysis.series.isValid(2));
  EXPECT_TRUE(doc->loadedSeries == doc->analysis.series);
  EXPECT_EQ(doc->editFlags.length(), 5);
  EXPECT_EQ(doc->editFlags.CountValid(), 5);
  EXPECT_EQ(doc->analysis.windowLength(), 3);
  EXPECT_EQ(doc->analysis.cadzowWindowLength(), 3);
  EXPECT_TRUE(doc->seriesFromFile);
  // The first file dialog starts in the examples directory.
  ASSERT_EQ(host.openRequests.size(), 1u);
  EXPECT_EQ(host.openRequests[0].title, "Select input file");
  EXPECT_EQ(host.openRequests[0].initialDirectory, VOREL_EXAMPLES_DIR);
  EXPECT_EQ(host.openRequests[0].filters.size(), 4u);
  EXPECT_EQ(host.examplesPathProducts, std::vector<std::string>{"Vorel"});
  EXPECT_FALSE(doc->examplesPathPending);
}

TEST_F(DocumentTest, WindowLengthIsHalfTheRowsRoundedUp) {
  for (int rows : {7, 8}) {
    SCOPED_TRACE(rows);
    OpenData(WriteSeries("rows" + std::to_string(rows) + ".txt", SineCells(rows)));
    EXPECT_EQ(doc->analysis.length(), rows);
    EXPECT_EQ(doc->analysis.windowLength(), 4);
    ExpectSteps(31, 22, 22);
  }
}

TEST_F(DocumentTest, CancelledOpenChangesNothing) {
  OpenData(WriteSeries("a.txt", SineCells(20)));
  host.AnswerOpenFile(std::nullopt);
  host.Expect("CDialogFileChoice").Press(CDialogFileChoice::kIdOpenFile).Cancel();
  doc->ExecuteCommand(kCmdOpenData);
  EXPECT_EQ(doc->analysis.length(), 20);
  ExpectSteps(31, 22, 22);
  // The reopened dialog listed the current file's columns before any click.
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(DocumentTest, VanishedDataFileIsReportedAndTheDialogStartsEmpty) {
  const std::string path = WriteSeries("gone.txt", SineCells(20));
  OpenData(path);
  std::filesystem::remove(path);
  host.Expect("CDialogFileChoice")
      .Do([](Dialog& d, DialogControls& c) {
        EXPECT_TRUE(static_cast<CDialogFileChoice&>(d).filePath.empty());
        EXPECT_TRUE(c.Lines(CDialogFileChoice::kIdNames).empty());
      })
      .Ok()
      .Cancel();
  doc->ExecuteCommand(kCmdOpenData);
  EXPECT_EQ(host.messageTexts(),
            (std::vector<std::string>{"Attention!\nFile " + path + " is not exist!",
                                      CDialogFileChoice::kMessageNoFile}));
  ExpectSteps(31, 22, 22);
}

TEST_F(DocumentTest, CovarianceNeedsThreePresentValues) {
  OpenData(WriteSeries("few.txt", {"1", "nan", "2", "nan", "nan"}));
  ExpectSteps(31, 22, 22);
  doc->ExecuteCommand(kCmdNextStep);
  EXPECT_EQ(host.messageTexts(), std::vector<std::string>{kNoWindowLength});
  EXPECT_TRUE(host.dialogsRun.size() == 1);  // only the file choice
  ExpectSteps(31, 22, 22);
}

TEST_F(DocumentTest, CancelledCovarianceAfterAFullAnalysisKeepsTheSteps) {
  OpenData(WriteSeries("s.txt", SineCells(48, {20})));
  ExpectCovariance(12);
  doc->ExecuteCommand(kCmdNextStep);
  doc->ExecuteCommand(kCmdNextStep);  // eigenvectors page
  ExpectChoice({0, 1});
  doc->ExecuteCommand(kCmdNextStep);
  ExpectReconstruction(0);
  doc->ExecuteCommand(kCmdNextStep);
  doc->ExecuteCommand(kCmdNextStep);  // residuals
  ExpectSteps(35, 27, 27);
  const MaskedSeries reconstructed = doc->analysis.reconstructed;

  // A refused OK (threshold above L) after the new window length was taken,
  // then Cancel.
  host.Expect("CDialogCovarianceMatrix")
      .Type(CDialogCovarianceMatrix::kIdWindowLength, "8")
      .Type(CDialogCovarianceMatrix::kIdThreshold, "9")
      .Ok()
      .Cancel();
  doc->ExecuteCommand(kCmdCovarianceMatrix);
  EXPECT_EQ(host.messageTexts(), std::vector<std::string>{ExceptionThresholdOutOfRange::kMessage});
  ExpectSteps(35, 27, 27);
  // The earlier results stay usable: the window length and the trajectory
  // are those of the analysis that produced them.
  EXPECT_EQ(doc->analysis.windowLength(), 12);
  EXPECT_EQ(doc->analysis.trajectory.rows(), 12);
  EXPECT_TRUE(doc->analysis.reconstructed == reconstructed);
  ExpectReconstruction(0);
  doc->ExecuteCommand(kCmdReconstruction);
  ExpectSteps(34, 26, 26);
  EXPECT_EQ(host.messages.size(), 1u);
}

TEST_F(DocumentTest, AdditionalInformationStaysAtTheCovarianceStep) {
  OpenData(WriteSeries("s.txt", SineCells(30, {5, 6})));
  const int L = doc->analysis.windowLength();
  host.Expect("CDialogCovarianceMatrix")
      .Type(CDialogCovarianceMatrix::kIdWindowLength, "7")
      .Press(CDialogCovarianceMatrix::kIdAdditionalInfo);
  doc->ExecuteCommand(kCmdNextStep);
  ExpectSteps(31, 21, 22);
  EXPECT_TRUE(doc->addInfoRequested);
  EXPECT_EQ(doc->addInfoWindowLength, 7);
  EXPECT_EQ(doc->analysis.windowLength(), L);
  EXPECT_EQ(doc->analysis.trajectory.rows(), L);
  EXPECT_EQ(doc->analysis.columnsAfterDeletion.length(), 8);  // thresholds 0..7
  // Next shows the series, Next again reopens the dialog; the flag is cleared.
  doc->ExecuteCommand(kCmdNextStep);
  ExpectSteps(31, 22, 22);
  ExpectCovariance(7);
  doc->ExecuteCommand(kCmdNextStep);
  EXPECT_FALSE(doc->addInfoRequested);
  ExpectSteps(32, 23, 24);
  EXPECT_EQ(doc->firstEigenvector, 1);
}

TEST_F(DocumentTest, FailedReconstructionReopensItsDialog) {
  // All eigentriples of a series with one gap: the projection has no
  // applicable formula, the principal components have.
  OpenData(WriteSeries("s.txt", SineCells(24, {12})));
  ExpectCovariance(4);
  doc->ExecuteCommand(kCmdNextStep);
  doc->ExecuteCommand(kCmdNextStep);
  host.Expect("CDialogEVGrouping").Press(CDialogEVGrouping::kIdAllUsed).Ok();
  doc->ExecuteCommand(kCmdNextStep);
  ExpectSteps(33, 24, 24);

  ExpectReconstruction(1);
  host.Expect("CDialogReconstruction").Cancel();
  doc->ExecuteCommand(kCmdNextStep);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text.rfind("Attention!\n", 0), 0u);
  ExpectSteps(33, 24, 24);
  EXPECT_EQ(host.dialogsRun.back(), "CDialogReconstruction");
  EXPECT_EQ(doc->analysis.reconstructionMethod, kProjection);

  ExpectReconstruction(1);
  ExpectReconstruction(0);
  doc->ExecuteCommand(kCmdReconstruction);
  EXPECT_EQ(host.messages.size(), 2u);
  ExpectSteps(34, 26, 26);
  EXPECT_EQ(doc->analysis.reconstructionMethod, kPrincipalComponents);
}

TEST_F(DocumentTest, NextAndPreviousAlongThePages) {
  OpenData(WriteSeries("s.txt", SineCells(30)));
  // Previous stays disabled until the covariance step ran.
  EXPECT_FALSE(doc->IsCommandEnabled(kCmdPreviousStep));
  ExpectCovariance(6);
  doc->ExecuteCommand(kCmdNextStep);
  ExpectSteps(32, 23, 24);
  doc->ExecuteCommand(kCmdPreviousStep);
  ExpectSteps(32, 22, 24);
  EXPECT_FALSE(doc->IsCommandEnabled(kCmdPreviousStep));
  // The handler itself goes down to page 21 when called.
  doc->OnPreviousStep();
  ExpectSteps(32, 21, 24);
  doc->OnPreviousStep();
  ExpectSteps(32, 21, 24);
  doc->ExecuteCommand(kCmdNextStep);
  doc->ExecuteCommand(kCmdNextStep);
  doc->ExecuteCommand(kCmdNextStep);
  ExpectSteps(32, 24, 24);
  // Pages are shown without changing the highest one.
  doc->ExecuteCommand(kCmdPageSingularValues);
  ExpectSteps(32, 23, 24);
  const int redraws = host.redraws;
  doc->ExecuteCommand(kCmdPageEigenvectors);
  EXPECT_GT(host.redraws, redraws);
}

TEST_F(DocumentTest, CancelledChoiceKeepsTheStepsAndRedraws) {
  OpenData(WriteSeries("s.txt", SineCells(30)));
  ExpectCovariance(6);
  doc->ExecuteCommand(kCmdNextStep);
  doc->ExecuteCommand(kCmdNextStep);
  const int redraws = host.redraws;
  host.Expect("CDialogEVGrouping").Press(CDialogEVGrouping::kIdAllUsed).Cancel();
  doc->ExecuteCommand(kCmdNextStep);
  ExpectSteps(32, 24, 24);
  EXPECT_EQ(doc->analysis.SelectedCount(), 0);
  EXPECT_GT(host.redraws, redraws);
}

// A series of rank 2 with no gap: two eigentriples reconstruct it exactly and
// the residuals vanish; every eigentriple reconstructs any series exactly.
TEST_F(DocumentTest, WholeAnalysisReconstructsALowRankSeries) {
  OpenData(WriteSeries("sine.txt", SineCells(48)));
  ExpectCovariance(12);
  doc->ExecuteCommand(kCmdNextStep);
  double shares = 0;
  for (int j = 1; j <= 12; ++j) shares += doc->analysis.shares.value(j);
  EXPECT_NEAR(shares, 100.0, 1e-9);
  doc->ExecuteCommand(kCmdNextStep);
  ExpectChoice({0, 1});
  doc->ExecuteCommand(kCmdNextStep);
  ExpectReconstruction(0);
  doc->ExecuteCommand(kCmdNextStep);
  ASSERT_TRUE(host.messages.empty());
  ExpectSteps(34, 26, 26);
  for (int t = 1; t <= 48; ++t) {
    EXPECT_NEAR(doc->analysis.reconstructed.value(t), std::sin(2 * M_PI * t / 12.0), 1e-9);
    EXPECT_NEAR(doc->analysis.residuals.value(t), 0.0, 1e-9);
  }
}

// The bundled example with gaps through every step, checked against the
// engine operations called directly in the documented order.
TEST_F(DocumentTest, BundledExampleMatchesTheEngineCalledDirectly) {
  OpenData(Example("co2-gaps.txt"));
  ASSERT_TRUE(host.messages.empty());
  EXPECT_EQ(doc->seriesName, "co2");
  EXPECT_EQ(doc->dataFileName, "co2-gaps.txt");
  const int N = doc->analysis.length();
  ASSERT_EQ(N, 468);
  EXPECT_EQ(doc->analysis.windowLength(), 234);
  EXPECT_EQ(doc->analysis.series.CountValid(), 468 - 20);

  ExpectCovariance(24, 2, 0);
  doc->ExecuteCommand(kCmdNextStep);
  doc->ExecuteCommand(kCmdNextStep);
  ExpectChoice({0, 1, 2});
  doc->ExecuteCommand(kCmdNextStep);
  ExpectReconstruction(0);
  doc->ExecuteCommand(kCmdNextStep);
  doc->ExecuteCommand(kCmdNextStep);
  ExpectSteps(35, 27, 27);
  ASSERT_TRUE(host.messages.empty()) << host.messages.front().text;

  SsaAnalysis direct;
  direct.series.Assign(doc->loadedSeries);
  direct.SetWindowLength(24);
  direct.BuildTrajectory();
  direct.SetThreshold(2);
  direct.covarianceMethod = kCovarianceSvd;
  direct.ApplyThreshold();
  direct.BuildCovariance();
  direct.Decompose();
  direct.SelectEigentriples({1, 1, 1});
  direct.reconstructionMethod = kPrincipalComponents;
  direct.Reconstruct();
  EXPECT_EQ(doc->analysis.threshold(), 2);
  EXPECT_EQ(doc->analysis.SelectedCount(), 3);
  EXPECT_TRUE(doc->analysis.reconstructed == direct.reconstructed);
  EXPECT_TRUE(doc->analysis.residuals == direct.residuals);
}

}  // namespace
}  // namespace vorel::test
