#pragma once
// The conversions of the dialogs' data exchange between edit boxes and members.

#include <optional>
#include <string>

namespace vorel {

inline constexpr const char* kMessageEnterInteger = "Please enter an integer.";
inline constexpr const char* kMessageEnterNumber = "Please enter a number.";

// A 32-bit signed integer, optionally surrounded by blanks; nothing when the
// text holds anything else or the value does not fit.
std::optional<int> ParseIntegerField(const std::string& text);
// A finite decimal real, optionally surrounded by blanks; nothing otherwise.
std::optional<double> ParseRealField(const std::string& text);
// The text an edit box shows for a member.
std::string FormatIntegerField(int value);
// Fifteen significant digits.
std::string FormatRealField(double value);

}  // namespace vorel
