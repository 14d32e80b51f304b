#pragma once

#include <cstddef>
#include <string>

#include "document/InputFormat.h"

namespace vorel {

// The options the settings file keeps besides the graphs': how data files are
// read, the missing-value code, and how exported series are written.
struct FileOptions {
  // Longest missing-value code kept.
  static constexpr std::size_t kMaxMvCodeLength = 39;

  InputFormat input;
  std::string mvCode = "nan";
  int outputDecimal = kDecimalPoint;
  int outputDelimiter = kDelimiterTab;

  bool operator==(const FileOptions&) const = default;
};

}  // namespace vorel
