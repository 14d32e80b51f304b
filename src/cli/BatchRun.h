#pragma once
// vorel-batch: one whole analysis from the command line, as the desktop
// program runs it step by step.

#include <ostream>
#include <string>
#include <vector>

namespace vorel {

// Exit statuses of the tool.
enum BatchStatus : int { kBatchOk = 0, kBatchRefused = 1, kBatchMalformed = 2 };

// Runs vorel-batch with args (the arguments without the program name), as if
// the program had just started: the random generators are seeded with 11
// first. The series text goes to out unless --output names a file; messages go
// to err. Returns the exit status: 0 on success; 1 when the reader or the
// analysis refuses (err receives the system's message); 2 for a malformed
// command line (err receives the reason and the usage text). On a failure no
// output file is written; the output files of a success are put in place
// together once everything has been computed.
int RunBatch(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace vorel
