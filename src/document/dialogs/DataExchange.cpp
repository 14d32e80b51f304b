#include "document/dialogs/DataExchange.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace vorel {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// The text between leading and trailing blanks, without a leading '+'. A
// second sign after the '+' is kept, so that the text does not parse.
std::string Core(const std::string& text) {
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && IsBlank(text[begin])) ++begin;
  while (end > begin && IsBlank(text[end - 1])) --end;
  std::string core = text.substr(begin, end - begin);
  if (!core.empty() && core[0] == '+') {
    core.erase(0, 1);
    if (!core.empty() && core[0] == '-') core.insert(0, 1, '+');
  }
  return core;
}

}  // namespace

std::optional<int> ParseIntegerField(const std::string& text) {
  const std::string core = Core(text);
  if (core.empty() || core[0] == '+') return std::nullopt;
  int value = 0;
  const char* first = core.data();
  const char* last = first + core.size();
  auto [ptr, ec] = std::from_chars(first, last, value);
  if (ec != std::errc() || ptr != last) return std::nullopt;
  return value;
}

std::optional<double> ParseRealField(const std::string& text) {
  const std::string core = Core(text);
  if (core.empty() || core[0] == '+') return std::nullopt;
  double value = 0.0;
  const char* first = core.data();
  const char* last = first + core.size();
  auto [ptr, ec] = std::from_chars(first, last, value, std::chars_format::general);
  if (ec != std::errc() || ptr != last || !std::isfinite(value)) return std::nullopt;
  return value;
}

std::string FormatIntegerField(int value) { return std::to_string(value); }

std::string FormatRealField(double value) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.15g", value);
  return buffer;
}

}  // namespace vorel
