#include "platform/file_replace.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "platform/errors.h"

namespace ombrel {

namespace {
[[noreturn]] void fail(const std::string& what, const std::string& path, int error) {
  throw ECommonError("Cannot " + what + " " + path + ": " + std::strerror(error));
}

bool writeAll(int fd, const Bytes& bytes) {
  std::size_t written = 0;
  while (written < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    written += static_cast<std::size_t>(n);
  }
  return true;
}
}  // namespace

void replaceFileWith(const std::string& path, const Bytes& bytes) {
  const std::filesystem::path target(path);
  // Hidden, in the same directory, so that the rename stays on one file system.
  const std::string temporary =
      (target.parent_path() / ("." + target.filename().string() + ".part")).string();
  const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) fail("create", temporary, errno);
  const bool written = writeAll(fd, bytes);
  const int writeError = errno;
  if (::close(fd) != 0 || !written) {
    const int error = written ? errno : writeError;
    ::unlink(temporary.c_str());
    fail("write", temporary, error);
  }
  if (std::rename(temporary.c_str(), path.c_str()) != 0) {
    const int error = errno;
    ::unlink(temporary.c_str());
    fail("replace", path, error);
  }
}

}  // namespace ombrel
