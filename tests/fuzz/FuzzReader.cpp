// The data-file reader on arbitrary bytes. The first byte chooses the reading
// options, the second the missing-value code; the rest is the file.
// Invariants: a reading either fails with a message of its own or gives a
// table of F >= 1 columns with F names of at most 299 characters, present
// values finite, missing values 0, notes within their bounds; reading the
// same file again gives the same table.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "document/DataFileReader.h"
#include "engine/AbstractException.h"

namespace {

using namespace vorel;

struct Reading {
  bool ok = false;
  std::string message;
  int fields = 0;
  MaskedMatrix table;
  std::vector<std::string> names;
  DataFileNotes notes;
};

Reading Read(const std::string& path, const std::string& mv, const InputFormat& format) {
  Reading r;
  try {
    // A fixed budget: the inputs are small, and reading the system's limits
    // at every run would only slow the search down.
    r.fields = ReadDataFile(path, mv, format, r.table, r.names, &r.notes,
                            [] { return std::optional<std::uint64_t>(std::uint64_t{1} << 30); });
    r.ok = true;
  } catch (const AbstractException& e) {
    r.message = e.message();
  }
  return r;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const std::uint8_t options = data[0];
  static const char* const kCodes[] = {"nan", "NaN", "-", "9999", "x", "-999.5", "NA", "1"};
  const std::string mv = kCodes[data[1] % 8];
  InputFormat format;
  format.decimal = (options & 1) != 0 ? kDecimalComma : kDecimalPoint;
  format.delimComma = (options & 2) != 0;
  format.delimSemicolon = (options & 4) != 0;
  format.delimSpace = (options & 8) != 0;
  format.delimTab = (options & 16) != 0;
  const std::string path =
      fuzz::WriteFile("data.txt", std::string(reinterpret_cast<const char*>(data) + 2, size - 2));

  const Reading r = Read(path, mv, format);
  if (!r.ok) {
    VOREL_FUZZ_CHECK(r.message.rfind("Attention!\n", 0) == 0, r.message);
    return 0;
  }
  const int F = r.fields;
  VOREL_FUZZ_CHECK(F >= 1, std::to_string(F));
  VOREL_FUZZ_CHECK(r.table.cols() == F && static_cast<int>(r.names.size()) == F,
                   std::to_string(F) + " " + std::to_string(r.names.size()));
  VOREL_FUZZ_CHECK(r.table.rows() >= 1, std::to_string(r.table.rows()));
  for (const std::string& name : r.names) {
    VOREL_FUZZ_CHECK(!name.empty() && name.size() <= 299, name);
  }
  for (int c = 1; c <= F; ++c) {
    int present = 0;
    for (int t = 1; t <= r.table.rows(); ++t) {
      const double v = r.table.value(t, c);
      if (r.table.isValid(t, c)) {
        VOREL_FUZZ_CHECK(std::isfinite(v), std::to_string(v));
        ++present;
      } else {
        VOREL_FUZZ_CHECK(v == 0.0, std::to_string(v));
      }
    }
    VOREL_FUZZ_CHECK(r.table.validCount(c) == present, std::to_string(present));
  }
  VOREL_FUZZ_CHECK(r.notes.numberless.empty() || static_cast<int>(r.notes.numberless.size()) == F,
                   std::to_string(r.notes.numberless.size()));
  for (const auto& n : r.notes.numberless) {
    VOREL_FUZZ_CHECK(n.firstLines.size() <= DataFileNotes::kLinesKept &&
                         static_cast<long long>(n.firstLines.size()) <= n.count,
                     std::to_string(n.count));
    for (std::size_t k = 1; k < n.firstLines.size(); ++k) {
      VOREL_FUZZ_CHECK(n.firstLines[k - 1] < n.firstLines[k], "line numbers out of order");
    }
  }

  const Reading again = Read(path, mv, format);
  VOREL_FUZZ_CHECK(again.ok && again.names == r.names &&
                       again.table.values().cwiseEqual(r.table.values()).all() &&
                       again.table.flags() == r.table.flags(),
                   "a second reading differs");
  return 0;
}
