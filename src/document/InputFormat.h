#pragma once

namespace vorel {

// Option codes of the decimal separator, as the document stores them.
enum DecimalSeparator : int { kDecimalPoint = 50, kDecimalComma = 51 };
// Option codes of the output delimiter.
enum OutputDelimiter : int { kDelimiterSpace = 40, kDelimiterTab = 41 };

// The reading options of a data file.
struct InputFormat {
  int decimal = kDecimalPoint;
  bool delimComma = true;
  bool delimSemicolon = false;
  bool delimSpace = true;
  bool delimTab = true;

  bool operator==(const InputFormat&) const = default;
};

}  // namespace vorel
