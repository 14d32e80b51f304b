#include "graphs/Graph.h"

#include <QFontMetrics>
#include <QLine>
#include <QPainter>
#include <QRect>
#include <QString>
#include <QVector>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "graphs/GraphFont.h"

namespace vorel {
namespace {

// Truncation toward zero of a pixel coordinate, kept inside a range that
// QPainter handles; NaN maps to 0.
int Trunc(double v) {
  if (std::isnan(v)) return 0;
  return static_cast<int>(std::clamp(v, -1.0e9, 1.0e9));
}

// A value in fixed notation with the given number of decimals ("%.<n>lf").
std::string FormatFixed(double v, int decimals) {
  decimals = std::clamp(decimals, 0, 100);
  const int size = std::snprintf(nullptr, 0, "%.*f", decimals, v);
  std::string text(static_cast<size_t>(std::max(size, 0)), '\0');
  std::snprintf(text.data(), text.size() + 1, "%.*f", decimals, v);
  return text;
}

QString ToQString(const std::string& s) { return QString::fromUtf8(s.data(), qsizetype(s.size())); }

// Left/top aligned text: (x, y) is the top left corner of the text cell.
void DrawTextAt(QPainter& painter, int x, int y, const QString& text) {
  painter.drawText(QPoint(x, y + painter.fontMetrics().ascent()), text);
}

int TextWidth(const QFont& font, const std::string& text) {
  return QFontMetrics(font).horizontalAdvance(ToQString(text));
}

// Least and greatest present value of a curve among from..to; values that are
// not finite are never drawn and count as missing (MaskedSeries::MinValid).
struct ValueRange {
  double low = std::numeric_limits<double>::infinity();
  double high = -std::numeric_limits<double>::infinity();
  bool any = false;
};

ValueRange RangeOf(const MaskedSeries& curve, int from, int to) {
  ValueRange range;
  const std::optional<double> low = curve.MinValid(from, to);
  if (low) {
    range.low = *low;
    range.high = *curve.MaxValid(from, to);
    range.any = true;
  }
  return range;
}

// Adds a curve's range to [low, high]; a curve with nothing to show counts as
// -10 to 10.
void Widen(double& low, double& high, const ValueRange& range) {
  low = std::min(low, range.any ? range.low : -10.0);
  high = std::max(high, range.any ? range.high : 10.0);
}

// The pens of one drawing, chosen by the monochrome option.
struct StyleSet {
  QPen curve[3];
  QColor marker[3];
  QPen grid;
  QPen zero;
  QPen frame;
  QPen missing;
  QPen legendBox;

  StyleSet(bool monochrome, int curveCount) {
    frame = QPen(Qt::black, 1, Qt::SolidLine);
    legendBox = QPen(Qt::black, 1, Qt::DotLine);
    if (!monochrome) {
      const QColor colours[3] = {QColor(0, 0, 255), QColor(255, 0, 0), QColor(0, 255, 0)};
      for (int j = 0; j < 3; ++j) {
        curve[j] = QPen(colours[j], 1, Qt::SolidLine);
        marker[j] = colours[j];
      }
      grid = QPen(QColor(210, 210, 210), 1, Qt::SolidLine);
      zero = QPen(QColor(0, 0, 255), 1, Qt::SolidLine);
      missing = QPen(Qt::black, 1, Qt::DotLine);
    } else {
      curve[0] = QPen(Qt::black, curveCount == 1 ? 2 : 1, Qt::SolidLine);
      curve[1] = QPen(Qt::black, 2, Qt::SolidLine);
      curve[2] = QPen(Qt::black, 1, Qt::DotLine);
      for (QColor& m : marker) m = Qt::black;
      grid = QPen(Qt::black, 1, Qt::DotLine);
      zero = QPen(Qt::black, 1, Qt::SolidLine);
      missing = QPen(QBrush(Qt::black), 2, Qt::DashLine, Qt::FlatCap);
    }
  }
};

// Collects the primitives of one curve and draws them in batches. Markers and
// line segments of a curve share one colour and are opaque, so their order
// among themselves does not matter; the order between them and the
// missing-value marks is kept by flushing whenever the kind changes. Within a
// batch, pieces that cover the same pixels are merged: connected vertical
// segments of one pixel column become one line (solid pens only), and the
// markers of one column become one rectangle per overlapping run. Dense
// series put many points on one column, so this keeps the drawing linear with
// a small constant; the pixels are those of drawing every piece on its own.
class CurveBatch {
 public:
  CurveBatch(QPainter& painter, const QPen& line, const QColor& marker, const QPen& missing)
      : painter_(painter),
        line_(line),
        marker_(marker),
        missing_(missing),
        mergeLines_(line.style() == Qt::SolidLine) {}
  ~CurveBatch() { Flush(); }

  void Segment(const QLine& l) {
    Switch(kCurve);
    if (mergeLines_ && l.x1() == l.x2() && !lines_.isEmpty()) {
      QLine& last = lines_.back();
      const int lo = std::min(l.y1(), l.y2());
      const int hi = std::max(l.y1(), l.y2());
      if (last.x1() == l.x1() && last.x2() == l.x1() && lo <= last.y2() && hi >= last.y1()) {
        // Stored with y1 <= y2.
        last.setLine(l.x1(), std::min(lo, last.y1()), l.x1(), std::max(hi, last.y2()));
        return;
      }
    }
    if (mergeLines_ && l.x1() == l.x2()) {
      lines_.append(QLine(l.x1(), std::min(l.y1(), l.y2()), l.x1(), std::max(l.y1(), l.y2())));
    } else if (lines_.isEmpty() || lines_.back() != l) {
      lines_.append(l);
    }
  }
  // The outline of (x - 1, y - 1)..(x + 1, y + 1) stroked 3 pixels wide: the
  // 5 x 5 square around (x, y).
  void Marker(int x, int y) {
    Switch(kCurve);
    if (x != columnX_) FlushColumn();
    columnX_ = x;
    columnY_.push_back(y);
  }
  void MissingMark(const QLine& l) {
    Switch(kMissing);
    if (lines_.isEmpty() || lines_.back() != l) lines_.append(l);
  }

 private:
  enum Kind { kNone, kCurve, kMissing };

  void Switch(Kind kind) {
    if (kind != kind_) Flush();
    kind_ = kind;
  }
  void FlushColumn() {
    if (columnY_.empty()) return;
    std::sort(columnY_.begin(), columnY_.end());
    int top = columnY_.front() - 2;
    int bottom = columnY_.front() + 2;
    for (int y : columnY_) {
      if (y - 2 > bottom + 1) {
        rects_.append(QRect(QPoint(columnX_ - 2, top), QPoint(columnX_ + 2, bottom)));
        top = y - 2;
      }
      bottom = y + 2;
    }
    rects_.append(QRect(QPoint(columnX_ - 2, top), QPoint(columnX_ + 2, bottom)));
    columnY_.clear();
  }
  void Flush() {
    if (kind_ == kCurve) {
      FlushColumn();
      if (!lines_.isEmpty()) {
        painter_.setPen(line_);
        painter_.drawLines(lines_);
      }
      if (!rects_.isEmpty()) {
        painter_.setPen(Qt::NoPen);
        painter_.setBrush(marker_);
        painter_.drawRects(rects_);
        painter_.setBrush(Qt::NoBrush);
      }
    } else if (kind_ == kMissing && !lines_.isEmpty()) {
      painter_.setPen(missing_);
      painter_.drawLines(lines_);
    }
    lines_.clear();
    rects_.clear();
    columnY_.clear();
    columnX_ = std::numeric_limits<int>::min();
    kind_ = kNone;
  }

  QPainter& painter_;
  QPen line_;
  QColor marker_;
  QPen missing_;
  bool mergeLines_;
  Kind kind_ = kNone;
  QVector<QLine> lines_;
  QVector<QRect> rects_;
  int columnX_ = std::numeric_limits<int>::min();
  std::vector<int> columnY_;
};

}  // namespace

Graph::Graph() {
  options_.SetFontHeight(options_.FontHeight);
  normalFont_ = MakeGraphFont(options_.FontHeight, options_.normalFontWidth);
  largeFont_ = MakeGraphFont(options_.largeFontHeight, options_.largeFontWidth);
}

void Graph::Setup(int width, int height, int graphCount, int curveCount, int labelOrigin) {
  width_ = width;
  height_ = height;
  graphCount_ = std::clamp(graphCount, 1, 2);
  curveCount_ = std::clamp(curveCount, 1, 3);
  labelOrigin_ = labelOrigin;
  monochrome_ = options_.Monochrome;
  normalFont_ = MakeGraphFont(options_.FontHeight, options_.normalFontWidth);
  largeFont_ = MakeGraphFont(options_.largeFontHeight, options_.largeFontWidth);
}

int Graph::BandTop(int i) const {
  return graphCount_ == 1 ? 0 : static_cast<int>(static_cast<long long>(i) * height_ / 2);
}

int Graph::BandBottom(int i) const {
  return graphCount_ == 1 ? height_ : static_cast<int>(static_cast<long long>(i + 1) * height_ / 2);
}

int Graph::XOf(int p) const { return Trunc((p - layout_.first) * layout_.sx + layout_.leftMargin); }

int Graph::YOf(int graph, double v) const {
  const int bottom = PlotBottom(graph);
  const int top = PlotTop(graph);
  const double lo = layout_.yLow[graph];
  const double hi = layout_.yHigh[graph];
  return Trunc(bottom - (bottom - top) * (v - lo) / (hi - lo));
}

const std::string& Graph::TextAt(const std::vector<std::string>& lines, int index) const {
  static const std::string kEmpty;
  return index >= 0 && index < static_cast<int>(lines.size()) ? lines[index] : kEmpty;
}

const MaskedSeries& Graph::CurveAt(int index) const {
  static const MaskedSeries kEmpty;
  return index >= 0 && index < static_cast<int>(curves_.size()) ? curves_[index] : kEmpty;
}

QImage Graph::Render() {
  drewGraphs_ = false;
  if (width_ <= 0 || height_ <= 0) return QImage();
  QImage image(width_, height_, QImage::Format_RGB32);
  if (image.isNull()) return image;  // no memory for a picture of this size
  image.fill(Qt::white);
  QPainter painter(&image);
  painter.setPen(QPen(Qt::black, 1));
  painter.setFont(normalFont_);

  bool fits = height_ > 240 && width_ > (graphCount_ == 1 ? 240 : 480);
  if (fits) {
    DoLayout(painter);
    // Margins grown by large fonts or long labels can leave no room to plot.
    for (int i = 0; i < graphCount_; ++i) {
      fits = fits && layout_.plotWidth >= 1 && PlotBottom(i) - PlotTop(i) >= 1;
    }
  }
  if (!fits) {
    DrawTextAt(painter, 0, 0, QString::fromLatin1(kTooSmallMessage));
    return image;
  }
  drewGraphs_ = true;
  // Plot backgrounds.
  for (int i = 0; i < graphCount_; ++i) {
    painter.fillRect(QRect(QPoint(PlotLeft(), PlotTop(i)), QPoint(PlotRight(), PlotBottom(i))),
                     Qt::white);
  }
  ComputeSteps();
  ComputeYRanges();
  DrawScales(painter);
  DrawTexts(painter);
  DrawCurves(painter);
  return image;
}

void Graph::Render(QPaintDevice& surface) {
  const QImage image = Render();
  if (image.isNull()) return;
  QPainter painter(&surface);
  painter.drawImage(QPoint(0, 0), image);
}

void Graph::DoLayout(QPainter& painter) {
  GraphOptions& o = options_;
  const int entries = graphCount_ * curveCount_;

  // Label-width range over the whole length of every curve.
  double lower = std::numeric_limits<double>::infinity();
  double upper = -lower;
  for (int c = 0; c < entries; ++c) {
    const MaskedSeries& curve = CurveAt(c);
    Widen(lower, upper, RangeOf(curve, 1, curve.length()));
  }
  if (!o.AutoY) {
    lower = std::max(lower, o.YLowerBound);
    upper = std::min(upper, o.YUpperBound);
  } else {
    o.YLowerBound = lower;
    o.YUpperBound = upper;
  }
  layout_.labelLow = lower;
  layout_.labelHigh = upper;

  const QFontMetrics metrics = painter.fontMetrics();
  if (o.ShowScale) {
    const int decimals = o.Precision + 1;
    layout_.leftMargin =
        std::max(metrics.horizontalAdvance(ToQString(FormatFixed(lower, decimals))),
                 metrics.horizontalAdvance(ToQString(FormatFixed(upper, decimals)))) +
        4;
  } else {
    layout_.leftMargin = 10;
  }

  int legendTextWidth = 0;
  for (int c = 0; c < entries; ++c) {
    legendTextWidth =
        std::max(legendTextWidth, metrics.horizontalAdvance(ToQString(TextAt(texts_.legends, c))));
  }
  if (o.ShowLegends) {
    layout_.rightMargin = legendTextWidth + 32;
    layout_.legendWidth = legendTextWidth + 24;
    layout_.legendHeight = curveCount_ * std::max(o.FontHeight, 5) + 1;
  } else {
    layout_.rightMargin = 10;
    layout_.legendWidth = 0;
    layout_.legendHeight = 0;
  }

  // The first graph's texts set the margins of both graphs.
  const bool hasTitle = !TextAt(texts_.titles, 0).empty();
  const bool hasSubtitle = !TextAt(texts_.subtitles, 0).empty();
  layout_.topMargin = (hasTitle ? o.largeFontHeight : 0) + (hasSubtitle ? o.FontHeight : 0) +
                      (!hasTitle && !hasSubtitle ? Trunc(o.FontHeight * 0.5) : 0) + 1;
  const int lines = (TextAt(texts_.firstCaptions, 0).empty() ? 0 : 1) +
                    (TextAt(texts_.secondCaptions, 0).empty() ? 0 : 1) + (o.ShowScale ? 1 : 0);
  layout_.bottomMargin = Trunc(o.FontHeight * (lines + 0.5));

  // X range, falling back to the whole first curve.
  const int length = CurveAt(0).length();
  pointCount_ = length;
  if (!o.AutoX && 1 <= o.XLeftBound && o.XLeftBound < o.XRightBound && o.XRightBound <= length) {
    layout_.first = o.XLeftBound;
    layout_.last = o.XRightBound;
  } else {
    layout_.first = 1;
    layout_.last = length;
    o.XLeftBound = 1;
    o.XRightBound = length;
  }

  layout_.labelOrigin = labelOrigin_;
  if (layout_.labelOrigin > 0 && layout_.labelOrigin < layout_.first) {
    layout_.labelOrigin = layout_.first;
  }

  layout_.plotWidth = PlotRight() - PlotLeft();
  layout_.plotHeight = PlotBottom(graphCount_ - 1) - PlotTop(graphCount_ - 1);
}

void Graph::ComputeSteps() {
  Layout& l = layout_;
  const long long pw = l.plotWidth;
  const int span = l.last - l.first;
  if (span <= 0) {
    // One point (or none): a single step of one index across the plot.
    l.sx = static_cast<double>(pw);
    l.xLabelStep = 1;
    l.xStep = static_cast<double>(pw);
    l.xStepCount = 1;
  } else {
    l.sx = static_cast<double>(pw) / span;
    const long long labelWidth = static_cast<long long>(options_.normalFontWidth) *
                                 (static_cast<long long>(std::to_string(l.last).size()) + 2);
    // The first k whose step pw * k / span is wider than a label; every
    // (span div k) * k <= span, so the labels always fit in the plot width.
    const long long k = labelWidth <= 0 ? 1 : labelWidth * span / pw + 1;
    l.xLabelStep = static_cast<int>(std::min<long long>(k, std::numeric_limits<int>::max()));
    l.xStep = static_cast<double>(pw) * static_cast<double>(k) / span;
    l.xStepCount = static_cast<int>(span / k);
  }

  // Y steps: at least one.
  const double ph = l.plotHeight;
  int n = 100;
  double step = ph / n;
  if (graphCount_ == 1) {
    while (step < 2.0 * options_.FontHeight && n > 1) {
      --n;
      step = ph / n;
    }
  } else {
    while (step < options_.largeFontHeight && n > 1) {
      n /= 2;
      step = ph / n;
    }
  }
  l.yStepCount = n;
  l.yStep = step;
}

void Graph::ComputeYRanges() {
  const GraphOptions& o = options_;
  layout_.yLow.assign(graphCount_, 0.0);
  layout_.yHigh.assign(graphCount_, 0.0);
  for (int i = 0; i < graphCount_; ++i) {
    double lo = o.YLowerBound;
    double hi = o.YUpperBound;
    // Manual bounds are used as they are; bounds that enclose no interval
    // (possible only from a hand-edited settings file) fall back to the
    // automatic range.
    if (o.AutoY || !(hi > lo) || !std::isfinite(hi - lo)) {
      lo = std::numeric_limits<double>::infinity();
      hi = -lo;
      for (int j = 0; j < curveCount_; ++j) {
        Widen(lo, hi, RangeOf(CurveAt(i * curveCount_ + j), layout_.first, layout_.last));
      }
      if (std::abs(hi - lo) < 0.0001) {
        lo -= 10;
        hi += 10;
      }
    }
    layout_.yLow[i] = lo;
    layout_.yHigh[i] = hi;
  }
}

void Graph::DrawScales(QPainter& painter) const {
  const GraphOptions& o = options_;
  const Layout& l = layout_;
  const StyleSet styles(monochrome_, curveCount_);
  const int w = o.normalFontWidth;
  painter.setFont(normalFont_);
  for (int i = 0; i < graphCount_; ++i) {
    const int left = PlotLeft();
    const int right = PlotRight();
    const int top = PlotTop(i);
    const int bottom = PlotBottom(i);
    const double lo = l.yLow[i];
    const double hi = l.yHigh[i];

    for (int s = 0; s <= l.yStepCount; ++s) {
      const int y = Trunc(bottom - s * l.yStep);
      if (o.ShowScale) {
        painter.setPen(styles.frame);
        const double value = lo + (hi - lo) * s / l.yStepCount;
        DrawTextAt(painter, 2, Trunc(y - Trunc(o.FontHeight * 0.5)),
                   ToQString(FormatFixed(value, o.Precision)));
      }
      if (o.ShowGrid) {
        painter.setPen(styles.grid);
        painter.drawLine(left, y, right, y);
      }
    }

    for (int m = 0; m <= l.xStepCount; ++m) {
      const int x = Trunc(m * l.xStep) + left;
      if (o.ShowScale) {
        painter.setPen(styles.frame);
        const std::string label = std::to_string(static_cast<long long>(l.labelOrigin) +
                                                 static_cast<long long>(m) * l.xLabelStep);
        const int c = static_cast<int>(label.size());
        const int labelY =
            graphCount_ == 1 ? Trunc(bottom + w * 0.5) : Trunc(bottom + o.FontHeight * 0.5);
        DrawTextAt(painter, Trunc(m * l.xStep - c * w * 0.5) + left, labelY, ToQString(label));
      }
      if (o.ShowGrid) {
        painter.setPen(styles.grid);
        painter.drawLine(x, bottom, x, top);
      }
    }

    if (lo < 0 && 0 < hi) {
      painter.setPen(styles.zero);
      const int y0 = YOf(i, 0.0);
      painter.drawLine(left, y0, right, y0);
    }

    painter.setPen(styles.frame);
    painter.drawLine(left, top, right, top);
    painter.drawLine(right, top, right, bottom);
    painter.drawLine(right, bottom, left, bottom);
    painter.drawLine(left, bottom, left, top);
  }

  painter.setPen(styles.frame);
  for (int i = 0; i + 1 < graphCount_; ++i) {
    painter.drawLine(0, BandBottom(i), width_, BandBottom(i));
  }
}

void Graph::DrawTexts(QPainter& painter) const {
  const GraphOptions& o = options_;
  const StyleSet styles(monochrome_, curveCount_);
  const int h = o.FontHeight;
  const int centre = Trunc(layout_.plotWidth * 0.5 + PlotLeft());
  const bool stacked = graphCount_ > 1;
  const QPen textPen(Qt::black, 1);

  for (int i = 0; i < graphCount_; ++i) {
    const int top = PlotTop(i);
    const int bottom = PlotBottom(i);
    const int bandTop = stacked ? BandTop(i) : 0;
    painter.setPen(textPen);

    const std::string& title = TextAt(texts_.titles, i);
    if (!title.empty()) {
      painter.setFont(largeFont_);
      DrawTextAt(painter, centre - Trunc(TextWidth(largeFont_, title) * 0.5),
                 stacked ? bandTop + 1 : 0, ToQString(title));
    }
    painter.setFont(normalFont_);
    const auto centred = [&](const std::string& text, int y) {
      if (text.empty()) return;
      DrawTextAt(painter, centre - Trunc(TextWidth(normalFont_, text) * 0.5), y, ToQString(text));
    };
    centred(TextAt(texts_.subtitles, i), (title.empty() ? 0 : o.largeFontHeight) + 1 + bandTop);
    const int s = o.ShowScale ? 1 : 0;
    const std::string& first = TextAt(texts_.firstCaptions, i);
    centred(first, Trunc(bottom + h * s + h * 0.5));
    const int c1 = first.empty() ? 0 : 1;
    centred(TextAt(texts_.secondCaptions, i), Trunc(bottom + h * s + h * c1 + h * 0.5));

    if (o.ShowLegends) {
      const int r = width_ - layout_.rightMargin;
      painter.setPen(styles.legendBox);
      painter.setBrush(Qt::NoBrush);
      // The box from (R + 5, top) to (R + 5 + width, top + height), its right and
      // bottom edges excluded, as the empty page's frame.
      painter.drawRect(r + 5, top, layout_.legendWidth - 1, layout_.legendHeight - 1);
      for (int j = 0; j < curveCount_; ++j) {
        const int y = Trunc(top + j * h + h * 0.5 + 1);
        painter.setPen(styles.curve[j]);
        painter.drawLine(r + 8, y, r + 26, y);
        painter.setPen(textPen);
        DrawTextAt(painter, r + 28, top + j * h + 1,
                   ToQString(TextAt(texts_.legends, i * curveCount_ + j)));
      }
    }
  }
}

void Graph::DrawCurves(QPainter& painter) const {
  const GraphOptions& o = options_;
  const Layout& l = layout_;
  const StyleSet styles(monochrome_, curveCount_);

  for (int i = 0; i < graphCount_; ++i) {
    const int top = PlotTop(i);
    const int bottom = PlotBottom(i);
    const double lo = l.yLow[i];
    const double hi = l.yHigh[i];
    for (int j = 0; j < curveCount_; ++j) {
      const MaskedSeries& curve = CurveAt(i * curveCount_ + j);
      const int end = std::min(l.last, curve.length());
      const double* v = curve.values().data() - 1;  // 1-based
      const std::uint8_t* f = curve.flags().data() - 1;
      CurveBatch batch(painter, styles.curve[j], styles.marker[j], styles.missing);

      for (int p = l.first; p <= end; ++p) {
        const int x = XOf(p);
        if (f[p] == 0) {
          if (o.ShowMV && p != l.first && p != l.last) batch.MissingMark(QLine(x, top, x, bottom));
          continue;
        }
        const double v1 = v[p];
        if (o.ShowPoints && lo <= v1 && v1 <= hi) batch.Marker(x, YOf(i, v1));
        if (p >= l.last || p + 1 > curve.length() || f[p + 1] == 0) continue;

        // The segment to the next point, clipped to the band [lo, hi].
        const double v2 = v[p + 1];
        const int x2 = XOf(p + 1);
        if (lo <= v1 && v1 <= hi && lo <= v2 && v2 <= hi) {
          batch.Segment(QLine(x, YOf(i, v1), x2, YOf(i, v2)));
          continue;
        }
        if ((v1 > hi && v2 > hi) || (v1 < lo && v2 < lo) || !std::isfinite(v1) ||
            !std::isfinite(v2)) {
          continue;
        }
        const auto crossing = [&](double level) { return (level - v1) / (v2 - v1); };
        const double t0 = v1 > hi ? crossing(hi) : v1 < lo ? crossing(lo) : 0.0;
        const double t1 = v2 > hi ? crossing(hi) : v2 < lo ? crossing(lo) : 1.0;
        if (!(t1 > t0)) continue;  // touches the band in one point only
        const auto edgeY = [&](double value) {
          return value > hi ? top : value < lo ? bottom : YOf(i, value);
        };
        batch.Segment(
            QLine(Trunc(x + (x2 - x) * t0), edgeY(v1), Trunc(x + (x2 - x) * t1), edgeY(v2)));
      }
    }
  }
}

}  // namespace vorel
