#include <gtest/gtest.h>

#include <QColor>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <cmath>

#include "graphs/Graph.h"
#include "graphs/GraphFont.h"

namespace vorel {
namespace {

const QRgb kWhite = qRgb(255, 255, 255);
const QRgb kBlack = qRgb(0, 0, 0);
const QRgb kBlue = qRgb(0, 0, 255);
const QRgb kRed = qRgb(255, 0, 0);
const QRgb kGridGrey = qRgb(210, 210, 210);

MaskedSeries Series(std::initializer_list<double> values) {
  MaskedSeries s(static_cast<int>(values.size()));
  int t = 1;
  for (double v : values) s.set(t++, v, true);
  return s;
}

MaskedSeries Constant(int n, double v) {
  MaskedSeries s(n);
  for (int t = 1; t <= n; ++t) s.set(t, v, true);
  return s;
}

QRgb Pixel(const QImage& image, int x, int y) { return image.pixel(x, y) | 0xFF000000; }

// A pixel of colour c at (x, y) or one row above or below (a slanted line's
// rasterisation may round either way).
bool ColourNear(const QImage& image, int x, int y, QRgb c) {
  for (int d = -1; d <= 1; ++d) {
    if (Pixel(image, x, y + d) == c) return true;
  }
  return false;
}

// The row of the middle of the plot of graph i.
int MiddleRow(const Graph& g, int i) {
  return static_cast<int>(g.PlotBottom(i) - (g.PlotBottom(i) - g.PlotTop(i)) * 0.5);
}

// A bare panel: no scale labels, no grid, no points, manual Y range 0..10.
Graph BarePanel() {
  Graph g;
  g.options().ShowScale = false;
  g.options().ShowGrid = false;
  g.options().ShowPoints = false;
  g.options().AutoY = false;
  g.options().YLowerBound = 0;
  g.options().YUpperBound = 10;
  return g;
}

QImage Draw(Graph& g, std::vector<MaskedSeries> curves, int w = 400, int h = 300, int graphs = 1,
            int curvesPerGraph = 1, int origin = 1) {
  g.Setup(w, h, graphs, curvesPerGraph, origin);
  g.SetCurves(std::move(curves));
  return g.Render();
}

TEST(GraphFont, CellHeightAndAverageWidthMatchTheRequest) {
  for (int h : {7, 10, 20, 39}) {
    GraphOptions o;
    o.SetFontHeight(h);
    const QFontMetricsF m(MakeGraphFont(h, o.normalFontWidth));
    EXPECT_NEAR(m.ascent() + m.descent(), h, 1.0) << h;
    // Weighted mean of a few frequent letters and the space, close to the average width.
    const double mean = (m.horizontalAdvance(QStringLiteral("etaoinsr")) / 8.0 * 0.6 +
                         m.horizontalAdvance(QLatin1Char(' ')) * 0.4);
    EXPECT_NEAR(mean, o.normalFontWidth, 0.25 * o.normalFontWidth + 0.5) << h;
  }
}

TEST(GraphLayout, MarginsFollowTextsAndOptions) {
  struct Case {
    int fontHeight;
    bool showScale;
    const char* title;
    const char* subtitle;
    const char* caption1;
    const char* caption2;
    int top;
    int bottom;
  };
  const Case cases[] = {
      {10, false, "", "", "", "", 6, 5},       // trunc(10 * 0.5) + 1; trunc(10 * 0.5)
      {10, true, "T", "", "", "", 13, 15},     // 12 + 1; trunc(10 * 1.5)
      {10, true, "", "S", "C", "", 11, 25},    // 10 + 1; trunc(10 * 2.5)
      {10, true, "T", "S", "C", "D", 23, 35},  // 12 + 10 + 1; trunc(10 * 3.5)
      {10, false, "", "", "", "D", 6, 15},     // second caption alone counts
      {15, true, "", "", "", "", 8, 22},       // trunc(7.5) + 1; trunc(22.5)
      {15, false, "T", "", "C", "", 19, 22},   // trunc(18.75) + 1; trunc(22.5)
  };
  for (const Case& c : cases) {
    Graph g;
    g.SetFontHeight(c.fontHeight);
    g.options().ShowScale = c.showScale;
    g.SetTexts({{c.title}, {c.subtitle}, {c.caption1}, {c.caption2}, {""}});
    Draw(g, {Series({1, 2, 3})});
    EXPECT_EQ(g.layout().topMargin, c.top) << c.fontHeight << c.title << c.subtitle;
    EXPECT_EQ(g.layout().bottomMargin, c.bottom) << c.caption1 << c.caption2;
  }
}

TEST(GraphLayout, LeftMarginMeasuresRangeWithOneMoreDecimal) {
  Graph g;
  g.options().Precision = 2;
  Draw(g, {Series({-3.5, 0, 12.25})});
  const QFontMetrics m(g.normalFont());
  EXPECT_EQ(g.layout().leftMargin,
            std::max(m.horizontalAdvance("-3.500"), m.horizontalAdvance("12.250")) + 4);

  g.options().ShowScale = false;
  Draw(g, {Series({-3.5, 0, 12.25})});
  EXPECT_EQ(g.layout().leftMargin, 10);
  EXPECT_EQ(g.layout().rightMargin, 10);
}

TEST(GraphLayout, LegendSetsRightMarginAndDrawsCurveSample) {
  Graph g = BarePanel();
  g.options().ShowLegends = true;
  g.SetTexts({{""}, {""}, {""}, {""}, {"Initial series", "Rec"}});
  const QImage image = Draw(g, {Constant(5, 1), Constant(5, 2)}, 400, 300, 1, 2);
  const int lw = QFontMetrics(g.normalFont()).horizontalAdvance("Initial series");
  EXPECT_EQ(g.layout().rightMargin, lw + 32);
  EXPECT_EQ(g.layout().legendWidth, lw + 24);
  EXPECT_EQ(g.layout().legendHeight, 2 * 10 + 1);
  const int r = 400 - g.layout().rightMargin;
  const int top = g.PlotTop(0);
  EXPECT_EQ(Pixel(image, r + 17, top + 6), kBlue);      // trunc(top + 0 + 5 + 1)
  EXPECT_EQ(Pixel(image, r + 17, top + 10 + 6), kRed);  // second curve, one line lower
  // The dotted box spans x = r + 5 .. r + 5 + width - 1 and y = top .. top + height - 1.
  const int boxRight = r + 5 + g.layout().legendWidth - 1;
  const int boxBottom = top + g.layout().legendHeight - 1;
  int rightEdge = 0, beyondRight = 0, bottomEdge = 0, belowBottom = 0;
  for (int y = top; y <= boxBottom + 1; ++y) {
    rightEdge += y <= boxBottom && Pixel(image, boxRight, y) == kBlack;
    beyondRight += Pixel(image, boxRight + 1, y) == kBlack;
  }
  for (int x = r + 5; x <= boxRight + 1; ++x) {
    bottomEdge += x >= r + 40 && x <= boxRight && Pixel(image, x, boxBottom) == kBlack;
    belowBottom += Pixel(image, x, boxBottom + 1) == kBlack;
  }
  EXPECT_GE(rightEdge, 5);
  EXPECT_GE(bottomEdge, 5);
  EXPECT_EQ(beyondRight, 0);
  EXPECT_EQ(belowBottom, 0);
}

TEST(GraphLayout, XRangeFallsBackAndWritesBoundsBack) {
  struct Case {
    bool autoX;
    int left, right;
    int first, last;  // expected
    int labelOrigin;  // given 1
  };
  const Case cases[] = {
      {false, 3, 8, 3, 8, 3},    // valid manual range: origin raised to first
      {false, 5, 5, 1, 20, 1},   // equal bounds: whole series
      {false, 0, 8, 1, 20, 1},   // below 1
      {false, 3, 21, 1, 20, 1},  // beyond the length
      {true, 3, 8, 1, 20, 1},    // automatic
  };
  for (const Case& c : cases) {
    Graph g;
    g.options().AutoX = c.autoX;
    g.options().XLeftBound = c.left;
    g.options().XRightBound = c.right;
    Draw(g, {Constant(20, 1)});
    EXPECT_EQ(g.layout().first, c.first) << c.left << ".." << c.right;
    EXPECT_EQ(g.layout().last, c.last) << c.left << ".." << c.right;
    EXPECT_EQ(g.layout().labelOrigin, c.labelOrigin);
    const bool kept = c.first != 1;
    EXPECT_EQ(g.options().XLeftBound, kept ? c.left : 1);
    EXPECT_EQ(g.options().XRightBound, kept ? c.right : 20);
    EXPECT_EQ(g.pointCount(), 20);
  }
  // Origin 0 stays 0 whatever the range.
  Graph g;
  g.options().AutoX = false;
  g.options().XLeftBound = 3;
  g.options().XRightBound = 8;
  Draw(g, {Constant(20, 1)}, 400, 300, 1, 1, 0);
  EXPECT_EQ(g.layout().labelOrigin, 0);
}

TEST(GraphLayout, AutoYWritesWholeSeriesRangeButScalesVisiblePart) {
  Graph g;
  g.options().AutoX = false;
  g.options().XLeftBound = 4;
  g.options().XRightBound = 6;
  MaskedSeries a = Series({-7, 1, 2, 3, 4, 5, 9});
  MaskedSeries b = Series({0, 0, 0, 2.5, 0, 0, 0});
  b.setValid(1, false);  // missing values never count
  b.value(1) = -100;
  Draw(g, {a, b}, 400, 300, 1, 2);
  EXPECT_EQ(g.options().YLowerBound, -7);
  EXPECT_EQ(g.options().YUpperBound, 9);
  EXPECT_EQ(g.layout().yLow[0], 0);   // b's zero at index 5
  EXPECT_EQ(g.layout().yHigh[0], 5);  // a's 5 at index 6
}

TEST(GraphLayout, ManualYBoundsNarrowTheLabelRangeAndScale) {
  Graph g;
  g.options().AutoY = false;
  g.options().YLowerBound = -1;
  g.options().YUpperBound = 100;
  Draw(g, {Series({-50, 3, 40})});
  EXPECT_EQ(g.layout().labelLow, -1);
  EXPECT_EQ(g.layout().labelHigh, 40);
  EXPECT_EQ(g.layout().yLow[0], -1);
  EXPECT_EQ(g.layout().yHigh[0], 100);
  EXPECT_EQ(g.options().YLowerBound, -1);  // nothing written back
  EXPECT_EQ(g.options().YUpperBound, 100);
}

TEST(GraphLayout, EmptyOrConstantRangesAreWidened) {
  Graph g;
  MaskedSeries none(6);
  none.SetAllValid(false);
  Draw(g, {none});
  EXPECT_EQ(g.layout().yLow[0], -10);
  EXPECT_EQ(g.layout().yHigh[0], 10);
  EXPECT_EQ(g.options().YLowerBound, -10);
  EXPECT_EQ(g.options().YUpperBound, 10);

  // Constant: the written-back range is the value itself, the plot spans +-10.
  const QImage image = Draw(g, {Constant(6, 3)});
  EXPECT_EQ(g.options().YLowerBound, 3);
  EXPECT_EQ(g.options().YUpperBound, 3);
  EXPECT_EQ(g.layout().yLow[0], -7);
  EXPECT_EQ(g.layout().yHigh[0], 13);
  EXPECT_EQ(g.YOf(0, 3), MiddleRow(g, 0));
  EXPECT_EQ(Pixel(image, (g.XOf(2) + g.XOf(3)) / 2, MiddleRow(g, 0)), kBlue);

  // A visible range without present values: -10..10, whatever lies elsewhere.
  MaskedSeries gap = Series({50, 60, 0, 0, 0, 70});
  for (int t = 3; t <= 5; ++t) gap.setValid(t, false);
  g.options().AutoX = false;
  g.options().XLeftBound = 3;
  g.options().XRightBound = 5;
  Draw(g, {gap});
  EXPECT_EQ(g.layout().yLow[0], -10);
  EXPECT_EQ(g.layout().yHigh[0], 10);
  EXPECT_EQ(g.options().YLowerBound, 50);
  EXPECT_EQ(g.options().YUpperBound, 70);

  // Square roots of negative eigenvalues are present but not numbers: they
  // count as missing, so a visible range of them alone spans -10..10 too.
  MaskedSeries roots = Series({3, 2, 1, std::sqrt(-1.0), std::sqrt(-2.0), std::sqrt(-3.0)});
  g.options().XLeftBound = 4;
  g.options().XRightBound = 6;
  Draw(g, {roots});
  EXPECT_EQ(g.layout().yLow[0], -10);
  EXPECT_EQ(g.layout().yHigh[0], 10);
  EXPECT_EQ(g.options().YLowerBound, 1);
  EXPECT_EQ(g.options().YUpperBound, 3);
  MaskedSeries allNaN = Constant(6, std::nan(""));
  Draw(g, {allNaN});
  EXPECT_EQ(g.options().YLowerBound, -10);
  EXPECT_EQ(g.options().YUpperBound, 10);
}

TEST(GraphLayout, XAndYSteps) {
  Graph g = BarePanel();
  // 400 x 300, margins 10/10, top 6, bottom 5: plot 380 x 289.
  Draw(g, {Constant(11, 1)});
  EXPECT_EQ(g.layout().plotWidth, 380);
  EXPECT_EQ(g.layout().plotHeight, 289);
  EXPECT_EQ(g.layout().xLabelStep, 1);  // 38 px per index > 5 * (2 + 2)
  EXPECT_EQ(g.layout().xStepCount, 10);
  EXPECT_DOUBLE_EQ(g.layout().xStep, 38.0);
  EXPECT_EQ(g.layout().yStepCount, 14);  // 289 / 14 >= 20 > 289 / 15
  EXPECT_DOUBLE_EQ(g.layout().yStep, 289.0 / 14);

  // 1001 points: label width 5 * (4 + 2) = 30; 380 * 79 / 1000 > 30 >= 380 * 78 / 1000.
  Draw(g, {Constant(1001, 1)});
  EXPECT_EQ(g.layout().xLabelStep, 79);
  EXPECT_EQ(g.layout().xStepCount, 12);
  EXPECT_DOUBLE_EQ(g.layout().sx, 0.38);

  // Stacked: lower plot 600 - 5 - 306 = 289; halving 100 until 289 / n >= 12.
  Draw(g, {Constant(11, 1), Constant(11, 2)}, 600, 600, 2, 1);
  EXPECT_EQ(g.layout().plotHeight, 289);
  EXPECT_EQ(g.layout().yStepCount, 12);
  EXPECT_EQ(g.PlotTop(1), 306);
  EXPECT_EQ(g.PlotBottom(0), 295);
}

TEST(GraphLayout, SinglePointGetsOneStepOfOneIndex) {
  Graph g;
  const QImage image = Draw(g, {Series({4.0})});
  ASSERT_TRUE(g.drewGraphs());
  EXPECT_EQ(g.layout().xLabelStep, 1);
  EXPECT_EQ(g.layout().xStepCount, 1);
  EXPECT_EQ(g.pointCount(), 1);
  // The marker sits on the left edge of the plot, in the middle of the range.
  const int y = g.YOf(0, 4.0);
  EXPECT_EQ(Pixel(image, g.PlotLeft() + 2, y), kBlue);
}

TEST(GraphRender, SizeCheckShowsTheMessageOnly) {
  struct Case {
    int w, h, graphs;
    bool drawn;
  };
  const Case cases[] = {{241, 241, 1, true},
                        {240, 300, 1, false},
                        {300, 240, 1, false},
                        {480, 600, 2, false},
                        {481, 241, 2, true}};
  for (const Case& c : cases) {
    Graph g;
    std::vector<MaskedSeries> curves(c.graphs, Constant(10, 1));
    const QImage image = Draw(g, curves, c.w, c.h, c.graphs, 1);
    EXPECT_EQ(g.drewGraphs(), c.drawn) << c.w << "x" << c.h;
    ASSERT_EQ(image.size(), QSize(c.w, c.h));
    if (c.drawn) continue;
    // Only the message's line carries ink.
    int inkTop = c.h, inkBottom = -1, inkRight = -1;
    for (int y = 0; y < c.h; ++y) {
      for (int x = 0; x < c.w; ++x) {
        if (Pixel(image, x, y) != kWhite) {
          inkTop = std::min(inkTop, y);
          inkBottom = std::max(inkBottom, y);
          inkRight = std::max(inkRight, x);
        }
      }
    }
    EXPECT_LE(inkTop, 3);
    EXPECT_LT(inkBottom, 12);
    EXPECT_GT(inkRight, 200);  // a long line of text
  }
  EXPECT_STREQ(Graph::kTooSmallMessage, "No image available. Enlarge program's window, please.");
}

TEST(GraphRender, DegenerateLayoutShowsTheMessage) {
  // Huge scale labels leave no plot width: no drawing of garbage, no hang.
  Graph g;
  g.SetFontHeight(39);
  g.options().Precision = 9;
  const QImage image = Draw(g, {Series({-1.0e12, 1.0e12})}, 300, 300);
  EXPECT_FALSE(g.drewGraphs());
}

TEST(GraphRender, CurveMarkersAndSegments) {
  Graph g = BarePanel();
  g.options().ShowPoints = true;
  const QImage image = Draw(g, {Series({5, 5, 5, 5, 5, 2})});
  const int y = g.YOf(0, 5);
  EXPECT_EQ(y, MiddleRow(g, 0));
  // Segment between markers.
  const int midX = (g.XOf(2) + g.XOf(3)) / 2;
  EXPECT_EQ(Pixel(image, midX, y), kBlue);
  EXPECT_EQ(Pixel(image, midX, y - 1), kWhite);
  // Marker: 5 x 5 around the point.
  const int x3 = g.XOf(3);
  for (int d : {-2, 2}) {
    EXPECT_EQ(Pixel(image, x3 + d, y + d), kBlue);
    EXPECT_EQ(Pixel(image, x3 - d, y + d), kBlue);
  }
  EXPECT_EQ(Pixel(image, x3 - 3, y - 3), kWhite);
  EXPECT_EQ(Pixel(image, x3 + 3, y + 3), kWhite);
  // The last segment goes down to 2.
  EXPECT_TRUE(ColourNear(image, (g.XOf(5) + g.XOf(6)) / 2, (g.YOf(0, 5) + g.YOf(0, 2)) / 2, kBlue));
}

TEST(GraphRender, GridAndZeroLine) {
  Graph g = BarePanel();
  g.options().ShowGrid = true;
  g.options().YLowerBound = -10;
  g.options().YUpperBound = 10;
  const QImage image = Draw(g, {Constant(11, 7)});
  const int top = g.PlotTop(0), bottom = g.PlotBottom(0), left = g.PlotLeft();
  // Vertical grid line of label step 3, away from the curve and the horizontal lines.
  const int x3 = static_cast<int>(3 * g.layout().xStep) + left;
  const int yBetween = static_cast<int>(bottom - 1.5 * g.layout().yStep);
  EXPECT_EQ(Pixel(image, x3, yBetween), kGridGrey);
  EXPECT_EQ(Pixel(image, x3 + 3, yBetween), kWhite);
  // Horizontal grid line of step 2.
  const int y2 = static_cast<int>(bottom - 2 * g.layout().yStep);
  EXPECT_EQ(Pixel(image, x3 + 5, y2), kGridGrey);
  // Zero line in the middle, blue, over the grid.
  const int y0 = g.YOf(0, 0.0);
  EXPECT_EQ(y0, MiddleRow(g, 0));
  EXPECT_EQ(Pixel(image, x3 + 5, y0), kBlue);
  EXPECT_EQ(Pixel(image, x3 + 5, y0 + 1), kWhite);
  // Frame.
  EXPECT_EQ(Pixel(image, x3 + 5, top), kBlack);
  EXPECT_EQ(Pixel(image, left, yBetween), kBlack);
  EXPECT_EQ(Pixel(image, g.PlotRight(), yBetween), kBlack);
}

TEST(GraphRender, MissingValuesAreMarkedAndLeaveGaps) {
  Graph g = BarePanel();
  MaskedSeries s = Constant(9, 5);
  s.setValid(5, false);
  s.value(5) = 1000;  // never drawn
  const QImage image = Draw(g, {s});
  const int x5 = g.XOf(5);
  const int y = g.YOf(0, 5);
  int black = 0, white = 0;
  for (int yy = g.PlotTop(0) + 1; yy < g.PlotBottom(0); ++yy) {
    const QRgb p = Pixel(image, x5, yy);
    black += p == kBlack;
    white += p == kWhite;
  }
  EXPECT_GT(black, 20);  // dotted: black and white alternate
  EXPECT_GT(white, 20);
  // No line joins the missing point to its neighbours.
  EXPECT_EQ(Pixel(image, (g.XOf(4) + x5) / 2, y), kWhite);
  EXPECT_EQ(Pixel(image, (x5 + g.XOf(6)) / 2, y), kWhite);
  EXPECT_EQ(Pixel(image, (g.XOf(3) + g.XOf(4)) / 2, y), kBlue);

  g.options().ShowMV = false;
  const QImage plain = Draw(g, {s});
  for (int yy = g.PlotTop(0) + 1; yy < g.PlotBottom(0); ++yy) {
    ASSERT_NE(Pixel(plain, x5, yy), kBlack) << yy;
  }
}

TEST(GraphRender, AllMissingMarksEveryInteriorPosition) {
  Graph g;
  g.options().ShowGrid = false;
  MaskedSeries none(7);
  none.SetAllValid(false);
  const QImage image = Draw(g, {none});
  for (int p = 2; p <= 6; ++p) {
    int black = 0;
    for (int y = g.PlotTop(0) + 1; y < g.PlotBottom(0); ++y)
      black += Pixel(image, g.XOf(p), y) == kBlack;
    EXPECT_GT(black, 10) << p;
  }
}

TEST(GraphRender, SegmentsAreClippedToTheBand) {
  Graph g = BarePanel();  // band 0..10
  // 1 -> 2: from above into the band; 3 -> 4 crosses both levels; 5 -> 6 from
  // the lower level to beyond the upper one; 7 -> 8 entirely above.
  const QImage image = Draw(g, {Series({20, 5, -10, 20, 0, 20, 30, 40})});
  const int top = g.PlotTop(0), bottom = g.PlotBottom(0);
  const auto at = [&](int p, double t) {
    return static_cast<int>(g.XOf(p) + (g.XOf(p + 1) - g.XOf(p)) * t);
  };
  // Enters on the top edge at the interpolated x (t = 10 / 15).
  EXPECT_EQ(Pixel(image, at(1, 10.0 / 15), top), kBlue);
  EXPECT_EQ(Pixel(image, at(1, 10.0 / 15) - 3, top), kBlack);
  // Crosses both: bottom at t = 10 / 30, top at t = 20 / 30.
  EXPECT_EQ(Pixel(image, at(3, 10.0 / 30), bottom), kBlue);
  EXPECT_EQ(Pixel(image, at(3, 20.0 / 30), top), kBlue);
  // From the lower level up through the top (t = 0.5).
  EXPECT_EQ(Pixel(image, at(5, 0.5), top), kBlue);
  EXPECT_TRUE(ColourNear(image, at(5, 0.25), MiddleRow(g, 0), kBlue));
  // Nothing of 7 -> 8 inside the plot.
  for (int x = g.XOf(7) + 1; x < g.XOf(8); ++x) {
    for (int y = top + 1; y < bottom; ++y) ASSERT_EQ(Pixel(image, x, y), kWhite);
  }
}

TEST(GraphRender, MonochromeLineWidths) {
  const auto thickness = [](const QImage& image, int x, int y0) {
    int n = 0;
    for (int y = y0 - 4; y <= y0 + 4; ++y) n += Pixel(image, x, y) == kBlack;
    return n;
  };
  Graph g = BarePanel();
  g.options().Monochrome = true;
  QImage image = Draw(g, {Constant(5, 5)});
  const int x = (g.XOf(2) + g.XOf(3)) / 2;
  EXPECT_EQ(thickness(image, x, g.YOf(0, 5)), 2);

  image = Draw(g, {Constant(5, 3), Constant(5, 7)}, 400, 300, 1, 2);
  EXPECT_EQ(thickness(image, x, g.YOf(0, 3)), 1);
  EXPECT_EQ(thickness(image, x, g.YOf(0, 7)), 2);

  g.options().Monochrome = false;
  image = Draw(g, {Constant(5, 3), Constant(5, 7)}, 400, 300, 1, 2);
  EXPECT_EQ(Pixel(image, x, g.YOf(0, 3)), kBlue);
  EXPECT_EQ(Pixel(image, x, g.YOf(0, 7)), kRed);
}

TEST(GraphRender, StackedGraphsAndTitles) {
  Graph g;
  g.options().ShowScale = false;
  g.SetTexts({{"Eigenvector #1", "Eigenvector #2"}, {"", ""}, {"", ""}, {"", ""}, {"a", "b"}});
  const QImage image = Draw(g, {Constant(10, 1), Constant(10, 2)}, 600, 400, 2, 1);
  ASSERT_TRUE(g.drewGraphs());
  EXPECT_EQ(g.BandBottom(0), 200);
  EXPECT_EQ(g.PlotTop(1), 200 + 12 + 1);
  // Separator across the whole width.
  EXPECT_EQ(Pixel(image, 1, 200), kBlack);
  EXPECT_EQ(Pixel(image, 598, 200), kBlack);
  // Each title is centred on the plot's middle, in its own band.
  const int centre = static_cast<int>(g.layout().plotWidth * 0.5 + g.PlotLeft());
  for (int band : {0, 1}) {
    int minX = 600, maxX = -1;
    for (int y = band * 200 + 1; y < band * 200 + 13; ++y) {
      for (int x = 0; x < 600; ++x) {
        if (qGray(image.pixel(x, y)) < 128) {
          minX = std::min(minX, x);
          maxX = std::max(maxX, x);
        }
      }
    }
    ASSERT_GE(maxX, 0) << band;
    EXPECT_NEAR((minX + maxX) / 2.0, centre, 3) << band;
  }
}

}  // namespace
}  // namespace vorel
