// Every method combination of the command line reaches the engine as the same
// codes the reconstruction dialogs would store: the batch result equals the
// engine run directly with those codes.

#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "cli/BatchRun.h"
#include "document/DataFileReader.h"
#include "engine/SsaAnalysis.h"

namespace vorel {
namespace {

const std::string kData = std::string(VOREL_EXAMPLES_DIR) + "/nottem-gaps.txt";
constexpr int kWindow = 24;

// The engine run by hand: series, covariance step, eigentriples 1-3, then the
// reconstruction with the given codes.
MaskedSeries DirectReconstruction(int method, int valid, const std::array<int, 5>& priority) {
  MaskedMatrix table;
  std::vector<std::string> names;
  ReadDataFile(kData, "nan", InputFormat{kDecimalPoint, false, false, true, true}, table, names);
  SsaAnalysis a;
  a.series = table.Column(1);
  a.SetWindowLength(kWindow);
  a.BuildTrajectory();
  a.SetThreshold(0);
  a.ApplyThreshold();
  a.BuildCovariance();
  a.Decompose();
  a.SelectEigentriples({1, 1, 1});
  a.reconstructionMethod = method;
  a.validEntriesMethod = valid;
  a.missingEntriesPriority = priority;
  a.Reconstruct();
  return a.reconstructed;
}

TEST(BatchMethods, EveryCombinationReachesTheEngine) {
  const std::string json =
      (std::filesystem::temp_directory_path() / ("vorel-methods-" + std::to_string(::getpid()) +
                                                 ".json"))
          .string();
  const char* names[] = {"simultaneous", "left", "right", "both-middle", "both-average"};
  struct Run {
    std::vector<std::string> args;
    int method, valid;
    std::array<int, 5> priority;
  };
  std::vector<Run> runs = {{{"--method", "pc"}, kPrincipalComponents, kCnv, {12, 13, 14, 15, 16}}};
  for (const auto& [validName, valid] : {std::pair{"cnv", kCnv}, std::pair{"pi", kPiProjector}}) {
    for (int first = 0; first < 5; ++first) {
      // The method `first` in front, the others in their default order.
      std::array<int, 5> priority{12 + first};
      std::string list = names[first];
      for (int k = 0, p = 1; k < 5; ++k) {
        if (k == first) continue;
        priority[p++] = 12 + k;
        list += std::string(",") + names[k];
      }
      runs.push_back({{"--valid", validName, "--priority", list}, kProjection, valid, priority});
    }
  }

  std::vector<MaskedSeries> results;
  for (const Run& run : runs) {
    std::vector<std::string> args = {kData, "--window", std::to_string(kWindow), "--eigentriples",
                                     "1-3", "--json", json};
    args.insert(args.end(), run.args.begin(), run.args.end());
    std::ostringstream out, err;
    ASSERT_EQ(RunBatch(args, out, err), 0) << err.str();
    std::ifstream in(json);
    const nlohmann::json j = nlohmann::json::parse(in);
    const MaskedSeries expected = DirectReconstruction(run.method, run.valid, run.priority);
    ASSERT_EQ(j["reconstructed"].size(), static_cast<size_t>(expected.length()));
    for (int t = 1; t <= expected.length(); ++t) {
      ASSERT_EQ(j["reconstructed"][t - 1].get<double>(), expected.value(t))
          << run.args[1] << " " << (run.args.size() > 3 ? run.args[3] : "") << " t=" << t;
    }
    results.push_back(expected);
  }
  std::filesystem::remove(json);
  // The combinations do lead to different fillings, so a swapped code shows.
  int distinct = 0;
  for (size_t i = 1; i < results.size(); ++i) distinct += !(results[i] == results[i - 1]);
  EXPECT_GE(distinct, 5);
}

}  // namespace
}  // namespace vorel
