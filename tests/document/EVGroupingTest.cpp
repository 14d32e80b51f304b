// The choice of eigentriples: the two lists, the moves and Ok.

#include <cstdlib>

#include "DocumentFixture.h"
#include "engine/Exceptions.h"

namespace vorel::test {
namespace {

using D = CDialogEVGrouping;

// The eigentriple numbers a list shows (the first three characters of each line).
std::vector<int> Numbers(const DialogControls& c, int listId) {
  std::vector<int> numbers;
  for (const std::string& line : c.Lines(listId))
    numbers.push_back(std::atoi(line.substr(0, 3).c_str()));
  return numbers;
}

std::vector<int> Chosen(const SsaAnalysis& a) {
  std::vector<int> chosen;
  for (int j = 1; j <= a.eigenvalues.length(); ++j) {
    if (a.eigenvalues.isValid(j)) chosen.push_back(j);
  }
  return chosen;
}

class EVGroupingTest : public DocumentTest {
 protected:
  void SetUp() override {
    DocumentTest::SetUp();
    // A series with ten clearly different eigenvalues.
    std::vector<std::string> cells;
    for (int t = 1; t <= 60; ++t) {
      double x = 0;
      for (int k = 1; k <= 6; ++k) x += std::cos(0.37 * k * k * t + k) / k;
      cells.push_back(std::to_string(x));
    }
    OpenData(WriteSeries("s.txt", cells));
    ExpectCovariance(10);
    doc->ExecuteCommand(kCmdNextStep);
    ASSERT_TRUE(host.messages.empty());
  }
};

TEST(EVGroupingLine, Format) {
  EXPECT_EQ(D::Line(3, 1.0, 4.0), "  3 (25.000 %)");
  EXPECT_EQ(D::Line(12, 1.0, 3.0), " 12 (33.333 %)");
  EXPECT_EQ(D::Line(100, 0.0, 3.0), "100 (0.000 %)");
  EXPECT_EQ(D::Line(1, 0.0, 0.0), "  1 (0.000 %)");  // all eigenvalues 0
}

TEST_F(EVGroupingTest, MovesBetweenTheLists) {
  host.Expect("CDialogEVGrouping")
      .Do([](Dialog& d, DialogControls& c) {
        EXPECT_EQ(d.caption(), "Choice of eigenve\xD1\x81tors");
        EXPECT_EQ(Numbers(c, D::kIdNotUsed), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
        EXPECT_TRUE(c.Lines(D::kIdUsed).empty());
        // The printed shares add up to 100 up to their rounding.
        double sum = 0;
        for (const std::string& line : c.Lines(D::kIdNotUsed)) sum += std::atof(line.c_str() + 5);
        EXPECT_NEAR(sum, 100.0, 10 * 0.0005 + 1e-9);
      })
      .Select(D::kIdNotUsed, {0, 1, 4})
      .Press(D::kIdMoveToUsed)
      .Do([](Dialog&, DialogControls& c) {
        EXPECT_EQ(Numbers(c, D::kIdUsed), (std::vector<int>{1, 2, 5}));
        EXPECT_EQ(Numbers(c, D::kIdNotUsed), (std::vector<int>{3, 4, 6, 7, 8, 9, 10}));
      })
      // The second and third lines of "Not used:" show 4 and 6.
      .Select(D::kIdNotUsed, {1, 2})
      .Press(D::kIdMoveToUsed)
      .Do([](Dialog&, DialogControls& c) {
        EXPECT_EQ(Numbers(c, D::kIdUsed), (std::vector<int>{1, 2, 4, 5, 6}));
      })
      // "<<<" on the first and last lines of "Used:".
      .Select(D::kIdUsed, {0, 4})
      .Press(D::kIdMoveToNotUsed)
      .Do([](Dialog&, DialogControls& c) {
        EXPECT_EQ(Numbers(c, D::kIdUsed), (std::vector<int>{2, 4, 5}));
      })
      // A double click moves the clicked line and every other selected one.
      .Select(D::kIdNotUsed, {0})
      .DoubleClick(D::kIdNotUsed, 6)
      .Do([](Dialog&, DialogControls& c) {
        EXPECT_EQ(Numbers(c, D::kIdUsed), (std::vector<int>{1, 2, 4, 5, 10}));
      })
      .DoubleClick(D::kIdUsed, 1)
      .Ok();
  doc->ExecuteCommand(kCmdNextStep);
  doc->ExecuteCommand(kCmdNextStep);
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(Chosen(doc->analysis), (std::vector<int>{1, 4, 5, 10}));
  EXPECT_EQ(doc->analysis.selectedEigenvectors.cols(), 4);
  ExpectSteps(33, 24, 24);
}

TEST_F(EVGroupingTest, AllToEitherSide) {
  host.Expect("CDialogEVGrouping")
      .Press(D::kIdAllUsed)
      .Do([](Dialog&, DialogControls& c) {
        EXPECT_EQ(c.Lines(D::kIdUsed).size(), 10u);
        EXPECT_TRUE(c.Lines(D::kIdNotUsed).empty());
      })
      .Press(D::kIdAllNotUsed)
      .Do([](Dialog&, DialogControls& c) {
        EXPECT_EQ(c.Lines(D::kIdNotUsed).size(), 10u);
        EXPECT_TRUE(c.Lines(D::kIdUsed).empty());
      })
      .Press(D::kIdAllUsed)
      .Ok();
  doc->ExecuteCommand(kCmdChoiceOfEigenvectors);
  EXPECT_EQ(Chosen(doc->analysis).size(), 10u);
  EXPECT_EQ(doc->analysis.selectedEigenvectors.cols(), 10);
}

// Ok with nothing chosen is refused; the empty choice has already reached the
// analysis and a following Cancel leaves it so.
TEST_F(EVGroupingTest, EmptyChoiceIsRefused) {
  ExpectChoice({0, 1});
  doc->ExecuteCommand(kCmdChoiceOfEigenvectors);
  ASSERT_EQ(Chosen(doc->analysis), (std::vector<int>{1, 2}));
  host.Expect("CDialogEVGrouping")
      .Do([](Dialog&, DialogControls& c) {
        EXPECT_EQ(Numbers(c, D::kIdUsed), (std::vector<int>{1, 2}));
      })
      .Press(D::kIdAllNotUsed)
      .Ok()
      .Do([](Dialog& d, DialogControls&) { EXPECT_FALSE(d.ended()); })
      .Cancel();
  doc->ExecuteCommand(kCmdChoiceOfEigenvectors);
  EXPECT_EQ(host.messageTexts(), std::vector<std::string>{ExceptionNoEVSelected::kMessage});
  EXPECT_TRUE(Chosen(doc->analysis).empty());
  ExpectSteps(33, 24, 24);
}

// A new covariance step clears every choice: the dialog starts with all
// eigentriples under "Not used:".
TEST_F(EVGroupingTest, NewCovarianceStepClearsTheChoice) {
  ExpectChoice({0, 1, 2});
  doc->ExecuteCommand(kCmdChoiceOfEigenvectors);
  ExpectCovariance(10);
  doc->ExecuteCommand(kCmdCovarianceMatrix);
  host.Expect("CDialogEVGrouping")
      .Do([](Dialog&, DialogControls& c) {
        EXPECT_TRUE(c.Lines(D::kIdUsed).empty());
        EXPECT_EQ(c.Lines(D::kIdNotUsed).size(), 10u);
      })
      .Cancel();
  doc->ExecuteCommand(kCmdChoiceOfEigenvectors);
}

}  // namespace
}  // namespace vorel::test
