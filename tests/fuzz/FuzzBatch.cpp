// A whole vorel-batch run on a small data file. The first eight bytes choose
// the options; the rest is the file. Invariants: the exit status is 0, 1 or 2;
// every failure prints a message; the output files exist exactly when the
// status is 0 (and were asked for); a success gives JSON that parses with
// finite results; no staged file is ever left behind.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "cli/BatchRun.h"

namespace {

namespace fs = std::filesystem;

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

bool LeftoverStagedFile() {
  for (const auto& entry : fs::directory_iterator(vorel::fuzz::WorkFolder())) {
    if (entry.path().filename().string().rfind(".vorel-", 0) == 0) return true;
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 8) return 0;
  const std::uint8_t* b = data;
  const std::string path = vorel::fuzz::WriteFile(
      "series.txt", std::string(reinterpret_cast<const char*>(data) + 8, size - 8));
  const std::string jsonPath = (vorel::fuzz::WorkFolder() / "out.json").string();
  const std::string outputPath = (vorel::fuzz::WorkFolder() / "out.txt").string();
  std::error_code ignored;
  fs::remove(jsonPath, ignored);
  fs::remove(outputPath, ignored);

  std::vector<std::string> args = {path, "--window", std::to_string(2 + b[0] % 30)};
  static const char* const kTriples[] = {"1", "1-2", "1-3", "2", "1,3", "1-4", "2-3", "1-40"};
  args.insert(args.end(), {"--eigentriples", kTriples[b[1] % 8]});
  if (b[2] & 1) args.insert(args.end(), {"--method", "pc"});
  if (b[2] & 2) args.insert(args.end(), {"--covariance", "toeplitz"});
  if (b[2] & 4) {
    args.insert(args.end(), {"--cadzow", std::to_string(1 + b[3] % 3)});
    if (b[3] & 8)
      args.insert(args.end(), {"--cadzow-window", std::to_string(2 + b[0] % 30 + b[3] % 5)});
  }
  if (b[2] & 8) args.insert(args.end(), {"--compare", path});
  const bool json = (b[2] & 16) != 0, output = (b[2] & 32) != 0;
  if (json) args.insert(args.end(), {"--json", jsonPath});
  if (output) args.insert(args.end(), {"--output", outputPath});
  if (b[2] & 64)
    args.insert(args.end(),
                {"--points", std::to_string(b[3] % 8) + "-" + std::to_string(b[4] % 40)});
  if (b[2] & 128) args.insert(args.end(), {"--valid", "pi"});
  args.insert(args.end(), {"--threshold", std::to_string(b[5] % 4)});
  static const char* const kCodes[] = {"nan", "NA", "-", "9999"};
  args.insert(args.end(), {"--mv", kCodes[b[6] % 4]});
  static const char* const kDelimiters[] = {"space,tab", "comma", "semicolon", "space,semicolon"};
  args.insert(args.end(), {"--delimiters", kDelimiters[b[7] % 4]});
  if (b[7] & 4) args.insert(args.end(), {"--decimal", "comma"});
  if (b[7] & 8) args.insert(args.end(), {"--column", std::to_string(1 + (b[7] >> 4) % 3)});

  std::ostringstream out, err;
  const int status = vorel::RunBatch(args, out, err);
  VOREL_FUZZ_CHECK(status == 0 || status == 1 || status == 2, std::to_string(status));
  VOREL_FUZZ_CHECK(!LeftoverStagedFile(), "a staged file was left behind");
  const bool jsonExists = fs::exists(jsonPath), outputExists = fs::exists(outputPath);
  if (status != 0) {
    VOREL_FUZZ_CHECK(!err.str().empty(), "a failure without a message");
    VOREL_FUZZ_CHECK(!jsonExists && !outputExists, err.str());
    return 0;
  }
  VOREL_FUZZ_CHECK(jsonExists == json && outputExists == output, err.str());
  const std::string text = output ? ReadAll(outputPath) : out.str();
  VOREL_FUZZ_CHECK(text.rfind("$", 0) == 0, text);
  if (json) {
    const nlohmann::json j = nlohmann::json::parse(ReadAll(jsonPath), nullptr, false);
    VOREL_FUZZ_CHECK(!j.is_discarded(), "the JSON does not parse");
    for (const char* key : {"reconstructed", "eigenvalues", "shares"}) {
      for (const auto& v : j[key])
        VOREL_FUZZ_CHECK(v.is_number(), std::string(key) + " holds " + v.dump());
    }
    VOREL_FUZZ_CHECK(j["series"].size() == j["reconstructed"].size(), "lengths differ");
  }
  return 0;
}
