#pragma once

namespace vorel {

// The pages of the view (CVorelDoc::currentPage and highestPage). Every page
// from PageAdditionalInfo on has a graph of its own: graph index = page - 21.
enum ViewPage : int {
  PageEmpty = 20,
  PageAdditionalInfo = 21,
  PageInitialSeries = 22,
  PageSingularValues = 23,
  PageEigenvectors = 24,
  PageReconstructed = 25,
  PageInitialAndReconstructed = 26,
  PageResiduals = 27,
  PageDeviations = 28,
};

inline constexpr int GraphIndexOfPage(int page) { return page - PageAdditionalInfo; }

}  // namespace vorel
