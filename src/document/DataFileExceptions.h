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

}  // namespace vorel
