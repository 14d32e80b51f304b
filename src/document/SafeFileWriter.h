#pragma once
// Writing a file so that a failure never leaves it truncated or half-written:
// the contents go to a temporary file in the target's folder, which is renamed
// over the target only once it is complete. A target that is a symbolic link is
// written through the link; one that is a device or a pipe (/dev/null,
// /dev/stdout, a named pipe) is written in place, as it cannot be replaced.

#include <mutex>
#include <string>

#include "engine/AbstractException.h"

namespace vorel {

// A file that could not be created or written.
class ExceptionFileNotWritten : public AbstractException {
 public:
  explicit ExceptionFileNotWritten(const std::string& path)
      : AbstractException("Attention!\nThe file " + path + " cannot be written.") {}
};

// The contents of one file, written to a temporary file beside the target and
// put in place by Commit(). Until then the target is untouched; a staged file
// that is destroyed without Commit() removes its temporary file. Staging
// several files before committing any keeps a group of outputs together.
// A device or pipe target gets no temporary file: Commit() writes to it.
class StagedFile {
 public:
  // Writes contents to a new temporary file in the folder of path. Raises
  // ExceptionFileNotWritten (for path) when it cannot be created or written.
  StagedFile(const std::string& path, const std::string& contents);
  ~StagedFile();
  StagedFile(const StagedFile&) = delete;
  StagedFile& operator=(const StagedFile&) = delete;

  // Renames the temporary file over the target, or writes a device or pipe
  // target. Raises ExceptionFileNotWritten when that fails (the temporary file
  // is then removed). Once only.
  void Commit();

  const std::string& path() const { return path_; }
  // True for a device or pipe target, which Commit() writes in place: a
  // failure there may leave part of the contents written.
  bool writesInPlace() const { return inPlace_; }

 private:
  void RemoveTemporary();

  std::string path_;           // as given, for the messages
  std::string target_;         // the file that is replaced: path_ with its links followed
  std::string temporaryPath_;  // empty when writing in place
  std::string contents_;       // kept only when writing in place
  bool inPlace_ = false;
  bool committed_ = false;
};

// While one lives, no temporary file is put in place or removed by another
// thread, and DiscardStagedFiles waits: the commits of a group of staged
// files inside it are not cut in two by a signal that ends the process.
class StagedCommitGroup {
 public:
  StagedCommitGroup();
  ~StagedCommitGroup();
  StagedCommitGroup(const StagedCommitGroup&) = delete;
  StagedCommitGroup& operator=(const StagedCommitGroup&) = delete;

 private:
  std::unique_lock<std::recursive_mutex> lock_;
};

// Removes the temporary file of every staged file of the process that is
// neither committed nor destroyed, and from then on keeps any other file from
// being staged, committed or removed (those calls wait for good). For a
// process about to end by a signal: call it from an ordinary thread (one that
// waits for the signal), never from a signal handler.
void DiscardStagedFiles();

// Writes contents to path through a StagedFile: on success path holds exactly
// contents; on failure ExceptionFileNotWritten is raised and an existing file
// at path keeps its former contents.
void WriteFileSafely(const std::string& path, const std::string& contents);

}  // namespace vorel
