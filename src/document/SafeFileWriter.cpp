#include "document/SafeFileWriter.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <vector>

namespace vorel {

namespace {

// The folder part of path, with its trailing separator ("" for a bare name).
std::string FolderOf(const std::string& path) {
  const std::string::size_type slash = path.find_last_of('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// The permissions a newly created file would get under the current umask, or
// those of the existing target, which the replacement keeps.
mode_t TargetMode(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode)) return info.st_mode & 07777;
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

bool WriteAll(int fd, const std::string& contents) {
  const char* data = contents.data();
  std::size_t left = contents.size();
  while (left > 0) {
    const ssize_t written = ::write(fd, data, left);
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += written;
    left -= static_cast<std::size_t>(written);
  }
  return true;
}

// The temporary files of the staged files of the process, kept so that a
// process ended by a signal can remove them. Never destroyed: a signal may
// come while static objects are being destroyed at exit.
std::recursive_mutex& StagingMutex() {
  static auto* mutex = new std::recursive_mutex;
  return *mutex;
}
std::set<std::string>& StagedTemporaries() {
  static auto* paths = new std::set<std::string>;
  return *paths;
}

}  // namespace

StagedCommitGroup::StagedCommitGroup() : lock_(StagingMutex()) {}
StagedCommitGroup::~StagedCommitGroup() = default;

void DiscardStagedFiles() {
  StagingMutex().lock();  // held until the process ends
  for (const std::string& path : StagedTemporaries()) ::unlink(path.c_str());
  StagedTemporaries().clear();
}

StagedFile::StagedFile(const std::string& path, const std::string& contents)
    : path_(path), target_(path) {
  if (path.empty() || path.back() == '/') throw ExceptionFileNotWritten(path);
  struct stat info {};
  if (::stat(path.c_str(), &info) == 0) {
    // A folder in the way would only be found by the rename; refuse it now, so
    // that a group of staged files fails before any of them is committed.
    if (S_ISDIR(info.st_mode)) throw ExceptionFileNotWritten(path);
    if (!S_ISREG(info.st_mode)) {
      // A device or a pipe cannot be replaced (renaming over /dev/null would
      // put a plain file in its place): it is written by Commit().
      if (::access(path.c_str(), W_OK) != 0) throw ExceptionFileNotWritten(path);
      inPlace_ = true;
      contents_ = contents;
      return;
    }
    // A file its owner made read-only is not replaced behind its back.
    if (::access(path.c_str(), W_OK) != 0) throw ExceptionFileNotWritten(path);
    // A link to a file: the linked file is replaced, the link stays.
    struct stat linkInfo {};
    if (::lstat(path.c_str(), &linkInfo) == 0 && S_ISLNK(linkInfo.st_mode)) {
      char* resolved = ::realpath(path.c_str(), nullptr);
      if (resolved == nullptr) throw ExceptionFileNotWritten(path);
      target_ = resolved;
      std::free(resolved);
    }
  }
  std::string pattern = FolderOf(target_) + ".vorel-XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  int fd = -1;
  {
    // Created and recorded in one step, so that no signal finds it unrecorded.
    std::lock_guard<std::recursive_mutex> lock(StagingMutex());
    fd = ::mkstemp(name.data());
    if (fd < 0) throw ExceptionFileNotWritten(path);
    temporaryPath_ = name.data();
    StagedTemporaries().insert(temporaryPath_);
  }
  bool ok = ::fchmod(fd, TargetMode(target_)) == 0;
  ok = ok && WriteAll(fd, contents);
  ok = ok && ::fsync(fd) == 0;
  ok = (::close(fd) == 0) && ok;
  if (!ok) {
    RemoveTemporary();
    throw ExceptionFileNotWritten(path);
  }
}

StagedFile::~StagedFile() {
  if (!committed_) RemoveTemporary();
}

void StagedFile::RemoveTemporary() {
  if (temporaryPath_.empty()) return;
  std::lock_guard<std::recursive_mutex> lock(StagingMutex());
  ::unlink(temporaryPath_.c_str());
  StagedTemporaries().erase(temporaryPath_);
}

void StagedFile::Commit() {
  if (committed_) return;
  if (inPlace_) {
    committed_ = true;
    const int fd = ::open(path_.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (fd < 0) throw ExceptionFileNotWritten(path_);
    const bool written = WriteAll(fd, contents_);
    if (!(::close(fd) == 0 && written)) throw ExceptionFileNotWritten(path_);
    return;
  }
  std::lock_guard<std::recursive_mutex> lock(StagingMutex());
  const bool renamed = std::rename(temporaryPath_.c_str(), target_.c_str()) == 0;
  if (!renamed) ::unlink(temporaryPath_.c_str());
  StagedTemporaries().erase(temporaryPath_);
  committed_ = true;  // nothing left to remove
  if (!renamed) throw ExceptionFileNotWritten(path_);
}

void WriteFileSafely(const std::string& path, const std::string& contents) {
  StagedFile file(path, contents);
  file.Commit();
}

}  // namespace vorel
