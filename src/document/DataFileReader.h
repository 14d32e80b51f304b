#pragma once

#include <string>
#include <vector>

#include "document/InputFormat.h"
#include "engine/MaskedMatrix.h"

namespace vorel {

// Reads every column of a delimited text file into table (R data lines by F
// fields of the first line; a cell equal to mvCode is missing) and names (F
// column names: the header's, cut to 299 characters, or "Series #1".. when the
// first line is data). Comment lines and lines without a field make no row;
// every data line must hold exactly F fields. Returns F. Raises
// ExceptionNoFile when the file cannot be opened and
// ExceptionWrongDelimiterSelected for every reading failure (also for a file
// without data lines); on a failure, cells and names set so far stay as they
// are. Reads the whole file once; costs O(file size + R * F).
int ReadDataFile(const std::string& path, const std::string& mvCode, const InputFormat& format,
                 MaskedMatrix& table, std::vector<std::string>& names);

}  // namespace vorel
