#pragma once
// Helpers shared by the fuzz targets: a private folder per process, files
// written into it, and a check that ends the run with a message when an
// invariant does not hold (libFuzzer records the input as a finding).

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace vorel::fuzz {

inline const std::filesystem::path& WorkFolder() {
  static const std::filesystem::path folder = [] {
    std::string pattern = (std::filesystem::temp_directory_path() / "vorel-fuzz-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) std::abort();
    return std::filesystem::path(pattern);
  }();
  return folder;
}

inline std::string WriteFile(const std::string& name, const std::string& contents) {
  const std::filesystem::path path = WorkFolder() / name;
  std::ofstream(path, std::ios::binary | std::ios::trunc) << contents;
  return path.string();
}

[[noreturn]] inline void Violated(const char* what, const std::string& detail) {
  std::fprintf(stderr, "invariant violated: %s\n%s\n", what, detail.c_str());
  std::abort();
}

#define VOREL_FUZZ_CHECK(condition, detail)                        \
  do {                                                             \
    if (!(condition)) ::vorel::fuzz::Violated(#condition, detail); \
  } while (false)

}  // namespace vorel::fuzz
