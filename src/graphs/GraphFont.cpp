#include "graphs/GraphFont.h"

#include <QFontMetricsF>
#include <algorithm>
#include <cmath>

namespace vorel {
namespace {

constexpr int kProbeSize = 100;

QFont BaseFont(int pixelSize) {
  QFont font(QStringLiteral("Arial"));
  font.setStyleHint(QFont::SansSerif);
  font.setWeight(QFont::Normal);
  font.setItalic(false);
  font.setUnderline(false);
  font.setStrikeOut(false);
  font.setKerning(false);
  font.setPixelSize(std::max(1, pixelSize));
  return font;
}

// Weighted mean advance of the lower-case letters and the space, weights per
// thousand as in the original definition of a font's average character width.
double WeightedAverageWidth(const QFontMetricsF& metrics) {
  static constexpr int kWeights[26] = {64, 14, 27, 35, 100, 20, 14, 42, 63, 3,  6, 35, 20,
                                       56, 56, 17, 4,  49,  56, 71, 31, 10, 18, 3, 18, 2};
  double sum = 166.0 * metrics.horizontalAdvance(QLatin1Char(' '));
  for (int c = 0; c < 26; ++c) {
    sum += kWeights[c] * metrics.horizontalAdvance(QLatin1Char(static_cast<char>('a' + c)));
  }
  return sum / 1000.0;
}

}  // namespace

QFont MakeGraphFont(int height, int width) {
  // Measure the face once at a large size, where rounding does not matter.
  const QFont probe = BaseFont(kProbeSize);
  const QFontMetricsF probeMetrics(probe);
  const double cell = probeMetrics.ascent() + probeMetrics.descent();
  const double average = WeightedAverageWidth(probeMetrics);

  const int pixelSize =
      cell > 0 ? static_cast<int>(std::lround(std::abs(height) * kProbeSize / cell)) : height;
  QFont font = BaseFont(pixelSize);
  if (width > 0 && average > 0) {
    const double natural = average * font.pixelSize() / kProbeSize;
    const long stretch = std::lround(100.0 * width / natural);
    font.setStretch(static_cast<int>(std::clamp(stretch, 1L, 4000L)));
  }
  return font;
}

}  // namespace vorel
