#pragma once
// How vorel-batch ends on a signal: never with a temporary file or a
// half-committed group of outputs left behind.

namespace vorel {

// For the process's main(), before any other thread starts. A closed pipe on
// an output and a file-size limit become write errors (reported as such)
// instead of ending the process. The signals that end a process (hangup,
// interrupt, quit, termination, alarm, user signals, CPU limit) are blocked in
// every thread and taken by one thread of their own, which removes the staged
// files (DiscardStagedFiles) and then ends the process by the same signal.
// Signals ignored when the process started stay ignored.
void InstallSignalCleanup();

}  // namespace vorel
