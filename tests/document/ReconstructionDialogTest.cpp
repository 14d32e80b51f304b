// The reconstruction dialog and the projection options: applicability,
// refusals, Up/Down, and what is committed when.

#include "DocumentFixture.h"
#include "document/dialogs/CDialogProjectionOptions.h"
#include "engine/Exceptions.h"

namespace vorel::test {
namespace {

using R = CDialogReconstruction;
using P = CDialogProjectionOptions;

constexpr const char* kImpossibleToCombine = ExceptionImposibleToCombine::kMessage;
constexpr const char* kImpossibleProjection =
    "Attention!\nIt's imposible to apply  method <<Projection>>";

const std::vector<int> kStatics{P::kIdCnvBothSides,
                                P::kIdCnvLeft,
                                P::kIdCnvRight,
                                P::kIdPiProjector,
                                P::kIdSimultaneous,
                                P::kIdSequentialLeft,
                                P::kIdSequentialRight,
                                P::kIdSequentialBothSides,
                                P::kIdValidEntriesCovered,
                                P::kIdMissingEntriesCovered};

class ReconstructionDialogTest : public DocumentTest {
 protected:
  // Opens the cells, runs the covariance step with L and threshold and
  // chooses the first r eigentriples.
  void Prepare(const std::vector<std::string>& cells, int L, int threshold, int r) {
    OpenData(WriteSeries("s.txt", cells));
    ExpectCovariance(L, threshold);
    doc->ExecuteCommand(kCmdNextStep);
    std::vector<int> rows;
    for (int j = 0; j < r; ++j) rows.push_back(j);
    ExpectChoice(rows);
    doc->ExecuteCommand(kCmdChoiceOfEigenvectors);
    ASSERT_TRUE(host.messages.empty()) << host.messages.front().text;
    ExpectSteps(33, 24, 24);
  }
};

TEST_F(ReconstructionDialogTest, SeriesWithoutGapsAcceptsBothMethods) {
  Prepare(SineCells(30), 6, 0, 2);
  for (int method : {0, 1}) {
    SCOPED_TRACE(method);
    host.Expect("CDialogReconstruction")
        .Do([](Dialog&, DialogControls& c) {
          EXPECT_EQ(c.Text(R::kIdApplicability), "Applicability: YES\n");
        })
        .Press(R::kIdMethodOptions)
        .Choose(R::kIdPrincipalComponents, method)
        .Ok();
    host.Expect("CDialogProjectionOptions")
        .Do([](Dialog& d, DialogControls& c) {
          EXPECT_EQ(d.caption(), "<<Projection>> method options");
          for (int id : kStatics) EXPECT_EQ(c.Text(id), "YES") << id;
        })
        .Cancel();
    doc->ExecuteCommand(kCmdReconstruction);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(doc->analysis.reconstructionMethod, method);
    ExpectSteps(34, 26, 26);
  }
}

// A run of 5 missing values with L = 4 leaves lagged vectors without any
// present component: no principal components, but the projection has a
// method of each kind for the group.
TEST_F(ReconstructionDialogTest, LongGapRefusesPrincipalComponents) {
  Prepare(SineCells(40, {15, 16, 17, 18, 19}), 4, 4, 2);
  host.Expect("CDialogReconstruction")
      .Do([](Dialog&, DialogControls& c) {
        EXPECT_EQ(c.Text(R::kIdApplicability), "Applicability: NO\n");
      })
      .Choose(R::kIdPrincipalComponents, 0)
      .Ok()
      .Do([](Dialog& d, DialogControls&) { EXPECT_FALSE(d.ended()); })
      .Press(R::kIdMethodOptions)
      .Choose(R::kIdPrincipalComponents, 1)
      .Do([](Dialog& d, DialogControls&) {
        // Accepted only once the projection is chosen.
        EXPECT_FALSE(d.ended());
      })
      .Cancel();
  host.Expect("CDialogProjectionOptions")
      .Do([](Dialog&, DialogControls& c) {
        EXPECT_EQ(c.Text(P::kIdPiProjector), "NO");
        EXPECT_EQ(c.Text(P::kIdCnvBothSides), "YES");
        EXPECT_EQ(c.Text(P::kIdCnvLeft), "NO");
        EXPECT_EQ(c.Text(P::kIdCnvRight), "NO");
        EXPECT_EQ(c.Text(P::kIdSimultaneous), "NO");
        EXPECT_EQ(c.Text(P::kIdSequentialLeft), "YES");
        EXPECT_EQ(c.Text(P::kIdSequentialRight), "YES");
        EXPECT_EQ(c.Text(P::kIdValidEntriesCovered), "YES");
        EXPECT_EQ(c.Text(P::kIdMissingEntriesCovered), "YES");
      })
      .Cancel();
  doc->ExecuteCommand(kCmdReconstruction);
  EXPECT_EQ(host.messageTexts(), std::vector<std::string>{kImpossibleToCombine});
  ExpectSteps(33, 24, 24);

  // "<<Projection>>" passes the dialog's check (a failure of the engine
  // would reopen the dialog, which is then cancelled).
  host.messages.clear();
  host.cancelUnscriptedDialogs = true;
  host.Expect("CDialogReconstruction").Choose(R::kIdPrincipalComponents, 1).Ok();
  doc->ExecuteCommand(kCmdReconstruction);
  for (const auto& m : host.messages) EXPECT_NE(m.text, kImpossibleToCombine);
  EXPECT_EQ(doc->analysis.reconstructionMethod, kProjection);
}

// x(1), x(4) and x(8) missing with L = 4: one group over every lagged vector,
// with no method for its missing entries when r = 3. The principal components
// would apply but the combination is refused, and so is the projection.
TEST_F(ReconstructionDialogTest, UncoveredGroupRefusesBothMethods) {
  Prepare({"nan", "2", "3", "nan", "5", "1", "2", "nan", "4", "3"}, 4, 2, 3);
  host.Expect("CDialogReconstruction")
      .Do([](Dialog&, DialogControls& c) {
        EXPECT_EQ(c.Text(R::kIdApplicability), "Applicability: YES\n");
      })
      .Choose(R::kIdPrincipalComponents, 0)
      .Ok()
      .Choose(R::kIdPrincipalComponents, 1)
      .Ok()
      .Press(R::kIdMethodOptions)
      .Cancel();
  host.Expect("CDialogProjectionOptions")
      .Do([](Dialog&, DialogControls& c) {
        EXPECT_EQ(c.Text(P::kIdMissingEntriesCovered), "NO");
        EXPECT_EQ(c.Text(P::kIdSimultaneous), "NO");
        EXPECT_EQ(c.Text(P::kIdSequentialLeft), "NO");
        EXPECT_EQ(c.Text(P::kIdSequentialRight), "NO");
      })
      .Ok()
      .Do([](Dialog& d, DialogControls&) { EXPECT_FALSE(d.ended()); })
      .Cancel();
  doc->ExecuteCommand(kCmdReconstruction);
  EXPECT_EQ(host.messageTexts(),
            (std::vector<std::string>{kImpossibleToCombine, kImpossibleToCombine,
                                      kImpossibleProjection}));
  ExpectSteps(33, 24, 24);
}

TEST_F(ReconstructionDialogTest, UpAndDownReorderThePriority) {
  Prepare(SineCells(30), 6, 0, 2);
  auto lines = [](const DialogControls& c) { return c.Lines(P::kIdPriorityList); };
  host.Expect("CDialogReconstruction").Press(R::kIdMethodOptions).Cancel();
  host.Expect("CDialogProjectionOptions")
      .Do([&](Dialog&, DialogControls& c) {
        EXPECT_EQ(lines(c), (std::vector<std::string>{"1) Simultaneous", "2) Left sequential",
                                                      "3) Right sequential",
                                                      "4) Both sides sequential(to the middle)",
                                                      "5) Both sides sequential(averaging)"}));
        EXPECT_TRUE(c.Selection(P::kIdPriorityList).empty());
        EXPECT_EQ(
            c.Lines(P::kIdValidChoice),
            (std::vector<std::string>{"Components of neighbour vectors (CNV)", "PI projector"}));
        EXPECT_EQ(c.State(P::kIdValidChoice), 0);
      })
      .Press(P::kIdUp)  // nothing selected
      .Select(P::kIdPriorityList, {0})
      .Press(P::kIdUp)  // first row
      .Select(P::kIdPriorityList, {4})
      .Press(P::kIdDown)  // last row
      .Do([&](Dialog& d, DialogControls&) {
        EXPECT_EQ(static_cast<P&>(d).priority, (std::array<int, 5>{12, 13, 14, 15, 16}));
      })
      .Select(P::kIdPriorityList, {2})
      .Press(P::kIdUp)
      .Do([&](Dialog& d, DialogControls& c) {
        EXPECT_EQ(static_cast<P&>(d).priority, (std::array<int, 5>{12, 14, 13, 15, 16}));
        EXPECT_EQ(lines(c)[1], "2) Right sequential");
        EXPECT_EQ(c.Selection(P::kIdPriorityList), std::vector<int>{1});
      })
      .Press(P::kIdUp)
      .Select(P::kIdPriorityList, {3})
      .Press(P::kIdDown)
      .Choose(P::kIdValidChoice, 1)
      .Ok();
  doc->ExecuteCommand(kCmdReconstruction);
  // The options' OK commits the priority at once; the present-entries choice
  // is taken over when the reconstruction dialog closes, by Cancel too.
  EXPECT_EQ(doc->analysis.missingEntriesPriority, (std::array<int, 5>{14, 12, 13, 16, 15}));
  EXPECT_EQ(doc->analysis.validEntriesMethod, kPiProjector);
  EXPECT_EQ(doc->analysis.reconstructionMethod, kProjection);
  ExpectSteps(33, 24, 24);

  // The options' OK switches the method to the projection; the reopened
  // options dialog starts from the committed order and choice.
  host.Expect("CDialogReconstruction")
      .Choose(R::kIdPrincipalComponents, 0)
      .Press(R::kIdMethodOptions)
      .Do([](Dialog&, DialogControls& c) { EXPECT_EQ(c.State(R::kIdPrincipalComponents), 1); })
      .Press(R::kIdMethodOptions)
      .Cancel();
  host.Expect("CDialogProjectionOptions")
      .Do([&](Dialog&, DialogControls& c) {
        EXPECT_EQ(lines(c)[0], "1) Right sequential");
        EXPECT_EQ(c.State(P::kIdValidChoice), 1);
      })
      .Choose(P::kIdValidChoice, 0)
      .Ok();
  // Cancel of the options changes nothing.
  host.Expect("CDialogProjectionOptions").Choose(P::kIdValidChoice, 1).Cancel();
  doc->ExecuteCommand(kCmdReconstruction);
  EXPECT_EQ(doc->analysis.validEntriesMethod, kCnv);
  EXPECT_EQ(doc->analysis.missingEntriesPriority, (std::array<int, 5>{14, 12, 13, 16, 15}));
  EXPECT_TRUE(host.messages.empty());
}

}  // namespace
}  // namespace vorel::test
