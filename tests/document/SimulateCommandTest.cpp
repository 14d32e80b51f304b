// "Simulate series": the simulation dialog and the command that replaces the
// series by the sum of the components.

#include <cstdint>
#include <nlohmann/json.hpp>
#include <sstream>

#include "SeriesToolsFixture.h"
#include "cli/BatchRun.h"
#include "document/dialogs/CDialogSeriesSimulation.h"

namespace vorel::test {
namespace {

using S = CDialogSeriesSimulation;

constexpr const char* kEmptySeries = "Attention!\nThere is an empty series selected.";
constexpr const char* kShortSeries =
    "Attention!\nThe series length must be more than 2, because for series length less than 2 "
    "there is no convenient window length.\nEnter another value, please.";

// The generators written out from their definition: x := 663608941 x mod 2^32
// from the seed 11, u = x * 2.32830643654e-10, normal values by the polar
// method in pairs.
class ReferenceNoise {
 public:
  double Uniform() {
    x_ = static_cast<std::uint32_t>(663608941ull * x_ % 4294967296ull);
    return x_ * 2.32830643654e-10;
  }
  double Normal() {
    if (pending_) {
      pending_ = false;
      return cached_;
    }
    double y1, y2, s;
    do {
      y1 = 2 * Uniform() - 1;
      y2 = 2 * Uniform() - 1;
      s = y1 * y1 + y2 * y2;
    } while (s >= 1);
    const double f = std::sqrt(-2 * std::log(s) / s);
    cached_ = y2 * f;
    pending_ = true;
    return y1 * f;
  }

 private:
  std::uint32_t x_ = 11;
  double cached_ = 0;
  bool pending_ = false;
};

DialogScript& AddCosine(DialogScript& s, const char* A, const char* gamma, const char* alpha,
                        const char* phi) {
  return s.Type(S::kIdA, A)
      .Type(S::kIdGamma, gamma)
      .Type(S::kIdAlpha, alpha)
      .Type(S::kIdPhi, phi)
      .Press(S::kIdAddCosine);
}

std::vector<std::string> ListOf(DialogControls& c) { return c.Lines(S::kIdComponents); }

TEST_F(SeriesToolsTest, CosinePlusNoiseIsTheBatchToolsSeriesAfterAFreshStart) {
  DialogScript& s = host.Expect("CDialogSeriesSimulation").Do([](Dialog&, DialogControls& c) {
    EXPECT_EQ(c.Text(S::kIdCaption), "Series simulation");
    EXPECT_EQ(c.Text(kIdOk), "Simulate");
    EXPECT_EQ(c.Text(S::kIdLength), "100");
    EXPECT_EQ(c.State(S::kIdUniform), 1) << "N(0,S) is chosen at first";
    EXPECT_EQ(c.Text(S::kIdStandard), "1");
    EXPECT_EQ(c.Text(S::kIdA), "1");
    EXPECT_TRUE(ListOf(c).empty());
  });
  AddCosine(s, "2", "0", "0.1", "0.25")
      .Type(S::kIdStandard, "0.5")
      .Press(S::kIdAddNoise)
      .Do([](Dialog&, DialogControls& c) {
        EXPECT_EQ(ListOf(c), (std::vector<std::string>{
                                 "2.000 * exp (0.000 * n) cos (2 * Pi * 0.100 * n + 2 * Pi *0.250)",
                                 "noise N(0,0.500)"}));
      })
      .Ok();
  doc->ExecuteCommand(kCmdSimulateSeries);

  const int N = 100;
  ASSERT_EQ(doc->analysis.length(), N);
  ReferenceNoise noise;
  for (int j = 1; j <= N; ++j) {
    const double cosine = 2 * std::cos(2 * M_PI * (0.1 * (j - 1) + 0.25));
    EXPECT_NEAR(doc->analysis.series.value(j), cosine + 0.5 * noise.Normal(), 1e-12) << j;
  }
  EXPECT_EQ(doc->loadedSeries, doc->analysis.series) << "the same draws enter both";
  EXPECT_EQ(doc->analysis.series.CountValid(), N);
  EXPECT_EQ(doc->editFlags.length(), N);
  EXPECT_EQ(doc->editFlags.CountValid(), N);
  EXPECT_FALSE(doc->seriesFromFile);
  ASSERT_EQ(doc->sourceComponents.size(), 2u);
  EXPECT_EQ(doc->sourceComponents[1]->kind(), "noiseG");
  EXPECT_EQ(doc->analysis.windowLength(), 50);
  EXPECT_EQ(doc->analysis.cadzowWindowLength(), 50);
  ExpectSteps(31, 22, 22);
  EXPECT_TRUE(host.messages.empty());

  // vorel-batch, which starts as the program does, draws the same noise.
  std::ostringstream out, err;
  const std::string json = dir + "/batch.json";
  ASSERT_EQ(
      RunBatch({"--simulate", "cosine:2,0,0.1,0.25;normal:0.5", "--length", "100", "--json", json},
               out, err),
      0)
      << err.str();
  std::ifstream in(json);
  const nlohmann::json j = nlohmann::json::parse(in);
  const auto& values = j.at("series");
  ASSERT_EQ(values.size(), static_cast<size_t>(N));
  for (int t = 1; t <= N; ++t) {
    EXPECT_EQ(values[static_cast<size_t>(t - 1)].get<double>(), doc->analysis.series.value(t)) << t;
  }
}

TEST_F(SeriesToolsTest, WindowLengthIsHalfTheLengthRoundedUp) {
  const std::vector<std::pair<int, int>> cases{{3, 2}, {4, 2}, {5, 3}, {100, 50}};
  for (const auto& [N, L] : cases) {
    SCOPED_TRACE(N);
    host.Expect("CDialogSeriesSimulation")
        .Do([](Dialog& d, DialogControls&) {
          static_cast<S&>(d).components.clear();  // the previous list is offered again
        })
        .Type(S::kIdValue, "2.5")
        .Press(S::kIdAddConstant)
        .Type(S::kIdLength, std::to_string(N))
        .Ok();
    doc->ExecuteCommand(kCmdSimulateSeries);
    ASSERT_EQ(doc->analysis.length(), N);
    EXPECT_EQ(doc->analysis.windowLength(), L);
    EXPECT_EQ(doc->analysis.series.CountValid(), N);
    for (int t = 1; t <= N; ++t) EXPECT_EQ(doc->analysis.series.value(t), 2.5);
  }
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(SeriesToolsTest, SumOfConstantAndCosineSampledFromZero) {
  DialogScript& s =
      host.Expect("CDialogSeriesSimulation").Type(S::kIdValue, "1").Press(S::kIdAddConstant);
  AddCosine(s, "1", "0", "0.25", "0").Type(S::kIdLength, "6").Ok();
  doc->ExecuteCommand(kCmdSimulateSeries);
  const std::vector<double> expected{2, 1, 0, 1, 2, 1};  // 1 + cos(pi n / 2)
  ASSERT_EQ(doc->analysis.length(), 6);
  for (int t = 1; t <= 6; ++t) EXPECT_NEAR(doc->analysis.series.value(t), expected[t - 1], 1e-12);
}

// The dialog's buttons: a field that does not read adds nothing; delete
// removes the selected entry only; the texts of the kinds.
TEST_F(SeriesToolsTest, SimulationDialogButtons) {
  host.Expect("CDialogSeriesSimulation")
      .Type(S::kIdValue, "abc")
      .Press(S::kIdAddConstant)
      .Type(S::kIdValue, "3")
      .Type(S::kIdLength, "ten")
      .Press(S::kIdAddConstant)
      .Type(S::kIdLength, "10")
      .Do([](Dialog&, DialogControls& c) { EXPECT_TRUE(ListOf(c).empty()); })
      .Press(S::kIdAddConstant)
      .Choose(S::kIdUniform, 0)
      .Type(S::kIdStandard, "1")
      .Press(S::kIdAddNoise)
      .Type(S::kIdValue, "-1.25")
      .Press(S::kIdAddConstant)
      .Do([](Dialog&, DialogControls& c) {
        EXPECT_EQ(ListOf(c),
                  (std::vector<std::string>{
                      "3.000", "uniform noise in [-1.732 ; 1.732], standard = 1.000", "-1.250"}));
      })
      .Press(S::kIdDelete)  // nothing selected
      .Select(S::kIdComponents, {1})
      .Press(S::kIdDelete)
      .Do([](Dialog&, DialogControls& c) {
        EXPECT_EQ(ListOf(c), (std::vector<std::string>{"3.000", "-1.250"}));
      })
      .Ok();
  doc->ExecuteCommand(kCmdSimulateSeries);
  EXPECT_EQ(host.messageTexts(),
            (std::vector<std::string>{"Please enter a number.", "Please enter an integer."}));
  ASSERT_EQ(doc->analysis.length(), 10);
  EXPECT_DOUBLE_EQ(doc->analysis.series.value(10), 1.75);
}

TEST_F(SeriesToolsTest, NextSimulationStartsFromTheListAndDrawsNewNoise) {
  host.Expect("CDialogSeriesSimulation").Press(S::kIdAddNoise).Type(S::kIdLength, "20").Ok();
  doc->ExecuteCommand(kCmdSimulateSeries);
  const MaskedSeries first = doc->analysis.series;
  host.Expect("CDialogSeriesSimulation")
      .Do([](Dialog&, DialogControls& c) {
        EXPECT_EQ(ListOf(c), std::vector<std::string>{"noise N(0,1.000)"});
        EXPECT_EQ(c.Text(S::kIdLength), "100");
      })
      .Type(S::kIdLength, "20")
      .Ok();
  doc->ExecuteCommand(kCmdSimulateSeries);
  ASSERT_EQ(doc->analysis.length(), 20);
  EXPECT_NE(doc->analysis.series.value(1), first.value(1));
  // Cancel: the document and its list stay as they are.
  const MaskedSeries second = doc->analysis.series;
  host.Expect("CDialogSeriesSimulation").Press(S::kIdAddConstant).Cancel();
  doc->ExecuteCommand(kCmdSimulateSeries);
  EXPECT_EQ(doc->analysis.series, second);
  EXPECT_EQ(doc->sourceComponents.size(), 1u);
}

// The two refusals of the command, in the order they are checked; the dialog
// opens again with the user's entries, and a Cancel then changes nothing.
struct SimulationFailure {
  const char* name;
  friend void PrintTo(const SimulationFailure& row, std::ostream* os) { *os << row.name; }
  bool addConstant;
  const char* length;
  const char* message;
};

class SimulationFailures : public SeriesToolsTest,
                           public ::testing::WithParamInterface<SimulationFailure> {};

TEST_P(SimulationFailures, MessageAndTheDialogAgain) {
  const SimulationFailure& row = GetParam();
  DialogScript& first = host.Expect("CDialogSeriesSimulation");
  if (row.addConstant) first.Type(S::kIdValue, "4").Press(S::kIdAddConstant);
  first.Type(S::kIdLength, row.length).Ok();
  host.Expect("CDialogSeriesSimulation")
      .Do([&row](Dialog&, DialogControls& c) {
        EXPECT_EQ(ListOf(c).size(), row.addConstant ? 1u : 0u);
        EXPECT_EQ(c.Text(S::kIdLength), row.length);
      })
      .Cancel();
  doc->ExecuteCommand(kCmdSimulateSeries);
  EXPECT_EQ(host.messageTexts(), std::vector<std::string>{row.message});
  EXPECT_EQ(host.messages[0].dialog, "");
  EXPECT_TRUE(doc->sourceComponents.empty());
  EXPECT_TRUE(doc->seriesFromFile);
  ExpectSteps(30, 20, 20);
}

const SimulationFailure kSimulationFailures[] = {
    {"EmptyList", false, "100", kEmptySeries},
    {"LengthTwo", true, "2", kShortSeries},
    {"EmptyListAndLengthTwo", false, "2", kEmptySeries},
};

INSTANTIATE_TEST_SUITE_P(All, SimulationFailures, ::testing::ValuesIn(kSimulationFailures),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vorel::test
