#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <cmath>

#include "RecordingHost.h"
#include "document/CVorelDoc.h"
#include "graphs/PageContents.h"
#include "graphs/PageRenderer.h"

namespace vorel {
namespace {

MaskedSeries Ramp(int n, double scale) {
  MaskedSeries s(n);
  for (int t = 1; t <= n; ++t) s.set(t, scale * t, true);
  return s;
}

// A document with the results of every step filled in by hand: series of 20
// values (one missing), L = 5.
class PageContentsTest : public testing::Test {
 protected:
  PageContentsTest() : host(dir.path().toStdString()), doc(host) {
    SsaAnalysis& a = doc.analysis;
    a.series = Ramp(20, 1.0);
    a.series.setValid(7, false);
    a.SetWindowLength(5);
    a.SetCadzowWindowLength(6);
    a.SetCadzowIterations(4);
    a.eigenvalues = Ramp(5, 4.0);  // 4, 8, ...: square roots 2, 2.83, ...
    a.eigenvalues.SetAllValid(false);
    a.shares = Ramp(5, 10.0);
    a.shares.value(2) = 24.5;
    a.shares.value(3) = 12.254;
    a.eigenvectors.Resize(5, 5);
    for (int i = 1; i <= 5; ++i) {
      for (int j = 1; j <= 5; ++j) a.eigenvectors.set(i, j, 10 * i + j, i != 2);
    }
    a.reconstructed = Ramp(20, 1.5);
    a.residuals = Ramp(20, -0.5);
    a.columnsAfterDeletion = Ramp(6, 2.0);
    a.distortedRatio = Ramp(6, 0.1);
    a.cadzowDeviationValid = Ramp(3, 0.1234567);
    a.cadzowDeviationMissing = Ramp(3, 2.5);
    a.cadzowDeviationMissing.setValid(2, false);
    a.covarianceMethod = kCovarianceSvd;
    a.reconstructionMethod = kPrincipalComponents;
    doc.comparisonSeries = Ramp(20, 0.9);
    doc.seriesFromFile = true;
    doc.dataFileName = "data.txt";
    doc.seriesName = "Col 2";
    doc.addInfoWindowLength = 12;
    doc.highestPage = PageDeviations;
  }

  PageContents Show(int page, int w = 800, int h = 600) {
    doc.currentPage = page;
    return MakePageContents(doc, w, h);
  }

  QTemporaryDir dir;
  test::RecordingHost host;
  CVorelDoc doc;
};

using Lines = std::vector<std::string>;

TEST_F(PageContentsTest, TextsAndLayoutOfEveryPage) {
  const std::string source = "File: data.txt;  Series: Col 2";
  const std::string methods = "Methods:   CM - SVD,   Reconstruction - PC";
  struct Case {
    int page;
    int graphs, curves, origin;
    GraphTexts texts;
  };
  const Case cases[] = {
      {PageAdditionalInfo,
       2,
       1,
       0,
       {{"Axis  X / Y:    threshold  /  number of columns after deletion",
         "Axis  X / Y:    threshold  /  ratio of <<distorted>> products to whole number of "
         "products"},
        {" ", " "},
        {"", ""},
        {"L=12", "L=12"},
        {"Initial series", "Rec series"}}},
      {PageInitialSeries, 1, 1, 1, {{"Time series"}, {source}, {""}, {""}, {"Initial series"}}},
      {PageSingularValues,
       1,
       1,
       1,
       {{"Singular values"}, {""}, {"L=5"}, {""}, {"Singular values"}}},
      {PageReconstructed,
       1,
       1,
       1,
       {{"Reconstructed series"}, {source}, {"L=5"}, {methods}, {"Reconstructed series"}}},
      {PageInitialAndReconstructed,
       1,
       2,
       1,
       {{"Initial and Reconstructed series"},
        {source},
        {"L=5"},
        {methods},
        {"Initial series", "Reconstructed series"}}},
      {PageResiduals, 1, 1, 1, {{"Residuals"}, {source}, {"L=5"}, {methods}, {"Residuals"}}},
      {PageDeviations,
       1,
       2,
       1,
       {{"Reconstructed and compared series"},
        {"Compared series: simulated"},
        {"Total deviation - 0.123457"},
        {"Deviation for missing values - 2.500000"},
        {"Reconstructed series", "Compared series"}}},
  };
  for (const Case& c : cases) {
    const PageContents p = Show(c.page);
    EXPECT_FALSE(p.empty) << c.page;
    EXPECT_EQ(p.graphIndex, c.page - 21);
    EXPECT_EQ(p.graphCount, c.graphs) << c.page;
    EXPECT_EQ(p.curveCount, c.curves) << c.page;
    EXPECT_EQ(p.labelOrigin, c.origin) << c.page;
    EXPECT_EQ(p.texts, c.texts) << c.page;
    EXPECT_EQ(static_cast<int>(p.curves.size()), c.graphs * c.curves) << c.page;
    EXPECT_EQ(p.autoXOff, c.page == PageAdditionalInfo);
    EXPECT_FALSE(p.showScrollBar);
    EXPECT_EQ(p.width, 800);
  }
  EXPECT_TRUE(Show(PageEmpty).empty);
}

TEST_F(PageContentsTest, SourceParameterMethodsAndComparedLines) {
  doc.seriesFromFile = false;
  doc.cadzowResult = true;
  doc.comparisonFromFile = true;
  doc.compareFileName = "ref.csv";
  doc.analysis.covarianceMethod = kCovarianceToeplitz;
  doc.analysis.reconstructionMethod = kProjection;
  PageContents p = Show(PageInitialAndReconstructed);
  EXPECT_EQ(p.texts.subtitles, Lines{"Program simulation"});
  EXPECT_EQ(p.texts.firstCaptions, Lines{"Cadzow iterations: L=6, N=4"});
  EXPECT_EQ(p.texts.secondCaptions,
            Lines{"Methods:   CM - Toeplitz,   Reconstruction - Projection"});
  EXPECT_EQ(p.texts.legends, (Lines{"Initial series", "Rec. series (Cadzow)"}));
  // The reconstruction page keeps its own name after Cadzow iterations.
  EXPECT_EQ(Show(PageReconstructed).texts.legends, Lines{"Reconstructed series"});

  p = Show(PageDeviations);
  EXPECT_EQ(p.graphCount, 2);
  EXPECT_EQ(p.curveCount, 1);
  EXPECT_EQ(p.texts.titles, (Lines{"Total deviation", "Deviation for missing values"}));
  EXPECT_EQ(p.texts.subtitles, (Lines{"Compared series: ref.csv", "Compared series: ref.csv"}));
  EXPECT_EQ(p.texts.firstCaptions,
            (Lines{"Axis X: number of iteration", "Axis X: number of iteration"}));
  EXPECT_EQ(p.texts.legends, p.texts.titles);
  ASSERT_EQ(p.curves.size(), 2u);
  EXPECT_EQ(p.curves[1].length(), 3);
  EXPECT_TRUE(p.curves[1].isValid(2));  // all present
  EXPECT_EQ(p.curves[1].value(2), 5.0);
}

TEST_F(PageContentsTest, CurvesAreCopiesOfTheResults) {
  PageContents p = Show(PageInitialAndReconstructed);
  EXPECT_EQ(p.curves[0], doc.analysis.series);
  EXPECT_EQ(p.curves[1], doc.analysis.reconstructed);
  EXPECT_FALSE(p.curves[0].isValid(7));

  p = Show(PageSingularValues);
  ASSERT_EQ(p.curves[0].length(), 5);
  for (int t = 1; t <= 5; ++t) {
    EXPECT_DOUBLE_EQ(p.curves[0].value(t), std::sqrt(4.0 * t));
    EXPECT_TRUE(p.curves[0].isValid(t));
  }
  EXPECT_FALSE(doc.analysis.eigenvalues.isValid(1));  // the document's flags stay

  p = Show(PageAdditionalInfo);
  EXPECT_EQ(p.curves[0], doc.analysis.columnsAfterDeletion);
  EXPECT_EQ(p.curves[1], doc.analysis.distortedRatio);
}

TEST_F(PageContentsTest, EigenvectorPageAndItsScrollBar) {
  doc.firstEigenvector = 2;
  PageContents p = Show(PageEigenvectors, 490, 300);
  EXPECT_EQ(p.texts.titles, (Lines{"Eigenvector #2", "Eigenvector #3"}));
  EXPECT_EQ(p.texts.subtitles, (Lines{"Share: 24.50 %", "Share: 12.25 %"}));
  EXPECT_EQ(p.texts.legends, p.texts.titles);
  ASSERT_EQ(p.curves.size(), 2u);
  for (int i = 1; i <= 5; ++i) {
    EXPECT_EQ(p.curves[0].value(i), 10 * i + 2);
    EXPECT_EQ(p.curves[1].value(i), 10 * i + 3);
    EXPECT_TRUE(p.curves[0].isValid(i));
  }
  EXPECT_TRUE(p.showScrollBar);
  EXPECT_EQ(p.scrollBarX, 475);
  EXPECT_EQ(p.width, 475);
  EXPECT_EQ(p.scrollMax, 4);
  EXPECT_EQ(p.scrollPosition, 2);

  for (auto [w, h] : {std::pair{480, 300}, std::pair{800, 240}}) {
    p = Show(PageEigenvectors, w, h);
    EXPECT_FALSE(p.showScrollBar) << w << "x" << h;
    EXPECT_EQ(p.width, w);
  }
}

TEST_F(PageContentsTest, RenderingWritesOnlyThePageOptions) {
  PageGraphs graphs;
  const GraphOptionsSet before = doc.graphOptions;
  const MaskedSeries series = doc.analysis.series;
  doc.graphOptions[GraphIndexOfPage(PageInitialSeries)].AutoX = false;
  doc.graphOptions[GraphIndexOfPage(PageInitialSeries)].XLeftBound = 5;
  doc.graphOptions[GraphIndexOfPage(PageInitialSeries)].XRightBound = 5;
  doc.currentPage = PageInitialSeries;
  const QImage image = RenderPage(doc, graphs, 640, 480);
  EXPECT_EQ(image.size(), QSize(640, 480));
  const GraphOptions& o = doc.graphOptions[1];
  EXPECT_EQ(o.XLeftBound, 1);  // equal bounds: whole series, reset
  EXPECT_EQ(o.XRightBound, 20);
  EXPECT_EQ(o.YLowerBound, 1);  // the automatic range, 7 missing
  EXPECT_EQ(o.YUpperBound, 20);
  EXPECT_EQ(graphs[1].pointCount(), 20);
  EXPECT_EQ(doc.analysis.series, series);
  for (int g = 0; g < kGraphCount; ++g) {
    if (g != 1) {
      EXPECT_EQ(doc.graphOptions[g], before[g]) << g;
    }
  }

  // The additional-information page switches its graph's AutoX off for good.
  doc.currentPage = PageAdditionalInfo;
  RenderPage(doc, graphs, 640, 480);
  EXPECT_FALSE(doc.graphOptions[0].AutoX);
  EXPECT_TRUE(graphs[0].drewGraphs());
}

TEST_F(PageContentsTest, EigenvectorPageAt490ShowsTheMessage) {
  PageGraphs graphs;
  doc.currentPage = PageEigenvectors;
  const QImage image = RenderPage(doc, graphs, 490, 400);
  EXPECT_EQ(image.width(), 490);
  EXPECT_EQ(graphs[3].width(), 475);
  EXPECT_FALSE(graphs[3].drewGraphs());
  RenderPage(doc, graphs, 600, 400);
  EXPECT_TRUE(graphs[3].drewGraphs());
}

TEST_F(PageContentsTest, EmptyPageIsAFramedWhiteRectangle) {
  PageGraphs graphs;
  doc.currentPage = PageEmpty;
  const QImage image = RenderPage(doc, graphs, 300, 200);
  ASSERT_EQ(image.size(), QSize(300, 200));
  const QRgb black = qRgb(0, 0, 0), white = qRgb(255, 255, 255);
  for (auto [x, y] : {std::pair{0, 0}, std::pair{299, 0}, std::pair{0, 199}, std::pair{299, 199},
                      std::pair{150, 0}, std::pair{0, 100}}) {
    EXPECT_EQ(image.pixel(x, y), black) << x << "," << y;
  }
  for (int y = 1; y < 199; ++y) {
    for (int x = 1; x < 299; ++x) ASSERT_EQ(image.pixel(x, y), white);
  }
}

}  // namespace
}  // namespace vorel
