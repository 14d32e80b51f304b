#pragma once
// A document with its series tools (simulation, comparison, Cadzow, editor)
// driven through the scripted host, in a temporary program folder.

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "DocumentFixture.h"

namespace vorel::test {

class SeriesToolsTest : public DocumentFixture<CVorelDoc> {
 public:
  // Covariance (window L, SVD, threshold 0), the leading `count` eigentriples
  // and the reconstruction by principal components (0) or projection (1).
  void Analyse(int L, int count, int method = 0) {
    ExpectCovariance(L);
    doc->ExecuteCommand(kCmdNextStep);
    doc->ExecuteCommand(kCmdNextStep);  // eigenvectors page
    std::vector<int> rows;
    for (int i = 0; i < count; ++i) rows.push_back(i);
    ExpectChoice(rows);
    doc->ExecuteCommand(kCmdNextStep);
    ExpectReconstruction(method);
    doc->ExecuteCommand(kCmdNextStep);
    ASSERT_EQ(doc->nextStep, kStepResiduals);
  }
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
