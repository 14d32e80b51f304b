// "Compare reconstructed series with" and "Cadzow method": the comparison and
// Cadzow dialogs, the commands and their steps and pages.

#include "SeriesToolsFixture.h"
#include "document/dialogs/CDialogCadzow.h"
#include "document/dialogs/CDialogComparison.h"
#include "document/dialogs/CDialogSeriesSimulation.h"
#include "engine/Exceptions.h"

namespace vorel::test {
namespace {

using C = CDialogCadzow;
using K = CDialogComparison;
using S = CDialogSeriesSimulation;
using F = CDialogFileChoice;

constexpr const char* kLengthsDiffer =
    "Error! The lengths of compared series should coincide. \nLoad another series, please.";
constexpr const char* kEmptySeries = "Attention!\nThere is an empty series selected.";
constexpr const char* kCompareOff3 = "Compare iterations with a given time series   OFF";
constexpr const char* kCompareOn2 = "Compare iterations with a given time series  ON";
constexpr const char* kCompareOff2 = "Compare iterations with a given time series  OFF";

// Root-mean-square deviations of r from c: over the positions where the
// source and c are present, and over the others.
std::pair<double, double> Rms(const MaskedSeries& r, const MaskedSeries& source,
                              const MaskedSeries& c) {
  double s1 = 0, s2 = 0;
  int n1 = 0, n2 = 0;
  for (int i = 1; i <= r.length(); ++i) {
    const double d = r.value(i) - c.value(i);
    if (source.isValid(i) && c.isValid(i)) {
      s1 += d * d;
      ++n1;
    } else {
      s2 += d * d;
      ++n2;
    }
  }
  return {n1 ? std::sqrt(s1 / n1) : 0.0, n2 ? std::sqrt(s2 / n2) : 0.0};
}

class ComparisonTest : public SeriesToolsTest {
 protected:
  // sine-gaps.txt analysed at L = 12 with the three leading eigentriples.
  void AnalyseSineExample() {
    OpenData(Example("sine-gaps.txt"));
    Analyse(12, 3);
  }
  // The complete series of sine-gaps.txt, as a data file.
  std::string WriteTrueSine() {
    std::vector<std::string> cells;
    for (int t = 1; t <= 60; ++t) cells.push_back(Fixed6(SineExample(t)));
    return WriteSeries("sine-true.txt", cells);
  }
  static std::string Fixed6(double v) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.6f", v);
    return buffer;
  }
};

TEST_F(ComparisonTest, FromFileThroughStep35) {
  AnalyseSineExample();
  doc->ExecuteCommand(kCmdNextStep);  // residuals, step 34
  ExpectSteps(35, 27, 27);
  const MaskedSeries series = doc->analysis.series;
  const std::string truth = WriteTrueSine();

  host.Expect("CDialogComparison")
      .Do([](Dialog& d, DialogControls&) {
        EXPECT_EQ(d.caption(), "Comparison of reconstructed series ");
      })
      .Press(K::kIdFromFile);
  host.AnswerOpenFile(Example("co2.txt"));  // 468 rows, the series has 60
  host.Expect("CDialogFileChoice").Press(F::kIdOpenFile).Ok();
  host.AnswerOpenFile(truth);
  host.Expect("CDialogFileChoice").Press(F::kIdOpenFile).Ok();
  doc->ExecuteCommand(kCmdNextStep);  // step 35: the comparison

  EXPECT_EQ(host.messageTexts(), std::vector<std::string>{kLengthsDiffer});
  EXPECT_EQ(host.messages[0].dialog, "CDialogComparison");
  ExpectSteps(36, 28, 28);
  EXPECT_TRUE(doc->comparisonFromFile);
  EXPECT_FALSE(doc->cadzowResult);
  EXPECT_EQ(doc->compareFilePath, truth);
  EXPECT_EQ(doc->compareFileName, "sine-true.txt");
  EXPECT_EQ(doc->dataFilePath, Example("sine-gaps.txt"));
  EXPECT_EQ(doc->analysis.series, series);
  ASSERT_EQ(doc->comparisonSeries.length(), 60);
  EXPECT_NEAR(doc->comparisonSeries.value(9), SineExample(9), 1e-6);

  const auto [valid, missing] = Rms(doc->analysis.reconstructed, series, doc->comparisonSeries);
  ASSERT_EQ(doc->analysis.cadzowDeviationValid.length(), 1);
  ASSERT_EQ(doc->analysis.cadzowDeviationMissing.length(), 1);
  EXPECT_NEAR(doc->analysis.cadzowDeviationValid.value(1), valid, 1e-12);
  EXPECT_NEAR(doc->analysis.cadzowDeviationMissing.value(1), missing, 1e-12);
  EXPECT_GT(missing, 0.0);
  EXPECT_EQ(doc->analysis.reconstructed.CountValid(), 60);

  // With the comparison on, Next runs the Cadzow iterations (step 36); the
  // file choice offers the comparison file again.
  host.Expect("CDialogCadzow")
      .Do([](Dialog&, DialogControls& c) { EXPECT_EQ(c.Text(C::kIdCompare), kCompareOff3); })
      .Press(C::kIdCompare)
      .Do([](Dialog&, DialogControls& c) { EXPECT_EQ(c.Text(C::kIdCompare), kCompareOn2); })
      .Type(C::kIdIterations, "2")
      .Ok();
  host.Expect("CDialogComparison").Press(K::kIdFromFile);
  host.Expect("CDialogFileChoice")
      .Do([&truth](Dialog&, DialogControls& c) {
        EXPECT_EQ(c.Text(F::kIdFullPath), truth);
        EXPECT_EQ(c.Lines(F::kIdContents).size(), 60u);
      })
      .Ok();
  doc->ExecuteCommand(kCmdNextStep);
  ExpectSteps(36, 26, 28);
  EXPECT_TRUE(doc->cadzowResult);
  EXPECT_TRUE(doc->compareDuringCadzow);
  ASSERT_EQ(doc->analysis.cadzowDeviationValid.length(), 2);
  const auto [valid2, missing2] = Rms(doc->analysis.reconstructed, series, doc->comparisonSeries);
  EXPECT_NEAR(doc->analysis.cadzowDeviationValid.value(2), valid2, 1e-12);
  EXPECT_NEAR(doc->analysis.cadzowDeviationMissing.value(2), missing2, 1e-12);
  EXPECT_GT(doc->analysis.cadzowDeviationMissing.value(1), 0.0);
  EXPECT_EQ(host.messages.size(), 1u);
}

// The table holds the file read last: offering the comparison file again
// reads it again, so OK takes its column and not one of the data file.
TEST_F(ComparisonTest, TheComparisonFileIsReadAgainWhenOffered) {
  AnalyseSineExample();
  const std::string truth = WriteTrueSine();
  host.Expect("CDialogComparison").Press(K::kIdFromFile);
  host.AnswerOpenFile(truth);
  host.Expect("CDialogFileChoice").Press(F::kIdOpenFile).Ok();
  doc->ExecuteCommand(kCmdCompare);
  host.Expect("CDialogFileChoice").Cancel();  // Open data reads sine-gaps.txt again
  doc->ExecuteCommand(kCmdOpenData);
  ASSERT_EQ(doc->DataTable.rows(), 60);
  ASSERT_FALSE(doc->DataTable.isValid(8, 1));

  host.Expect("CDialogComparison").Press(K::kIdFromFile);
  host.Expect("CDialogFileChoice").Ok();
  doc->ExecuteCommand(kCmdCompare);
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(doc->comparisonSeries.CountValid(), 60);
  EXPECT_NEAR(doc->comparisonSeries.value(8), SineExample(8), 1e-6);
}

TEST_F(ComparisonTest, GeneratedFromTheSourceComponentsWithoutNoise) {
  DialogScript& s = host.Expect("CDialogSeriesSimulation")
                        .Type(S::kIdValue, "10")
                        .Press(S::kIdAddConstant)
                        .Type(S::kIdA, "3")
                        .Type(S::kIdAlpha, "0.0833333333333333")
                        .Press(S::kIdAddCosine)
                        .Type(S::kIdStandard, "0.2")
                        .Press(S::kIdAddNoise)
                        .Type(S::kIdLength, "48");
  s.Ok();
  doc->ExecuteCommand(kCmdSimulateSeries);
  Analyse(12, 3);
  const MaskedSeries series = doc->analysis.series;

  host.Expect("CDialogComparison").Press(K::kIdGenerate);
  host.Expect("CDialogSeriesSimulation")
      .Do([](Dialog&, DialogControls& c) {
        EXPECT_EQ(c.Text(S::kIdCaption), "Comparison with the simulated series");
        EXPECT_EQ(c.Text(kIdOk), "Ok");
        EXPECT_EQ(c.Text(S::kIdLength), "48");
        EXPECT_EQ(c.Lines(S::kIdComponents),
                  (std::vector<std::string>{
                      "10.000", "3.000 * exp (0.000 * n) cos (2 * Pi * 0.083 * n + 2 * Pi *0.000)",
                      "noise N(0,0.200)"}));
      })
      .Type(S::kIdLength, "47")
      .Ok();
  host.Expect("CDialogSeriesSimulation")
      .Do([](Dialog&, DialogControls& c) { EXPECT_EQ(c.Text(S::kIdLength), "47"); })
      .Type(S::kIdLength, "48")
      .Ok();
  doc->ExecuteCommand(kCmdCompare);

  EXPECT_EQ(host.messageTexts(), std::vector<std::string>{kLengthsDiffer});
  ExpectSteps(35, 28, 28);
  EXPECT_FALSE(doc->comparisonFromFile);
  ASSERT_EQ(doc->comparisonComponents.size(), 2u);
  EXPECT_EQ(doc->sourceComponents.size(), 3u);
  ASSERT_EQ(doc->comparisonSeries.length(), 48);
  for (int i = 1; i <= 48; ++i) {
    EXPECT_NEAR(doc->comparisonSeries.value(i),
                10 + 3 * std::cos(2 * M_PI * 0.0833333333333333 * (i - 1)), 1e-12);
  }
  const auto [valid, missing] = Rms(doc->analysis.reconstructed, series, doc->comparisonSeries);
  EXPECT_NEAR(doc->analysis.cadzowDeviationValid.value(1), valid, 1e-12);
  EXPECT_EQ(doc->analysis.cadzowDeviationMissing.value(1), 0.0) << "nothing is missing";

  // The next Generate offers the kept components (noise gone); an empty list
  // is refused; a list of noise only gives zeros.
  host.Expect("CDialogComparison").Press(K::kIdGenerate);
  host.Expect("CDialogSeriesSimulation")
      .Do([](Dialog&, DialogControls& c) { EXPECT_EQ(c.Lines(S::kIdComponents).size(), 2u); })
      .Select(S::kIdComponents, {0})
      .Press(S::kIdDelete)
      .Select(S::kIdComponents, {0})
      .Press(S::kIdDelete)
      .Ok();
  host.Expect("CDialogSeriesSimulation").Press(S::kIdAddNoise).Ok();
  doc->ExecuteCommand(kCmdCompare);
  EXPECT_EQ(host.messageTexts(), (std::vector<std::string>{kLengthsDiffer, kEmptySeries}));
  EXPECT_TRUE(doc->comparisonComponents.empty());
  EXPECT_EQ(doc->comparisonSeries.values().cwiseAbs().maxCoeff(), 0.0);
  EXPECT_EQ(doc->comparisonSeries.CountValid(), 48);

  // Cancelling the simulation leaves the comparison dialog open; cancelling
  // that changes nothing.
  doc->ExecuteCommand(kCmdPageInitialSeries);
  host.Expect("CDialogComparison")
      .Press(K::kIdGenerate)
      .Do([](Dialog& d, DialogControls&) { EXPECT_FALSE(d.ended()); })
      .Cancel();
  host.Expect("CDialogSeriesSimulation").Cancel();
  doc->ExecuteCommand(kCmdCompare);
  ExpectSteps(35, 22, 28);
}

TEST_F(ComparisonTest, CadzowWithoutComparison) {
  AnalyseSineExample();
  const MaskedSeries series = doc->analysis.series;
  const MaskedSeries eigenvalues = doc->analysis.eigenvalues;
  const MaskedSeries before = doc->analysis.reconstructed;
  host.Expect("CDialogCadzow")
      .Do([](Dialog& d, DialogControls& c) {
        EXPECT_EQ(d.caption(), "Cadzow method");
        EXPECT_EQ(c.Text(C::kIdWindowLength), "12");
        EXPECT_EQ(c.Text(C::kIdIterations), "10");
        EXPECT_EQ(c.Text(C::kIdCompare), kCompareOff3);
      })
      .Type(C::kIdIterations, "3")
      .Type(C::kIdWindowLength, "20")
      .Ok();
  EXPECT_TRUE(doc->ExecuteCommand(kCmdCadzow));

  EXPECT_TRUE(host.messages.empty());
  ExpectSteps(35, 26, 27);
  EXPECT_TRUE(doc->cadzowResult);
  EXPECT_FALSE(doc->compareDuringCadzow);
  EXPECT_EQ(host.progress,
            (std::vector<std::string>{"begin 0 3", "show", "step", "step", "step", "hide"}));
  EXPECT_EQ(host.waitCursorDepth, 0);
  EXPECT_EQ(doc->analysis.series, series);
  EXPECT_EQ(doc->analysis.eigenvalues, eigenvalues);
  EXPECT_EQ(doc->analysis.windowLength(), 12);
  EXPECT_EQ(doc->analysis.cadzowWindowLength(), 20);
  EXPECT_EQ(doc->analysis.cadzowIterations(), 3);
  EXPECT_EQ(doc->analysis.cadzowDeviationValid, MaskedSeries(3)) << "zeros, all present";
  EXPECT_FALSE(doc->analysis.reconstructed == before);
  for (int t = 1; t <= 60; ++t) {
    EXPECT_DOUBLE_EQ(doc->analysis.residuals.value(t),
                     series.value(t) - doc->analysis.reconstructed.value(t));
    EXPECT_EQ(doc->analysis.residuals.isValid(t), series.isValid(t));
  }
}

TEST_F(ComparisonTest, CadzowAtTheLongestWindowWithOneComparedIteration) {
  AnalyseSineExample();
  host.Expect("CDialogCadzow")
      .Press(C::kIdCompare)
      .Type(C::kIdIterations, "1")
      .Type(C::kIdWindowLength, "59")  // N - 1
      .Ok();
  host.Expect("CDialogComparison").Press(K::kIdFromFile);
  host.AnswerOpenFile(WriteTrueSine());
  host.Expect("CDialogFileChoice").Press(F::kIdOpenFile).Ok();
  doc->ExecuteCommand(kCmdCadzow);
  EXPECT_TRUE(host.messages.empty());
  ExpectSteps(36, 26, 28);
  EXPECT_EQ(doc->analysis.cadzowDeviationValid.length(), 1);
  EXPECT_EQ(doc->analysis.cadzowDeviationMissing.length(), 1);
  EXPECT_GT(doc->analysis.cadzowDeviationMissing.value(1), 0.0);
}

TEST_F(ComparisonTest, CancelledCompareButtonAndCancelledCadzow) {
  AnalyseSineExample();
  doc->compareDuringCadzow = true;
  host.Expect("CDialogCadzow")
      .Press(C::kIdCompare)
      .Do([](Dialog&, DialogControls& c) { EXPECT_EQ(c.Text(C::kIdCompare), kCompareOff2); })
      .Cancel();
  host.Expect("CDialogComparison").Cancel();
  EXPECT_TRUE(doc->ExecuteCommand(kCmdCadzow));
  ExpectSteps(34, 26, 26);
  EXPECT_FALSE(doc->compareDuringCadzow);
  EXPECT_FALSE(doc->cadzowResult);
  EXPECT_TRUE(host.progress.empty());
  // A cancelled comparison changes nothing either; having no OK button, the
  // dialog does not end on an OK command.
  host.Expect("CDialogComparison")
      .Ok()
      .Do([](Dialog& d, DialogControls&) { EXPECT_FALSE(d.ended()); })
      .Cancel();
  doc->ExecuteCommand(kCmdCompare);
  ExpectSteps(34, 26, 26);
}

// The refusals of the Cadzow dialog's OK (L = 12, N = 60): the message, the
// dialog kept open, and what the analysis keeps after Cancel.
struct CadzowFailure {
  const char* name;
  friend void PrintTo(const CadzowFailure& row, std::ostream* os) { *os << row.name; }
  const char* windowLength;
  const char* iterations;
  const char* message;
  int keptWindowLength;
};

class CadzowFailures : public ComparisonTest,
                       public ::testing::WithParamInterface<CadzowFailure> {};

TEST_P(CadzowFailures, MessageAndTheDialogStaysOpen) {
  const CadzowFailure& row = GetParam();
  AnalyseSineExample();
  host.Expect("CDialogCadzow")
      .Type(C::kIdWindowLength, row.windowLength)
      .Type(C::kIdIterations, row.iterations)
      .Ok()
      .Do([](Dialog& d, DialogControls&) { EXPECT_FALSE(d.ended()); })
      .Cancel();
  doc->ExecuteCommand(kCmdCadzow);
  EXPECT_EQ(host.messageTexts(), std::vector<std::string>{row.message});
  EXPECT_EQ(host.messages[0].dialog, "CDialogCadzow");
  EXPECT_EQ(doc->analysis.cadzowWindowLength(), row.keptWindowLength);
  EXPECT_EQ(doc->analysis.cadzowIterations(), 10);
  ExpectSteps(34, 26, 26);
  EXPECT_FALSE(doc->cadzowResult);
}

const CadzowFailure kCadzowFailures[] = {
    {"WindowBelowL", "11", "5", ExceptionWrongCadzowWL::kMessage, 12},
    {"WindowOfN", "60", "5", ExceptionWrongCadzowWL::kMessage, 12},
    {"NoIterations", "20", "0", ExceptionWrongCadzowIterationsNumber::kMessage, 20},
    {"IterationsNotAnInteger", "20", "2.5", "Please enter an integer.", 12},
};

INSTANTIATE_TEST_SUITE_P(All, CadzowFailures, ::testing::ValuesIn(kCadzowFailures),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vorel::test
