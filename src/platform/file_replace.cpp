#include "platform/file_replace.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/errors.h"

namespace ombrel {

namespace {

[[noreturn]] void fail(const std::string& what, const std::filesystem::path& path, int error) {
  throw ECommonError("Cannot " + what + " " + path.string() + ": " + std::strerror(error));
}

bool writeAllAt(int fd, std::string_view bytes, off_t offset) {
  while (!bytes.empty()) {
    const ssize_t written = ::pwrite(fd, bytes.data(), bytes.size(), offset);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(written));
    offset += written;
  }
  return true;
}

// The file a link at `path` points to, which is the one to replace.
std::filesystem::path replacedTarget(const std::filesystem::path& path) {
  std::error_code error;
  std::filesystem::path target = std::filesystem::weakly_canonical(path, error);
  return error ? path : target;
}

// ".<name>.tmp": what every temporary file of `target` begins with.
std::string temporaryPrefix(const std::filesystem::path& target) {
  // Appended piece by piece: prepending to a temporary string trips a false
  // overlapping-copy warning of GCC 12 at -O3.
  std::string prefix(1, '.');
  prefix += target.filename().string();
  prefix += ".tmp";
  return prefix;
}

// A kill between creating and renaming the temporary file leaves it behind;
// its name carries the writer's process id, so one whose writer is gone is
// removed. A running writer's file (this process's included) is left alone.
void removeStaleTemporaries(const std::filesystem::path& target) {
  const std::string prefix = temporaryPrefix(target);
  const std::filesystem::path directory = target.parent_path().empty() ? "." : target.parent_path();
  std::error_code error;
  for (std::filesystem::directory_iterator it(directory, error), end; !error && it != end; it.increment(error)) {
    const std::string name = it->path().filename().string();
    if (!name.starts_with(prefix)) continue;
    const char* digits = name.data() + prefix.size();
    const char* last = name.data() + name.size();
    pid_t writer = 0;
    const auto [next, parsed] = std::from_chars(digits, last, writer);
    if (parsed != std::errc() || next == last || *next != '_' || writer <= 0) continue;
    if (::kill(writer, 0) != 0 && errno == ESRCH) ::unlink(it->path().c_str());
  }
}

// ".<name>.tmp<pid>_<n>" beside `target`, a name no other file of this
// process has had.
std::filesystem::path temporaryName(const std::filesystem::path& target) {
  static std::atomic<unsigned> counter{0};
  std::string name = temporaryPrefix(target);
  name += std::to_string(::getpid()) + "_" + std::to_string(counter.fetch_add(1));
  std::filesystem::path temporary = target;
  temporary.replace_filename(name);
  return temporary;
}

// Creates a new file beside `target` for exclusive writing; -1 when none
// can be created. The permission bits follow `target` when it exists.
int createTemporaryBeside(const std::filesystem::path& target, std::filesystem::path& temporary) {
  struct stat existing {};
  const bool targetExists = ::stat(target.c_str(), &existing) == 0;
  for (int attempt = 0; attempt < 100; ++attempt) {
    temporary = temporaryName(target);
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) {
      if (targetExists) ::fchmod(fd, existing.st_mode & 07777);
      return fd;
    }
    if (errno != EEXIST) return -1;
  }
  return -1;
}

// Makes the rename itself survive a power loss; best effort, as some file
// systems cannot open a directory for it.
void syncDirectory(const std::filesystem::path& directory) {
  const int fd = ::open(directory.empty() ? "." : directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

void replaceFileWith(const std::filesystem::path& path, std::string_view bytes) {
  const std::filesystem::path target = replacedTarget(path);
  removeStaleTemporaries(target);
  std::filesystem::path temporary;
  const int fd = createTemporaryBeside(target, temporary);
  if (fd < 0) fail("create a file beside", path, errno);
  // Flushed before the rename: otherwise a power loss can leave the new name
  // on an empty file.
  const bool written = writeAllAt(fd, bytes, 0) && ::fsync(fd) == 0;
  const int writeError = errno;
  if (::close(fd) != 0 || !written) {
    const int failure = written ? errno : writeError;
    ::unlink(temporary.c_str());
    fail("write", temporary, failure);
  }
  if (std::rename(temporary.c_str(), target.c_str()) != 0) {
    const int failure = errno;
    ::unlink(temporary.c_str());
    fail("replace", path, failure);
  }
  syncDirectory(target.parent_path());
}

void replaceFileWith(const std::filesystem::path& path, const Bytes& bytes) {
  replaceFileWith(path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

RewrittenFile::RewrittenFile(const std::filesystem::path& path)
    : target_(replacedTarget(path)), spare_(temporaryName(target_)) {
  removeStaleTemporaries(target_);
}

RewrittenFile::~RewrittenFile() {
  if (fd_ >= 0) ::close(fd_);
  ::unlink(spare_.c_str());
}

bool RewrittenFile::begin() {
  if (fd_ >= 0) ::close(fd_);
  // Opened by name each time: after an exchange the spare is the old file.
  fd_ = ::open(spare_.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
  written_ = 0;
  failed_ = fd_ < 0;
  return !failed_;
}

void RewrittenFile::append(std::string_view bytes) {
  if (failed_) return;
  failed_ = !writeAllAt(fd_, bytes, written_);
  written_ += static_cast<off_t>(bytes.size());
}

bool RewrittenFile::commit() {
  if (fd_ < 0) return false;
  // Cut to length rather than emptied first: emptying a file makes the file
  // system write it out when it is closed.
  const bool whole = !failed_ && ::ftruncate(fd_, written_) == 0;
  const bool closed = ::close(fd_) == 0;
  fd_ = -1;
  if (!whole || !closed) return false;
  // The first time there is no file to exchange with, and some file systems
  // cannot exchange: then the spare is renamed over the file.
  if (::renameat2(AT_FDCWD, spare_.c_str(), AT_FDCWD, target_.c_str(), RENAME_EXCHANGE) == 0) {
    return true;
  }
  return std::rename(spare_.c_str(), target_.c_str()) == 0;
}

}  // namespace ombrel
