#pragma once

#include <array>
#include <limits>

namespace vorel {

// The user's options of one graph panel, kept per page in the settings file.
struct GraphOptions {
  int FontHeight = 10;
  int Precision = 1;
  bool ShowScale = true;
  bool ShowPoints = true;
  bool ShowMV = true;
  bool Monochrome = false;
  bool ShowGrid = true;
  bool ShowLegends = false;
  bool AutoX = true;
  bool AutoY = true;
  int XLeftBound = 1;
  int XRightBound = 100;
  double YLowerBound = 0.0;
  double YUpperBound = 100.0;

  // Font sizes derived from FontHeight by SetFontHeight (h = 10 gives 5, 12, 6).
  int normalFontWidth = 5;
  int largeFontHeight = 12;
  int largeFontWidth = 6;

  // Sets FontHeight h and the derived sizes: normal width trunc((h + 1) * 0.5),
  // large height trunc(h * 5 * 0.25), large width trunc(normal width * 5 * 0.25).
  // The products are taken in double, and sizes beyond the range of int stop
  // at its ends, so that no height read from a file overflows.
  void SetFontHeight(int h) {
    FontHeight = h;
    normalFontWidth = TruncatedSize((h + 1.0) * 0.5);
    largeFontHeight = TruncatedSize(h * 5.0 * 0.25);
    largeFontWidth = TruncatedSize(normalFontWidth * 5.0 * 0.25);
  }

  bool operator==(const GraphOptions&) const = default;

 private:
  static int TruncatedSize(double v) {
    if (v >= static_cast<double>(std::numeric_limits<int>::max())) {
      return std::numeric_limits<int>::max();
    }
    if (v <= static_cast<double>(std::numeric_limits<int>::min())) {
      return std::numeric_limits<int>::min();
    }
    return static_cast<int>(v);
  }
};

// The pages that have a graph of their own, in the order of the settings file's
// sections: page code 21 + index.
inline constexpr int kGraphCount = 8;
using GraphOptionsSet = std::array<GraphOptions, kGraphCount>;

}  // namespace vorel
