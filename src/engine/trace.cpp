#include "engine/trace.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <ctime>

namespace ombrel {

std::string traceTimestamp(std::chrono::system_clock::time_point when) {
  const auto seconds = std::chrono::time_point_cast<std::chrono::seconds>(when);
  const auto millis = std::chrono::duration_cast<std::chrono::milliseconds>(when - seconds).count();
  const std::time_t t = std::chrono::system_clock::to_time_t(seconds);
  std::tm local{};
  localtime_r(&t, &local);
  char text[40];
  std::snprintf(text, sizeof text, " %02d-%02d-%02d %02d:%02d:%02d %03d ", local.tm_year % 100, local.tm_mon + 1,
                local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec, static_cast<int>(millis));
  return text;
}

std::vector<std::string> hexDumpLines(const std::uint8_t* bytes, std::size_t count) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::vector<std::string> out;
  std::string hexColumn = "    ";
  std::string textColumn = "    ;";
  for (std::size_t i = 0; i < count; ++i) {
    hexColumn += kDigits[bytes[i] >> 4];
    hexColumn += kDigits[bytes[i] & 0x0F];
    hexColumn += ' ';
    textColumn += bytes[i] <= 0x20 ? ' ' : static_cast<char>(bytes[i]);
    if (i % 8 == 7) hexColumn += "   ";
    if (i % 16 == 15) {
      out.push_back(hexColumn + textColumn);
      hexColumn = "    ";
      textColumn = "    ;";
    }
  }
  if (count % 16 != 0) {
    for (std::size_t k = 16 - count % 16; k >= 1; --k) {
      hexColumn += "   ";
      textColumn += ' ';
      if (k % 8 == 7) hexColumn += "   ";
    }
    out.push_back(hexColumn + textColumn);
  }
  return out;
}

void Trace::clear() {
  std::lock_guard lock(mutex_);
  lines_.clear();
}

void Trace::line(std::string text) {
  std::lock_guard lock(mutex_);
  lines_.push_back(std::move(text));
}

void Trace::hex(const std::uint8_t* bytes, std::size_t count) {
  auto dump = hexDumpLines(bytes, count);
  std::lock_guard lock(mutex_);
  for (auto& l : dump) lines_.push_back(std::move(l));
}

void Trace::block(const char* title, const std::uint8_t* bytes, std::size_t count) {
  std::string head = std::string(title) + ' ' + std::to_string(count) + " Bytes";
  head += traceTimestamp(std::chrono::system_clock::now());
  auto dump = hexDumpLines(bytes, count);
  // One lock for the whole block keeps a send and a receive from interleaving.
  std::lock_guard lock(mutex_);
  lines_.push_back(std::move(head));
  for (auto& l : dump) lines_.push_back(std::move(l));
}

std::vector<std::string> Trace::lines() const {
  std::lock_guard lock(mutex_);
  return lines_;
}

bool Trace::save(const std::string& path) const {
  std::string content;
  for (const auto& l : lines()) {
    content += l;
    content += "\r\n";
  }
  // Written over the old content and then cut to length, rather than
  // truncated first or renamed over: either of those makes the file system
  // flush the file to disk, which costs more than a whole task.
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  std::size_t written = 0;
  while (written < content.size()) {
    const ssize_t n = ::pwrite(fd, content.data() + written, content.size() - written, static_cast<off_t>(written));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    written += static_cast<std::size_t>(n);
  }
  const bool complete = written == content.size() && ::ftruncate(fd, static_cast<off_t>(written)) == 0;
  return ::close(fd) == 0 && complete;
}

}  // namespace ombrel
