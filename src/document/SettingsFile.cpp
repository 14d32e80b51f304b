#include "document/SettingsFile.h"

#include <unistd.h>

#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>
#include <vector>

#include "document/SafeFileWriter.h"

namespace vorel {
namespace {

namespace fs = std::filesystem;

constexpr std::array<const char*, kGraphCount> kSectionNames{
    "ADD_INFO",   "SERIES",     "EIGENVALUES", "EIGENVECTORS",
    "REC_SERIES", "I_R_SERIES", "RESIDUALS",   "DEVIATIONS"};

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

// The first two blank-separated words of a line (empty when absent).
std::array<std::string, 2> FirstTwoWords(const std::string& line) {
  std::array<std::string, 2> words;
  size_t pos = 0;
  for (std::string& word : words) {
    while (pos < line.size() && IsBlank(line[pos])) ++pos;
    const size_t begin = pos;
    while (pos < line.size() && !IsBlank(line[pos])) ++pos;
    word = line.substr(begin, pos - begin);
  }
  return words;
}

// The decimal real a value begins with; 0 when it does not begin with one (or
// the number is not finite).
double LeadingReal(const std::string& text) {
  const char* first = text.data();
  const char* last = first + text.size();
  if (first != last && *first == '+') {
    ++first;
    if (first != last && (*first == '+' || *first == '-')) return 0.0;
  }
  double value = 0.0;
  auto [ptr, ec] = std::from_chars(first, last, value, std::chars_format::general);
  if (ec != std::errc() || !std::isfinite(value)) return 0.0;
  return value;
}

// The leading real truncated toward zero, kept within the range of int.
int LeadingInteger(const std::string& text) {
  const double v = std::trunc(LeadingReal(text));
  if (v >= static_cast<double>(std::numeric_limits<int>::max())) {
    return std::numeric_limits<int>::max();
  }
  if (v <= static_cast<double>(std::numeric_limits<int>::min())) {
    return std::numeric_limits<int>::min();
  }
  return static_cast<int>(v);
}

std::vector<std::string> ReadLines(const std::string& path, bool& ok) {
  std::vector<std::string> lines;
  std::ifstream in(path, std::ios::binary);
  ok = static_cast<bool>(in);
  std::string line;
  while (ok && std::getline(in, line)) lines.push_back(line);
  return lines;
}

const char* YN(bool value) { return value ? "Y" : "N"; }

std::string FormatReal(double value) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%g", value);
  return buffer;
}

void WriteSilently(const std::string& path, const std::string& content) {
  try {
    std::error_code ec;
    const fs::path parent = fs::path(path).parent_path();
    if (!parent.empty()) fs::create_directories(parent, ec);
    WriteFileSafely(path, content);
  } catch (const std::exception&) {
    // A settings file that cannot be written is not reported.
  }
}

}  // namespace

std::string SettingsFile::Locate(const std::string& programFolder) {
  if (!programFolder.empty() && ::access(programFolder.c_str(), W_OK) == 0) {
    return (fs::path(programFolder) / kFileName).string();
  }
  fs::path config;
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  if (xdg != nullptr && xdg[0] == '/') {
    config = xdg;
  } else {
    const char* home = std::getenv("HOME");
    config = fs::path(home != nullptr ? home : "") / ".config";
  }
  return (config / "vorel" / kFileName).string();
}

void SettingsFile::LoadInputSettings(FileOptions& doc) const {
  bool ok = false;
  const std::vector<std::string> lines = ReadLines(path_, ok);
  if (!ok) return;
  for (const std::string& line : lines) {
    const auto [key, value] = FirstTwoWords(line);
    if (key == "Input_DecSeparator:" || key == "Output_DecSeparator:") {
      int& member = key[0] == 'I' ? doc.input.decimal : doc.outputDecimal;
      if (value == "POINT") member = kDecimalPoint;
      if (value == "COMMA") member = kDecimalComma;
    } else if (key == "Input_DelComma:") {
      doc.input.delimComma = value == "Y";
    } else if (key == "Input_DelSemicolon:") {
      doc.input.delimSemicolon = value == "Y";
    } else if (key == "Input_DelSpace:") {
      doc.input.delimSpace = value == "Y";
    } else if (key == "Input_DelTab:") {
      doc.input.delimTab = value == "Y";
    } else if (key == "Output_Del:") {
      if (value == "TAB") doc.outputDelimiter = kDelimiterTab;
      if (value == "SPACE") doc.outputDelimiter = kDelimiterSpace;
    } else if (key == "MV_code:") {
      if (value.size() <= FileOptions::kMaxMvCodeLength) doc.mvCode = value;
    }
  }
}

void SettingsFile::LoadGraphSettings(GraphOptionsSet& graphs) const {
  bool ok = false;
  const std::vector<std::string> lines = ReadLines(path_, ok);
  if (!ok) {
    WriteDefaultSettings();
    return;
  }
  size_t section = 0;
  for (const std::string& line : lines) {
    const auto [key, value] = FirstTwoWords(line);
    bool isSection = false;
    for (size_t i = 0; i < kSectionNames.size(); ++i) {
      if (key == kSectionNames[i]) {
        section = i;
        isSection = true;
      }
    }
    if (isSection) continue;
    GraphOptions& g = graphs[section];
    const bool yes = value == "Y";
    if (key == "ShowMV:") {
      g.ShowMV = yes;
    } else if (key == "ShowGrid:") {
      g.ShowGrid = yes;
    } else if (key == "ShowLegends:") {
      g.ShowLegends = yes;
    } else if (key == "Monochrome:") {
      g.Monochrome = yes;
    } else if (key == "ShowPoints:") {
      g.ShowPoints = yes;
    } else if (key == "ShowScale:") {
      g.ShowScale = yes;
    } else if (key == "AutoX:") {
      g.AutoX = yes;
    } else if (key == "AutoY:") {
      g.AutoY = yes;
    } else if (key == "FontHeight:") {
      g.SetFontHeight(LeadingInteger(value));
    } else if (key == "XLeftBound:") {
      g.XLeftBound = LeadingInteger(value);
    } else if (key == "XRightBound:") {
      g.XRightBound = LeadingInteger(value);
    } else if (key == "Precision:") {
      g.Precision = LeadingInteger(value);
    } else if (key == "YLowerBound:") {
      g.YLowerBound = LeadingReal(value);
    } else if (key == "YUpperBound:") {
      g.YUpperBound = LeadingReal(value);
    }
  }
}

std::string SettingsFile::DefaultContent() {
  std::string s =
      "DATA_OPEN\n"
      "Input_DecSeparator: POINT\n"
      "Input_DelComma: N\n"
      "Input_DelSemicolon: N\n"
      "Input_DelSpace: Y\n"
      "Input_DelTab: Y\n"
      "Output_DecSeparator: POINT\n"
      "Output_Del: SPACE\n"
      "MV_code: nan\n";
  for (const char* name : kSectionNames) {
    s += name;
    s += "\n"
         "FontHeight: 10\n"
         "ShowGrid: Y\n"
         "ShowLegends: N\n"
         "Monochrome: N\n"
         "ShowMV: Y\n"
         "AutoX: Y\n"
         "AutoY: Y\n"
         "XLeftBound: 1\n"
         "XRightBound: 100\n"
         "YLowerBound: 0.\n"
         "YUpperBound: 100.\n"
         "ShowPoints: Y\n"
         "ShowScale: Y\n"
         "Precision: 1\n";
  }
  return s;
}

std::string SettingsFile::Content(const FileOptions& doc, const GraphOptionsSet& graphs) {
  std::string s = "DATA_OPEN\n";
  s += std::string("Input_DecSeparator: ") +
       (doc.input.decimal == kDecimalPoint ? "POINT" : "COMMA") + "\n";
  s += std::string("Input_DelComma: ") + YN(doc.input.delimComma) + "\n";
  s += std::string("Input_DelSemicolon: ") + YN(doc.input.delimSemicolon) + "\n";
  s += std::string("Input_DelSpace: ") + YN(doc.input.delimSpace) + "\n";
  s += std::string("Input_DelTab: ") + YN(doc.input.delimTab) + "\n";
  s += std::string("Output_DecSeparator: ") +
       (doc.outputDecimal == kDecimalPoint ? "POINT" : "COMMA") + "\n";
  s +=
      std::string("Output_Del: ") + (doc.outputDelimiter == kDelimiterTab ? "TAB" : "SPACE") + "\n";
  s += "MV_code: " + doc.mvCode + "\n";
  for (size_t i = 0; i < kSectionNames.size(); ++i) {
    const GraphOptions& g = graphs[i];
    s += std::string(kSectionNames[i]) + "\n";
    s += "FontHeight: " + std::to_string(g.FontHeight) + "\n";
    s += std::string("ShowGrid: ") + YN(g.ShowGrid) + "\n";
    s += std::string("ShowLegends: ") + YN(g.ShowLegends) + "\n";
    s += std::string("Monochrome: ") + YN(g.Monochrome) + "\n";
    s += std::string("ShowMV: ") + YN(g.ShowMV) + "\n";
    s += std::string("AutoX: ") + YN(g.AutoX) + "\n";
    s += std::string("AutoY: ") + YN(g.AutoY) + "\n";
    s += "XLeftBound: " + std::to_string(g.XLeftBound) + "\n";
    s += "XRightBound: " + std::to_string(g.XRightBound) + "\n";
    s += "YLowerBound: " + FormatReal(g.YLowerBound) + "\n";
    s += "YUpperBound: " + FormatReal(g.YUpperBound) + "\n";
    s += std::string("ShowPoints: ") + YN(g.ShowPoints) + "\n";
    s += std::string("ShowScale: ") + YN(g.ShowScale) + "\n";
    s += "Precision: " + std::to_string(g.Precision) + "\n";
  }
  return s;
}

void SettingsFile::WriteDefaultSettings() const { WriteSilently(path_, DefaultContent()); }

void SettingsFile::SaveAllSettings(const FileOptions& doc, const GraphOptionsSet& graphs) const {
  WriteSilently(path_, Content(doc, graphs));
}

}  // namespace vorel
