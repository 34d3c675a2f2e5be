#pragma once

// The trace of the current task: "Send %d Bytes" / "Receive %d Bytes" lines
// with a timestamp and a hex dump, and "Open" / "Close" lines. It lives in
// memory and replaces debug.log after every task. Lines are 8-bit text: the
// dump's text column holds the raw bytes.

#include <chrono>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

namespace ombrel {

// " yy-mm-dd hh:nn:ss zzz " (leading and trailing blank) in local time.
std::string traceTimestamp(std::chrono::system_clock::time_point when);

// Sixteen bytes a line: "%2.2X " per byte with three extra blanks after every
// eighth, then ";" and the bytes as text (0x20 and below as a blank).
std::vector<std::string> hexDumpLines(const std::uint8_t* bytes, std::size_t count);

// Guarded: the worker traces what it sends while the owner's thread traces what
// the ports deliver.
class Trace {
 public:
  void clear();
  void line(std::string text);
  void hex(const std::uint8_t* bytes, std::size_t count);
  // "<title> %d Bytes" with the timestamp, then the dump.
  void block(const char* title, const std::uint8_t* bytes, std::size_t count);
  std::vector<std::string> lines() const;
  // Replaces the content of `path` with the lines, each ended by CR LF.
  // Returns false when the file cannot be written.
  bool save(const std::string& path) const;

 private:
  mutable std::mutex mutex_;
  std::vector<std::string> lines_;
};

}  // namespace ombrel
