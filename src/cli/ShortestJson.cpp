#include "cli/ShortestJson.h"

#include <charconv>
#include <cmath>

namespace vorel {

namespace {

void AppendDouble(std::string& out, double v) {
  if (!std::isfinite(v)) {
    out += "null";
    return;
  }
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, v);
  out.append(buffer, result.ptr);
}

void Append(std::string& out, const nlohmann::ordered_json& value, int depth) {
  using Json = nlohmann::ordered_json;
  switch (value.type()) {
    case Json::value_t::object: {
      if (value.empty()) {
        out += "{}";
        return;
      }
      out += "{\n";
      bool first = true;
      for (auto it = value.begin(); it != value.end(); ++it) {
        if (!first) out += ",\n";
        first = false;
        out.append(static_cast<std::size_t>(2 * (depth + 1)), ' ');
        out += Json(it.key()).dump(-1, ' ', false, Json::error_handler_t::replace);
        out += ": ";
        Append(out, it.value(), depth + 1);
      }
      out += '\n';
      out.append(static_cast<std::size_t>(2 * depth), ' ');
      out += '}';
      return;
    }
    case Json::value_t::array: {
      out += '[';
      bool first = true;
      for (const auto& element : value) {
        if (!first) out += ", ";
        first = false;
        Append(out, element, depth);
      }
      out += ']';
      return;
    }
    case Json::value_t::number_float:
      AppendDouble(out, value.get<double>());
      return;
    default:
      out += value.dump(-1, ' ', false, Json::error_handler_t::replace);
      return;
  }
}

}  // namespace

std::string DumpShortestJson(const nlohmann::ordered_json& value) {
  std::string out;
  Append(out, value, 0);
  out += '\n';
  return out;
}

}  // namespace vorel
