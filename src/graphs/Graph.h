#pragma once

#include <QFont>
#include <QImage>
#include <vector>

#include "document/GraphOptions.h"
#include "engine/MaskedSeries.h"
#include "graphs/GraphTexts.h"

class QPaintDevice;
class QPainter;

namespace vorel {

// One graph panel: one graph, or two stacked graphs, each with one to three
// curves over the 1-based index of a series. Owns the user's options for the
// panel. Per drawing: Setup, assign texts and curves, Render.
class Graph {
 public:
  // Shown instead of the graphs when the panel is too small for them.
  static constexpr const char* kTooSmallMessage =
      "No image available. Enlarge program's window, please.";

  // Values computed by the layout of the last drawing.
  struct Layout {
    int leftMargin = 0;
    int rightMargin = 0;
    int topMargin = 0;
    int bottomMargin = 0;
    int legendWidth = 0;   // legend box width (0 without legends)
    int legendHeight = 0;  // legend box height (0 without legends)
    int plotWidth = 0;
    int plotHeight = 0;
    int first = 1;  // first index shown
    int last = 1;   // last index shown
    int labelOrigin = 0;
    double sx = 0;       // X pixels per index
    int xLabelStep = 1;  // k: indices per X label step
    double xStep = 0;    // pixels per X label step
    int xStepCount = 0;  // nX
    int yStepCount = 0;  // nY
    double yStep = 0;    // pixels per Y step
    // The Y range [lo, hi] of each graph.
    std::vector<double> yLow;
    std::vector<double> yHigh;
    // The label-width range over every curve (the left margin is measured on it).
    double labelLow = 0;
    double labelHigh = 0;
  };

  Graph();

  GraphOptions& options() { return options_; }
  const GraphOptions& options() const { return options_; }

  // Sets FontHeight and the derived font sizes; the fonts are made anew at the
  // next Setup.
  void SetFontHeight(int h) { options_.SetFontHeight(h); }

  // Parameters of the next drawing: a width x height picture with graphCount
  // graphs (1 or 2) of curveCount curves each (1 to 3); labelOrigin is the
  // number written under the first X label (0 or 1, raised to the first
  // index shown when that is larger). Chooses the style set by Monochrome and
  // creates the fonts.
  void Setup(int width, int height, int graphCount, int curveCount, int labelOrigin);

  // Texts and curves of the next drawing (see GraphTexts for the order; curve
  // j of graph i at i * curveCount + j). Missing entries count as empty.
  void SetTexts(GraphTexts texts) { texts_ = std::move(texts); }
  void SetCurves(std::vector<MaskedSeries> curves) { curves_ = std::move(curves); }
  const GraphTexts& texts() const { return texts_; }
  const std::vector<MaskedSeries>& curves() const { return curves_; }

  // Draws the panel into a new width x height image. Writes the automatic Y
  // range, the reset X bounds and the point count back into the options.
  // Cost: linear in the number of points drawn.
  QImage Render();
  // Renders and copies the picture to surface at (0, 0).
  void Render(QPaintDevice& surface);

  // Length of the first curve of the last drawing; the options dialog's upper
  // limit of X.
  int pointCount() const { return pointCount_; }
  // False when the last drawing showed the too-small message instead of graphs.
  bool drewGraphs() const { return drewGraphs_; }
  const Layout& layout() const { return layout_; }

  int width() const { return width_; }
  int height() const { return height_; }
  int graphCount() const { return graphCount_; }
  int curveCount() const { return curveCount_; }
  const QFont& normalFont() const { return normalFont_; }
  const QFont& largeFont() const { return largeFont_; }

  // Top and bottom of the band of graph i (the whole height for one graph).
  int BandTop(int i) const;
  int BandBottom(int i) const;
  // Plot rectangle edges of graph i after the layout.
  int PlotLeft() const { return layout_.leftMargin; }
  int PlotRight() const { return width_ - layout_.rightMargin; }
  int PlotTop(int i) const { return BandTop(i) + layout_.topMargin; }
  int PlotBottom(int i) const { return BandBottom(i) - layout_.bottomMargin; }
  // Pixel column of index p and pixel row of value v in graph i.
  int XOf(int p) const;
  int YOf(int graph, double v) const;

 private:
  void DoLayout(QPainter& painter);
  void ComputeSteps();
  void ComputeYRanges();
  void DrawScales(QPainter& painter) const;
  void DrawTexts(QPainter& painter) const;
  void DrawCurves(QPainter& painter) const;
  const std::string& TextAt(const std::vector<std::string>& lines, int index) const;
  const MaskedSeries& CurveAt(int index) const;

  GraphOptions options_;
  GraphTexts texts_;
  std::vector<MaskedSeries> curves_;
  int width_ = 0;
  int height_ = 0;
  int graphCount_ = 1;
  int curveCount_ = 1;
  int labelOrigin_ = 1;
  bool monochrome_ = false;  // the style set chosen at Setup
  QFont normalFont_;
  QFont largeFont_;
  Layout layout_;
  int pointCount_ = 0;
  bool drewGraphs_ = false;
};

}  // namespace vorel
