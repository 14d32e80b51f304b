#pragma once
// Failures of reading a data file.

#include <string>

#include "engine/AbstractException.h"

namespace vorel {

// Names the standard input in the messages below, in place of a file's path.
struct StandardInput {};

class ExceptionNoFile : public AbstractException {
 public:
  explicit ExceptionNoFile(const std::string& path)
      : AbstractException("Attention!\nFile " + path + " is not exist!") {}
  explicit ExceptionNoFile(StandardInput)
      : AbstractException("Attention!\nThe standard input cannot be read.") {}
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
      : AbstractException("Attention!\nNot enough memory to read the file " + path +
                          Shape(rows, columns)) {}
  ExceptionFileTooLarge(StandardInput, unsigned long long rows, int columns)
      : AbstractException("Attention!\nNot enough memory to read the standard input" +
                          Shape(rows, columns)) {}

 private:
  static std::string Shape(unsigned long long rows, int columns) {
    return " (" + std::to_string(rows) + (rows == 1 ? " row" : " rows") + " by " +
           std::to_string(columns) + (columns == 1 ? " column" : " columns") + ").";
  }
};

// A file in UTF-16 or another encoding with zero bytes, whose fields would all read as 0.
class ExceptionNotPlainText : public AbstractException {
 public:
  explicit ExceptionNotPlainText(const std::string& path)
      : AbstractException("Attention!\nThe file " + path +
                          " is not plain text (it is in UTF-16 or holds zero bytes).\nSave it "
                          "as plain text (ASCII or UTF-8), please.") {}
  explicit ExceptionNotPlainText(StandardInput)
      : AbstractException(
            "Attention!\nThe standard input is not plain text (it is in UTF-16 or holds zero "
            "bytes).\nSend it as plain text (ASCII or UTF-8), please.") {}
};

// Data that can be read only once (the standard input, a pipe, a device) is copied to a
// temporary file before it is read; the copy could not be made. source is "The standard input"
// or "The file " followed by the path; folder is the temporary folder; reason is the system's.
class ExceptionNoTemporaryCopy : public AbstractException {
 public:
  ExceptionNoTemporaryCopy(const std::string& source, const std::string& folder,
                           const std::string& reason)
      : AbstractException("Attention!\n" + source + " cannot be copied to a temporary file in " +
                          folder + " (" + reason +
                          ").\nFree some room there or name another folder in TMPDIR, please.") {}
};

}  // namespace vorel
