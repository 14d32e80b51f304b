// The settings-file parser on arbitrary bytes. Invariants: every option read
// lies in its range (decimal and delimiter codes, a missing-value code of at
// most 39 characters without blanks), and the file written from what was read
// reads back to the same file.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "FuzzSupport.h"
#include "document/CVorelDoc.h"
#include "document/SettingsFile.h"

namespace {

using namespace vorel;

// A host that is never asked anything but its folder: no vorel.ini is there.
class QuietHost : public UiHost {
 public:
  void MessageBox(const std::string&) override {}
  void MessageBoxExclamation(const std::string&) override {}
  DialogResult RunModal(Dialog&) override { return DialogResult::Cancel; }
  std::optional<std::string> OpenFileDialog(const FileDialogRequest&) override { return {}; }
  std::optional<std::string> SaveFileDialog(const FileDialogRequest&) override { return {}; }
  std::string ExamplesPath(const std::string&) override { return {}; }
  std::string ProgramFolder() override { return (fuzz::WorkFolder() / "program").string(); }
  void ProgressBegin(int, int) override {}
  void ProgressStep() override {}
  void ProgressShow() override {}
  void ProgressHide() override {}
  void BeginWaitCursor() override {}
  void EndWaitCursor() override {}
  void RedrawAllViews() override {}
};

// The text of the settings file that path loads into a fresh document.
std::string LoadedContent(const std::string& path, bool check) {
  QuietHost host;
  CVorelDoc document(host);
  GraphOptionsSet graphs{};
  const SettingsFile file(path);
  file.LoadInputSettings(document);
  file.LoadGraphSettings(graphs);
  if (check) {
    VOREL_FUZZ_CHECK(
        document.inputDecimal == kDecimalPoint || document.inputDecimal == kDecimalComma,
        std::to_string(document.inputDecimal));
    VOREL_FUZZ_CHECK(
        document.outputDecimal == kDecimalPoint || document.outputDecimal == kDecimalComma,
        std::to_string(document.outputDecimal));
    VOREL_FUZZ_CHECK(
        document.outputDelimiter == kDelimiterSpace || document.outputDelimiter == kDelimiterTab,
        std::to_string(document.outputDelimiter));
    VOREL_FUZZ_CHECK(document.mvCode.size() <= CVorelDoc::kMaxMvCodeLength &&
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
