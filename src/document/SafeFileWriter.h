#pragma once
// Writing a file so that a failure never leaves it truncated or half-written:
// the contents go to a temporary file in the target's folder, which is renamed
// over the target only once it is complete.

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
class StagedFile {
 public:
  // Writes contents to a new temporary file in the folder of path. Raises
  // ExceptionFileNotWritten (for path) when it cannot be created or written.
  StagedFile(const std::string& path, const std::string& contents);
  ~StagedFile();
  StagedFile(const StagedFile&) = delete;
  StagedFile& operator=(const StagedFile&) = delete;

  // Renames the temporary file over the target. Raises ExceptionFileNotWritten
  // when that fails (the temporary file is then removed). Once only.
  void Commit();

  const std::string& path() const { return path_; }

 private:
  std::string path_;
  std::string temporaryPath_;
  bool committed_ = false;
};

// Writes contents to path through a StagedFile: on success path holds exactly
// contents; on failure ExceptionFileNotWritten is raised and an existing file
// at path keeps its former contents.
void WriteFileSafely(const std::string& path, const std::string& contents);

}  // namespace vorel
