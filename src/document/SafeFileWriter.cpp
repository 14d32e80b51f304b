#include "document/SafeFileWriter.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
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

}  // namespace

StagedFile::StagedFile(const std::string& path, const std::string& contents) : path_(path) {
  if (path.empty() || path.back() == '/') throw ExceptionFileNotWritten(path);
  // A folder in the way would only be found by the rename; refuse it now, so
  // that a group of staged files fails before any of them is committed.
  struct stat info {};
  if (::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
    throw ExceptionFileNotWritten(path);
  }
  std::string pattern = FolderOf(path) + ".vorel-XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  const int fd = ::mkstemp(name.data());
  if (fd < 0) throw ExceptionFileNotWritten(path);
  temporaryPath_ = name.data();
  bool ok = ::fchmod(fd, TargetMode(path)) == 0;
  ok = ok && WriteAll(fd, contents);
  ok = ok && ::fsync(fd) == 0;
  ok = (::close(fd) == 0) && ok;
  if (!ok) {
    ::unlink(temporaryPath_.c_str());
    throw ExceptionFileNotWritten(path);
  }
}

StagedFile::~StagedFile() {
  if (!committed_) ::unlink(temporaryPath_.c_str());
}

void StagedFile::Commit() {
  if (committed_) return;
  if (std::rename(temporaryPath_.c_str(), path_.c_str()) != 0) {
    ::unlink(temporaryPath_.c_str());
    committed_ = true;  // nothing left to remove
    throw ExceptionFileNotWritten(path_);
  }
  committed_ = true;
}

void WriteFileSafely(const std::string& path, const std::string& contents) {
  StagedFile file(path, contents);
  file.Commit();
}

}  // namespace vorel
