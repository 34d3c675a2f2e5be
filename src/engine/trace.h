#pragma once

// The trace of the current task: "Send %d Bytes" / "Receive %d Bytes" lines
// with a timestamp and a hex dump, and "Open" / "Close" lines. It replaces
// the engine's trace file (debug.log) after every task. Lines are 8-bit text
// ended by CR LF: the dump's text column holds the raw bytes. A transfer of
// many megabytes traces several times its size, so the lines go to the file
// as they come, beside the old trace, which stays whole until the task's
// trace is put in its place.

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>

#include "platform/file_replace.h"

namespace ombrel {

// " yy-mm-dd hh:nn:ss zzz " (leading and trailing blank) in local time.
std::string traceTimestamp(std::chrono::system_clock::time_point when);

// Appends the dump lines, each ended by CR LF. Sixteen bytes a line:
// "%2.2X " per byte with three extra blanks after every eighth, then ";" and
// the bytes as text (0x20 and below as a blank).
void appendHexDump(std::string& out, const std::uint8_t* bytes, std::size_t count);

// Guarded: the worker traces what it sends while a port's thread traces what
// it delivers. A thread of the trace's own writes the lines out in pieces,
// so a slow disk holds up neither: the lines wait in memory, up to
// kUnwrittenLimit bytes, and only beyond that does a tracing thread wait for
// the writer. Nothing is dropped.
class Trace {
 public:
  // Lines not yet written that the trace holds before a tracing thread waits.
  static constexpr std::size_t kUnwrittenLimit = 16 * 1024 * 1024;
  // Lines are handed to the writer in pieces of about this size: few system
  // calls.
  static constexpr std::size_t kPieceBytes = 64 * 1024;

  using FileOpener = std::function<std::unique_ptr<PieceFile>(const std::filesystem::path&)>;
  // `open` makes the file a path's traces go to; a RewrittenFile by default.
  explicit Trace(FileOpener open = {});
  ~Trace();
  Trace(const Trace&) = delete;
  Trace& operator=(const Trace&) = delete;

  // Starts a task's trace, which will replace the content of `path`. Until
  // then, lines are dropped.
  void begin(const std::filesystem::path& path);
  void line(std::string_view text);
  // "<title> %d Bytes" with the timestamp, then the dump.
  void block(const char* title, const std::uint8_t* bytes, std::size_t count);
  // Puts the task's lines in place of the file's content, whole, once every
  // piece is written. False when they could not all be written; the file
  // then keeps its old content.
  bool save();

 private:
  // Hands the lines held so far to the writer once they fill a piece.
  void handOver(std::unique_lock<std::mutex>& lock);
  void waitUntilWritten(std::unique_lock<std::mutex>& lock);
  // The writer's thread: writes each piece it is handed to the file, in order.
  void writeOut();

  const FileOpener open_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::string pending_;             // lines not handed to the writer yet
  std::deque<std::string> pieces_;  // handed over, not taken by the writer yet
  std::size_t unwritten_ = 0;       // bytes handed over and not yet written
  bool stopping_ = false;
  std::unique_ptr<PieceFile> file_;  // the writer's while unwritten_ is not 0
  std::filesystem::path path_;
  std::thread writer_;  // started by the first begin()
};

}  // namespace ombrel
