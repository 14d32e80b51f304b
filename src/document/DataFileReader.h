#pragma once

#include <string>
#include <vector>

#include "document/InputFormat.h"
#include "engine/MaskedMatrix.h"

namespace vorel {

// Reads every column of a delimited text file into table (R data lines by F
// fields of the first line; a cell equal to mvCode is missing) and names (F
// column names: the header's, or "Series #1".. when the first line is data).
// Returns F. Raises ExceptionNoFile when the file cannot be opened and
// ExceptionWrongDelimiterSelected for every reading failure; on a failure,
// cells and names set so far stay as they are.
int ReadDataFile(const std::string& path, const std::string& mvCode, const InputFormat& format,
                 MaskedMatrix& table, std::vector<std::string>& names);

}  // namespace vorel
