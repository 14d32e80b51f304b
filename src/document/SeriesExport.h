#pragma once
// The text that "Save series" writes: the source series, its reconstruction
// and the residuals side by side, one line per point.

#include <string>

#include "document/InputFormat.h"
#include "engine/MaskedSeries.h"

namespace vorel {

// How the series are written and which points.
struct SeriesExportOptions {
  int decimal = kDecimalPoint;      // kDecimalPoint or kDecimalComma
  int delimiter = kDelimiterSpace;  // kDelimiterSpace or kDelimiterTab
  // The X range of the page "Initial and Reconstructed series": with autoX
  // off and 1 <= xLeftBound < xRightBound <= N the points xLeftBound ..
  // xRightBound are written, otherwise all points 1..N.
  bool autoX = true;
  int xLeftBound = 1;
  int xRightBound = 100;
};

// The export text:
//   "$All series points" (autoX on) or "$Points from <first> to <last>" (autoX
//   off, with the range actually written);
//   "Source_series<d>Reconstructed_series<d>Residuals";
//   one line per point i: "<x><d><r><d><e>", or "nan<d><r><d>nan" when x(i) is
//   missing; each number "%.6e", with its first '.' turned into ',' under
//   kDecimalComma; d is a space (kDelimiterSpace) or a tab (kDelimiterTab).
// reconstructed and residuals must have the length of series (else
// std::invalid_argument). O(N).
std::string FormatSeriesExport(const MaskedSeries& series, const MaskedSeries& reconstructed,
                               const MaskedSeries& residuals, const SeriesExportOptions& options);

// Writes FormatSeriesExport(...) to path safely (see WriteFileSafely): on a
// failure ExceptionFileNotWritten is raised and no truncated file is left.
void ExportSeries(const std::string& path, const MaskedSeries& series,
                  const MaskedSeries& reconstructed, const MaskedSeries& residuals,
                  const SeriesExportOptions& options);

}  // namespace vorel
