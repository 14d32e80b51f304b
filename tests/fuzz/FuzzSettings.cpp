// The settings-file parser on arbitrary bytes. Invariants: every option read
// lies in its range (decimal and delimiter codes, a missing-value code of at
// most 39 characters without blanks), and the file written from what was read
// reads back to the same file.

#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "document/FileOptions.h"
#include "document/SettingsFile.h"

namespace {

using namespace vorel;

// The text of the settings file that path loads into fresh options.
std::string LoadedContent(const std::string& path, bool check) {
  FileOptions document;
  GraphOptionsSet graphs{};
  const SettingsFile file(path);
  file.LoadInputSettings(document);
  file.LoadGraphSettings(graphs);
  if (check) {
    VOREL_FUZZ_CHECK(
        document.input.decimal == kDecimalPoint || document.input.decimal == kDecimalComma,
        std::to_string(document.input.decimal));
    VOREL_FUZZ_CHECK(
        document.outputDecimal == kDecimalPoint || document.outputDecimal == kDecimalComma,
        std::to_string(document.outputDecimal));
    VOREL_FUZZ_CHECK(
        document.outputDelimiter == kDelimiterSpace || document.outputDelimiter == kDelimiterTab,
        std::to_string(document.outputDelimiter));
    VOREL_FUZZ_CHECK(document.mvCode.size() <= FileOptions::kMaxMvCodeLength &&
                         document.mvCode.find_first_of(" \t\r\n\v\f") == std::string::npos,
                     document.mvCode);
  }
  return SettingsFile::Content(document, graphs);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string path =
      fuzz::WriteFile("vorel.ini", std::string(reinterpret_cast<const char*>(data), size));
  const std::string content = LoadedContent(path, true);
  const std::string written = fuzz::WriteFile("written.ini", content);
  const std::string reread = LoadedContent(written, true);
  VOREL_FUZZ_CHECK(reread == content, content + "\n-- reads back as --\n" + reread);
  return 0;
}
