#include "document/SeriesExport.h"

#include <charconv>
#include <cstdio>
#include <stdexcept>

#include "document/SafeFileWriter.h"

namespace vorel {

namespace {

// "%.6e", with the first '.' replaced by ',' when comma is set. std::to_chars
// writes what printf writes for that format, without the locale and several
// times faster, which counts for a million lines.
void AppendNumber(std::string& out, double v, bool comma) {
  char buffer[64];
  const auto written =
      std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::scientific, 6);
  const int n = static_cast<int>(written.ptr - buffer);
  if (comma) {
    for (int k = 0; k < n; ++k) {
      if (buffer[k] == '.') {
        buffer[k] = ',';
        break;
      }
    }
  }
  out.append(buffer, static_cast<std::size_t>(n));
}

}  // namespace

std::string FormatSeriesExport(const MaskedSeries& series, const MaskedSeries& reconstructed,
                               const MaskedSeries& residuals, const SeriesExportOptions& options) {
  const int N = series.length();
  if (reconstructed.length() != N || residuals.length() != N) {
    throw std::invalid_argument("series, reconstruction and residuals differ in length");
  }
  const char d = options.delimiter == kDelimiterTab ? '\t' : ' ';
  const bool comma = options.decimal == kDecimalComma;

  int first = 1, last = N;
  if (!options.autoX && 1 <= options.xLeftBound && options.xLeftBound < options.xRightBound &&
      options.xRightBound <= N) {
    first = options.xLeftBound;
    last = options.xRightBound;
  }

  std::string out;
  out.reserve(static_cast<std::size_t>(last - first + 1) * 48 + 64);
  if (options.autoX) {
    out += "$All series points\n";
  } else {
    char line[80];
    std::snprintf(line, sizeof line, "$Points from %d to %d\n", first, last);
    out += line;
  }
  out += "Source_series";
  out += d;
  out += "Reconstructed_series";
  out += d;
  out += "Residuals\n";

  for (int i = first; i <= last; ++i) {
    if (series.isValid(i)) {
      AppendNumber(out, series.value(i), comma);
      out += d;
      AppendNumber(out, reconstructed.value(i), comma);
      out += d;
      AppendNumber(out, residuals.value(i), comma);
    } else {
      out += "nan";
      out += d;
      AppendNumber(out, reconstructed.value(i), comma);
      out += d;
      out += "nan";
    }
    out += '\n';
  }
  return out;
}

void ExportSeries(const std::string& path, const MaskedSeries& series,
                  const MaskedSeries& reconstructed, const MaskedSeries& residuals,
                  const SeriesExportOptions& options) {
  WriteFileSafely(path, FormatSeriesExport(series, reconstructed, residuals, options));
}

}  // namespace vorel
