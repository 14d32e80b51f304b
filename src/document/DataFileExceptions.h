#pragma once
// Failures of reading a data file.

#include <string>

#include "engine/AbstractException.h"

namespace vorel {

class ExceptionNoFile : public AbstractException {
 public:
  explicit ExceptionNoFile(const std::string& path)
      : AbstractException("Attention!\nFile " + path + " is not exist!") {}
};

class ExceptionWrongDelimiterSelected : public AbstractException {
 public:
  static constexpr const char* kMessage = "Attention!\nData reading/conversion error occured.";
  ExceptionWrongDelimiterSelected() : AbstractException(kMessage) {}
};

// A file whose table would not fit in the memory the process may still take.
class ExceptionFileTooLarge : public AbstractException {
 public:
  ExceptionFileTooLarge(const std::string& path, unsigned long long rows, int columns)
      : AbstractException("Attention!\nNot enough memory to read the file " + path + " (" +
                          std::to_string(rows) + (rows == 1 ? " row" : " rows") + " by " +
                          std::to_string(columns) + (columns == 1 ? " column" : " columns") +
                          ").") {}
};

// A file in UTF-16 or another encoding with zero bytes, whose fields would all read as 0.
class ExceptionNotPlainText : public AbstractException {
 public:
  explicit ExceptionNotPlainText(const std::string& path)
      : AbstractException("Attention!\nThe file " + path +
                          " is not plain text (it is in UTF-16 or holds zero bytes).\nSave it "
                          "as plain text (ASCII or UTF-8), please.") {}
};

}  // namespace vorel
