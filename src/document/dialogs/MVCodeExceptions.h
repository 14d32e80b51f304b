#pragma once
// Refusals of a missing-value code typed by the user.

#include "engine/AbstractException.h"

namespace vorel {

class ExceptionNoMVCodeEntered : public AbstractException {
 public:
  static constexpr const char* kMessage = "Enter some value, please.";
  ExceptionNoMVCodeEntered() : AbstractException(kMessage) {}
};

class ExceptionMVCodeHaveWrongSymbols : public AbstractException {
 public:
  static constexpr const char* kMessage =
      "Attention!\nMissing value code can't include this five symbols:\nspace(' '), <tab>, "
      "semicolon (';'), comma (',') and point ('.').";
  ExceptionMVCodeHaveWrongSymbols() : AbstractException(kMessage) {}
};

// The document keeps at most 39 characters of the code; a longer one is
// refused instead of being cut, which would silently change what is missing.
class ExceptionMVCodeTooLong : public AbstractException {
 public:
  static constexpr const char* kMessage =
      "Attention!\nMissing value code can't be longer than 39 symbols.";
  ExceptionMVCodeTooLong() : AbstractException(kMessage) {}
};

}  // namespace vorel
