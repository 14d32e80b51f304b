#pragma once
// A document driven through the scripted host, in a temporary program folder.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "ScriptedHost.h"
#include "document/CVorelDoc.h"
#include "document/CommandIds.h"
#include "document/dialogs/CDialogCovarianceMatrix.h"
#include "document/dialogs/CDialogEVGrouping.h"
#include "document/dialogs/CDialogFileChoice.h"
#include "document/dialogs/CDialogReconstruction.h"

namespace vorel::test {

// A document whose comparison and Cadzow commands only count their calls and
// set the step numbers as those commands do.
class CountingDoc : public CVorelDoc {
 public:
  using CVorelDoc::CVorelDoc;
  int compareCalls = 0;
  int cadzowCalls = 0;
  void OnCompare() override {
    ++compareCalls;
    nextStep = kStepComparison;
    currentPage = PageDeviations;
    highestPage = PageDeviations;
  }
  bool OnCadzow() override {
    ++cadzowCalls;
    nextStep = kStepComparison;
    currentPage = PageInitialAndReconstructed;
    highestPage = PageResiduals;
    return true;
  }
};

// A document of type Doc in a temporary program folder, with the scripts of
// the common steps.
template <class Doc>
class DocumentFixture : public ::testing::Test {
 public:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "vorel-doc-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir = pattern;
    host.programFolder = dir;
    host.examplesPath = VOREL_EXAMPLES_DIR;
    doc = std::make_unique<Doc>(host);
  }
  void TearDown() override {
    doc.reset();
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
    EXPECT_EQ(host.pendingScripts(), 0u) << "dialog scripts left unused";
    EXPECT_EQ(host.pendingFileAnswers(), 0u) << "file answers left unused";
  }

  // Builds the document again, as a restart of the program does.
  void Restart() {
    doc.reset();
    doc = std::make_unique<Doc>(host);
  }

  std::string WriteFile(const std::string& name, const std::string& content) {
    const std::string path = (std::filesystem::path(dir) / name).string();
    std::ofstream(path, std::ios::binary) << content;
    return path;
  }

  // A one-column data file with a header and the given cells.
  std::string WriteSeries(const std::string& name, const std::vector<std::string>& cells) {
    std::string text = "x\n";
    for (const std::string& c : cells) text += c + "\n";
    return WriteFile(name, text);
  }

  static std::string Example(const std::string& name) {
    return std::string(VOREL_EXAMPLES_DIR) + "/" + name;
  }

  // "Open data" choosing path and the column with this 0-based index.
  void OpenData(const std::string& path, int column = 0) {
    host.AnswerOpenFile(path);
    host.Expect("CDialogFileChoice")
        .Press(CDialogFileChoice::kIdOpenFile)
        .Select(CDialogFileChoice::kIdNames, {column})
        .Ok();
    doc->ExecuteCommand(kCmdOpenData);
  }

  // Scripts of the step dialogs.
  DialogScript& ExpectCovariance(int L, int threshold = 0, int method = 0) {
    return host.Expect("CDialogCovarianceMatrix")
        .Type(CDialogCovarianceMatrix::kIdWindowLength, std::to_string(L))
        .Choose(CDialogCovarianceMatrix::kIdSvd, method)
        .Type(CDialogCovarianceMatrix::kIdThreshold, std::to_string(threshold))
        .Ok();
  }
  // Moves the given rows of "Not used:" (all eigentriples start there after a
  // covariance step) to "Used:".
  DialogScript& ExpectChoice(std::vector<int> rows) {
    return host.Expect("CDialogEVGrouping")
        .Select(CDialogEVGrouping::kIdNotUsed, std::move(rows))
        .Press(CDialogEVGrouping::kIdMoveToUsed)
        .Ok();
  }
  DialogScript& ExpectReconstruction(int methodIndex) {
    return host.Expect("CDialogReconstruction")
        .Choose(CDialogReconstruction::kIdPrincipalComponents, methodIndex)
        .Ok();
  }

  void ExpectSteps(int nextStep, int currentPage, int highestPage) {
    EXPECT_EQ(doc->nextStep, nextStep);
    EXPECT_EQ(doc->currentPage, currentPage);
    EXPECT_EQ(doc->highestPage, highestPage);
  }

  std::string dir;
  ScriptedHost host;
  std::unique_ptr<Doc> doc;
};

using DocumentTest = DocumentFixture<CountingDoc>;

// x(t) = sin(2 pi t / 12), t = 1..n, with the listed 1-based positions missing ("nan").
inline std::vector<std::string> SineCells(int n, std::vector<int> missing = {}) {
  std::vector<std::string> cells;
  for (int t = 1; t <= n; ++t) {
    bool gap = false;
    for (int m : missing) gap = gap || m == t;
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.17g", std::sin(2 * M_PI * t / 12.0));
    cells.push_back(gap ? "nan" : buffer);
  }
  return cells;
}

}  // namespace vorel::test
