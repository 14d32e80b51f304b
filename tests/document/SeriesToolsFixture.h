#pragma once
// A document with its series tools (simulation, comparison, Cadzow, editor)
// driven through the scripted host, in a temporary program folder.

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

class SeriesToolsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "vorel-tools-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir = pattern;
    host.programFolder = dir;
    host.examplesPath = VOREL_EXAMPLES_DIR;
    doc = std::make_unique<CVorelDoc>(host);
  }
  void TearDown() override {
    doc.reset();
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
    EXPECT_EQ(host.pendingScripts(), 0u) << "dialog scripts left unused";
    EXPECT_EQ(host.pendingFileAnswers(), 0u) << "file answers left unused";
  }

 public:
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

  // Covariance (window L, SVD, threshold 0), the leading `count` eigentriples
  // and the reconstruction by principal components (0) or projection (1).
  void Analyse(int L, int count, int method = 0) {
    host.Expect("CDialogCovarianceMatrix")
        .Type(CDialogCovarianceMatrix::kIdWindowLength, std::to_string(L))
        .Choose(CDialogCovarianceMatrix::kIdSvd, 0)
        .Type(CDialogCovarianceMatrix::kIdThreshold, "0")
        .Ok();
    doc->ExecuteCommand(kCmdNextStep);
    doc->ExecuteCommand(kCmdNextStep);  // eigenvectors page
    std::vector<int> rows;
    for (int i = 0; i < count; ++i) rows.push_back(i);
    host.Expect("CDialogEVGrouping")
        .Select(CDialogEVGrouping::kIdNotUsed, rows)
        .Press(CDialogEVGrouping::kIdMoveToUsed)
        .Ok();
    doc->ExecuteCommand(kCmdNextStep);
    host.Expect("CDialogReconstruction")
        .Choose(CDialogReconstruction::kIdPrincipalComponents, method)
        .Ok();
    doc->ExecuteCommand(kCmdNextStep);
    ASSERT_EQ(doc->nextStep, kStepResiduals);
  }

  void ExpectSteps(int nextStep, int currentPage, int highestPage) {
    EXPECT_EQ(doc->nextStep, nextStep);
    EXPECT_EQ(doc->currentPage, currentPage);
    EXPECT_EQ(doc->highestPage, highestPage);
  }

  std::string dir;
  ScriptedHost host;
  std::unique_ptr<CVorelDoc> doc;
};

// "%.3lf" of v, as the dialogs' lists print values.
inline std::string Fixed3(double v) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.3f", v);
  return buffer;
}

// The series of the bundled sine-gaps.txt: 10 + 3 sin(2 pi t / 12).
inline double SineExample(int t) { return 10.0 + 3.0 * std::sin(2.0 * M_PI * t / 12.0); }

}  // namespace vorel::test
