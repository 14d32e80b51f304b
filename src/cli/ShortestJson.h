#pragma once
// JSON text in which every double is written in its shortest round-trip form.

#include <nlohmann/json.hpp>
#include <string>

namespace vorel {

// The text of value: objects one member per line (indented by two spaces per
// level), arrays on one line; each double in the shortest form that reads
// back to the same value (std::to_chars), and null for NaN or infinity, so
// that the text is always valid JSON. Strings that are not valid UTF-8 get
// replacement characters.
std::string DumpShortestJson(const nlohmann::ordered_json& value);

}  // namespace vorel
