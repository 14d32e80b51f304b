#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "document/InputFormat.h"
#include "engine/MaskedMatrix.h"
#include "engine/MemoryBudget.h"

namespace vorel {

// What a reading noticed without refusing the file.
struct DataFileNotes {
  static constexpr std::size_t kLinesKept = 5;
  // Present fields that hold no number where one should begin (a word, a lone sign): they read
  // as 0 by the reading rules.
  struct Numberless {
    long long count = 0;
    std::vector<long long> firstLines;  // line numbers in the file (1-based), the first few
  };
  // Empty when every present field holds a number; else one entry per column (column c at
  // c - 1).
  std::vector<Numberless> numberless;
};

// Reads every column of a delimited text file into table (R data lines by F
// fields of the first line; a cell equal to mvCode is missing) and names (F
// column names: the header's, cut to 299 characters, or "Series #1".. when the
// first line is data). Comment lines and lines without a field make no row;
// every data line must hold exactly F fields. Returns F. Raises
// ExceptionNoFile when the file cannot be opened, ExceptionNotPlainText for a
// file in UTF-16 (or with zero bytes), ExceptionFileTooLarge when the table
// would not fit in availableMemory() bytes (nothing is allocated then), and
// ExceptionWrongDelimiterSelected for every reading failure (also for a file
// without data lines); on a failure, cells and names set so far stay as they
// are. Reads the file twice, a line at a time: first the names and the row
// count, then the rows straight into the table, so that its memory is the
// table's and one line's. A file that cannot be read twice (a pipe, a device)
// is first copied to a temporary file without a name in the temporary folder
// ($TMPDIR, else /tmp), which goes when the reading ends however it ends;
// ExceptionNoTemporaryCopy when that copy cannot be made. When notes is given
// it receives what was noticed.
int ReadDataFile(const std::string& path, const std::string& mvCode, const InputFormat& format,
                 MaskedMatrix& table, std::vector<std::string>& names,
                 DataFileNotes* notes = nullptr,
                 const std::function<std::optional<std::uint64_t>()>& availableMemory =
                     [] { return AvailableMemoryBytes(); });

// Reads the data of the standard input (descriptor 0, or the open descriptor
// given) by the rules, refusals and memory bound of ReadDataFile; the messages
// name it "the standard input". A redirected regular file is read in place
// from where the descriptor stands; a pipe or a terminal is read to its end
// into a temporary copy first, as ReadDataFile does with a pipe. The
// descriptor stays open.
int ReadDataFromStandardInput(const std::string& mvCode, const InputFormat& format,
                              MaskedMatrix& table, std::vector<std::string>& names,
                              DataFileNotes* notes = nullptr,
                              const std::function<std::optional<std::uint64_t>()>&
                                  availableMemory = [] { return AvailableMemoryBytes(); },
                              int descriptor = 0);

}  // namespace vorel
