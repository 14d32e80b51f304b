#include "document/InstallLayout.h"

#include <filesystem>
#include <system_error>

namespace vorel {
namespace {

namespace fs = std::filesystem;

// PREFIX/share/vorel/<relative> for a program in PREFIX/bin, else
// <source tree>/<sourceRelative>; the first that exists.
std::string Locate(const std::string& programFolder, const fs::path& installed,
                   const fs::path& inSource, bool directory) {
  std::error_code ec;
  const auto exists = [&](const fs::path& p) {
    return directory ? fs::is_directory(p, ec) : fs::is_regular_file(p, ec);
  };
  if (!programFolder.empty()) {
    fs::path bin(programFolder);
    if (!bin.has_filename()) bin = bin.parent_path();  // "PREFIX/bin/"
    const fs::path candidate = bin.parent_path() / "share" / "vorel" / installed;
    if (exists(candidate)) return candidate.lexically_normal().string();
  }
  const fs::path source = fs::path(VOREL_SOURCE_DIR) / inSource;
  if (exists(source)) return source.lexically_normal().string();
  return std::string();
}

}  // namespace

std::string BundledExamplesFolder(const std::string& programFolder) {
  return Locate(programFolder, "examples", "examples", true);
}

std::string UserGuideFile(const std::string& programFolder) {
  return Locate(programFolder, fs::path("docs") / "user-guide.md", fs::path("docs") / "user-guide.md",
                false);
}

}  // namespace vorel
