#include "graphs/PageContents.h"

#include <algorithm>
#include <cstdio>

#include "document/CVorelDoc.h"

namespace vorel {
namespace {

// printf-style text of at most a few hundred characters.
template <typename... Args>
std::string Format(const char* format, Args... args) {
  const int size = std::snprintf(nullptr, 0, format, args...);
  std::string text(static_cast<size_t>(std::max(size, 0)), '\0');
  std::snprintf(text.data(), text.size() + 1, format, args...);
  return text;
}

std::string SourceLine(const CVorelDoc& d) {
  return d.seriesFromFile
             ? Format("File: %s;  Series: %s", d.dataFileName.c_str(), d.seriesName.c_str())
             : std::string("Program simulation");
}

std::string ParameterLine(const CVorelDoc& d) {
  const SsaAnalysis& a = d.analysis;
  return d.cadzowResult
             ? Format("Cadzow iterations: L=%d, N=%d", a.cadzowWindowLength(), a.cadzowIterations())
             : Format("L=%d", a.windowLength());
}

std::string MethodsLine(const CVorelDoc& d) {
  const SsaAnalysis& a = d.analysis;
  return std::string("Methods:   CM - ") +
         (a.covarianceMethod == kCovarianceSvd ? "SVD" : "Toeplitz") + ",   Reconstruction - " +
         (a.reconstructionMethod != kPrincipalComponents ? "Projection" : "PC");
}

std::string ComparedLine(const CVorelDoc& d) {
  return std::string("Compared series: ") +
         (d.comparisonFromFile ? d.compareFileName : std::string("simulated"));
}

MaskedSeries AllPresent(MaskedSeries s) {
  s.SetAllValid(true);
  return s;
}

double FirstValue(const MaskedSeries& s) { return s.length() >= 1 ? s.value(1) : 0.0; }

// Column j of the eigenvectors, every element present; empty when there is no such column.
MaskedSeries EigenvectorColumn(const MaskedMatrix& m, int j) {
  if (j < 1 || j > m.cols()) return MaskedSeries();
  return AllPresent(m.Column(j));
}

}  // namespace

PageContents MakePageContents(const CVorelDoc& d, int width, int height) {
  const SsaAnalysis& a = d.analysis;
  PageContents c;
  c.page = d.currentPage;
  c.width = width;
  c.height = height;
  if (d.currentPage <= PageEmpty || d.currentPage > PageDeviations) {
    c.page = PageEmpty;
    return c;
  }
  c.empty = false;
  c.graphIndex = GraphIndexOfPage(d.currentPage);
  c.labelOrigin = 1;
  GraphTexts& t = c.texts;
  const auto layout = [&](int graphs, int curves) {
    c.graphCount = graphs;
    c.curveCount = curves;
    t.titles.assign(graphs, "");
    t.subtitles.assign(graphs, "");
    t.firstCaptions.assign(graphs, "");
    t.secondCaptions.assign(graphs, "");
    t.legends.assign(graphs * curves, "");
  };

  switch (d.currentPage) {
    case PageAdditionalInfo: {
      layout(2, 1);
      c.labelOrigin = 0;
      c.autoXOff = true;
      t.titles = {"Axis  X / Y:    threshold  /  number of columns after deletion",
                  "Axis  X / Y:    threshold  /  ratio of <<distorted>> products to whole "
                  "number of products"};
      t.subtitles = {" ", " "};
      const std::string l = Format("L=%d", d.addInfoWindowLength);
      t.secondCaptions = {l, l};
      t.legends = {"Initial series", "Rec series"};
      c.curves = {a.columnsAfterDeletion, a.distortedRatio};
      break;
    }
    case PageInitialSeries:
      layout(1, 1);
      t.titles = {"Time series"};
      t.subtitles = {SourceLine(d)};
      t.legends = {"Initial series"};
      c.curves = {a.series};
      break;
    case PageSingularValues: {
      layout(1, 1);
      t.titles = {"Singular values"};
      t.firstCaptions = {Format("L=%d", a.windowLength())};
      t.legends = {"Singular values"};
      // The flags of the eigenvalues mark the selection, not missing values.
      MaskedSeries singular = AllPresent(a.eigenvalues);
      singular.SqrtEach();
      c.curves = {singular};
      break;
    }
    case PageEigenvectors: {
      layout(2, 1);
      const int count = a.eigenvectors.cols();
      const int k = std::clamp(d.firstEigenvector, 1, std::max(1, count - 1));
      for (int g = 0; g < 2; ++g) {
        const int j = k + g;
        t.titles[g] = Format("%s%d", "Eigenvector #", j);
        const double share = j <= a.shares.length() ? a.shares.value(j) : 0.0;
        t.subtitles[g] = Format("Share: %.2lf %s", share, "%");
        t.legends[g] = t.titles[g];
        c.curves.push_back(EigenvectorColumn(a.eigenvectors, j));
      }
      if (width > 480 && height > 240) {
        c.showScrollBar = true;
        c.scrollBarX = width - PageContents::kScrollBarWidth;
        c.width = width - PageContents::kScrollBarWidth;
        c.scrollMax = a.windowLength() - 1;
        c.scrollPosition = d.firstEigenvector;
      }
      break;
    }
    case PageReconstructed:
      layout(1, 1);
      t.titles = {"Reconstructed series"};
      t.subtitles = {SourceLine(d)};
      t.firstCaptions = {ParameterLine(d)};
      t.secondCaptions = {MethodsLine(d)};
      t.legends = {"Reconstructed series"};
      c.curves = {a.reconstructed};
      break;
    case PageInitialAndReconstructed:
      layout(1, 2);
      t.titles = {"Initial and Reconstructed series"};
      t.subtitles = {SourceLine(d)};
      t.firstCaptions = {ParameterLine(d)};
      t.secondCaptions = {MethodsLine(d)};
      t.legends = {"Initial series",
                   d.cadzowResult ? "Rec. series (Cadzow)" : "Reconstructed series"};
      c.curves = {a.series, a.reconstructed};
      break;
    case PageResiduals:
      layout(1, 1);
      t.titles = {"Residuals"};
      t.subtitles = {SourceLine(d)};
      t.firstCaptions = {ParameterLine(d)};
      t.secondCaptions = {MethodsLine(d)};
      t.legends = {"Residuals"};
      c.curves = {a.residuals};
      break;
    case PageDeviations:
      if (d.cadzowResult) {
        layout(2, 1);
        t.titles = {"Total deviation", "Deviation for missing values"};
        t.subtitles = {ComparedLine(d), ComparedLine(d)};
        t.firstCaptions = {"Axis X: number of iteration", "Axis X: number of iteration"};
        t.legends = {"Total deviation", "Deviation for missing values"};
        c.curves = {AllPresent(a.cadzowDeviationValid), AllPresent(a.cadzowDeviationMissing)};
      } else {
        layout(1, 2);
        t.titles = {"Reconstructed and compared series"};
        t.subtitles = {ComparedLine(d)};
        t.firstCaptions = {Format("Total deviation - %lf", FirstValue(a.cadzowDeviationValid))};
        t.secondCaptions = {
            Format("Deviation for missing values - %lf", FirstValue(a.cadzowDeviationMissing))};
        t.legends = {"Reconstructed series", "Compared series"};
        c.curves = {a.reconstructed, d.comparisonSeries};
      }
      break;
    default:
      break;
  }
  return c;
}

}  // namespace vorel
