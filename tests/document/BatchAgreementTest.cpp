// The same analysis through the document, driven as a user would, and through
// vorel-batch with the same choices must give the same numbers, to the bit.

#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "DocumentFixture.h"
#include "cli/BatchRun.h"
#include "document/dialogs/CDialogProjectionOptions.h"

namespace vorel::test {
namespace {

using P = CDialogProjectionOptions;
using R = CDialogReconstruction;

struct Case {
  const char* file;
  int L, threshold, methodIndex;  // methodIndex: 0 "<<SVD>>", 1 "<<Toeplitz>>"
  std::vector<int> rows;          // rows of "Not used:" chosen (0-based), eigentriples rows + 1
  int reconstruction;             // 0 principal components, 1 projection
  bool piFirst;                   // projection options: PI projector tried first
  bool leftFirst;                 // projection options: Left sequential moved to the top
  std::vector<std::string> batchArgs;
};

class BatchAgreementTest : public DocumentTest, public ::testing::WithParamInterface<Case> {};

TEST_P(BatchAgreementTest, DocumentAndBatchGiveTheSameNumbers) {
  const Case& c = GetParam();
  OpenData(Example(c.file));
  ExpectCovariance(c.L, c.threshold, c.methodIndex);
  doc->ExecuteCommand(kCmdNextStep);
  doc->ExecuteCommand(kCmdNextStep);  // eigenvectors page
  ExpectChoice(c.rows);
  doc->ExecuteCommand(kCmdNextStep);
  if (c.piFirst || c.leftFirst) {
    host.Expect("CDialogReconstruction").Press(R::kIdMethodOptions).Ok();
    DialogScript& options = host.Expect("CDialogProjectionOptions");
    if (c.piFirst) options.Choose(P::kIdValidChoice, 1);
    if (c.leftFirst) options.Select(P::kIdPriorityList, {1}).Press(P::kIdUp);
    options.Ok();
  } else {
    ExpectReconstruction(c.reconstruction == 0 ? 0 : 1);
  }
  doc->ExecuteCommand(kCmdNextStep);
  ASSERT_TRUE(host.messages.empty()) << host.messages.front().text;
  ExpectSteps(34, 26, 26);

  const std::string json = dir + "/result.json";
  std::vector<std::string> args = {Example(c.file), "--json", json};
  args.insert(args.end(), c.batchArgs.begin(), c.batchArgs.end());
  std::ostringstream out, err;
  ASSERT_EQ(RunBatch(args, out, err), 0) << err.str();
  std::ifstream in(json);
  const nlohmann::json j = nlohmann::json::parse(in);

  const SsaAnalysis& a = doc->analysis;
  EXPECT_EQ(j["window_length"], a.windowLength());
  EXPECT_EQ(j["threshold"], a.threshold());
  ASSERT_EQ(j["eigenvalues"].size(), static_cast<size_t>(a.eigenvalues.length()));
  for (int i = 1; i <= a.eigenvalues.length(); ++i) {
    EXPECT_EQ(j["eigenvalues"][i - 1].get<double>(), a.eigenvalues.value(i)) << i;
  }
  std::vector<int> selected;
  for (int i = 1; i <= a.eigenvalues.length(); ++i) {
    if (a.eigenvalues.isValid(i)) selected.push_back(i);
  }
  EXPECT_EQ(j["selected"].get<std::vector<int>>(), selected);
  ASSERT_EQ(j["reconstructed"].size(), static_cast<size_t>(a.length()));
  for (int t = 1; t <= a.length(); ++t) {
    EXPECT_EQ(j["reconstructed"][t - 1].get<double>(), a.reconstructed.value(t)) << t;
    if (a.residuals.isValid(t)) {
      EXPECT_EQ(j["residuals"][t - 1].get<double>(), a.residuals.value(t)) << t;
    } else {
      EXPECT_TRUE(j["residuals"][t - 1].is_null()) << t;
    }
  }
  // The series text the batch tool prints is the one "Save series" writes.
  EXPECT_EQ(out.str().substr(0, 18), "$All series points");
}

INSTANTIATE_TEST_SUITE_P(
    Choices, BatchAgreementTest,
    ::testing::Values(
        Case{"co2-gaps.txt", 24, 2, 0, {0, 1, 2}, 0, false, false,
             {"--window", "24", "--threshold", "2", "--eigentriples", "1-3", "--method", "pc"}},
        Case{"co2-gaps.txt", 36, 0, 1, {0, 1, 2, 3}, 1, false, false,
             {"--window", "36", "--covariance", "toeplitz", "--eigentriples", "1-4"}},
        Case{"nottem-gaps.txt", 24, 24, 0, {0, 1, 2, 4}, 1, true, true,
             {"--window", "24", "--threshold", "24", "--eigentriples", "1-3,5", "--valid", "pi",
              "--priority", "left,simultaneous,right,both-middle,both-average"}}));

}  // namespace
}  // namespace vorel::test
