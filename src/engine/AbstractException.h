#pragma once

#include <exception>
#include <string>
#include <utility>

namespace vorel {

// Base of every failure the user must see. It carries one fixed message, set by
// the constructor of the concrete class; whoever catches it shows the message
// unchanged.
class AbstractException : public std::exception {
 public:
  explicit AbstractException(std::string message) : message_(std::move(message)) {}
  const std::string& message() const noexcept { return message_; }
  const char* what() const noexcept override { return message_.c_str(); }

 private:
  std::string message_;
};

}  // namespace vorel
