#include "engine/trace.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>

namespace ombrel {

namespace {
constexpr std::size_t kDumpWidth = 16;
}  // namespace

std::string traceTimestamp(std::chrono::system_clock::time_point when) {
  const auto seconds = std::chrono::time_point_cast<std::chrono::seconds>(when);
  const auto millis = std::chrono::duration_cast<std::chrono::milliseconds>(when - seconds).count();
  const std::time_t t = std::chrono::system_clock::to_time_t(seconds);
  // Converting and formatting the date costs more than a block's dump, so
  // each thread does it once a second.
  thread_local std::time_t formattedSecond = -1;
  thread_local char date[32];
  if (t != formattedSecond) {
    std::tm local{};
    localtime_r(&t, &local);
    std::snprintf(date, sizeof date, " %02d-%02d-%02d %02d:%02d:%02d ", local.tm_year % 100, local.tm_mon + 1,
                  local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec);
    formattedSecond = t;
  }
  std::string text(date);
  text += static_cast<char>('0' + millis / 100);
  text += static_cast<char>('0' + millis / 10 % 10);
  text += static_cast<char>('0' + millis % 10);
  text += ' ';
  return text;
}

void appendHexDump(std::string& out, const std::uint8_t* bytes, std::size_t count) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  for (std::size_t start = 0; start < count; start += kDumpWidth) {
    const std::size_t n = std::min(kDumpWidth, count - start);
    // Blank columns: the gaps and the filler of a short last line are
    // stepped over. A full line is 58 hex and 21 text characters.
    char hexColumn[64];
    char textColumn[24];
    std::memset(hexColumn, ' ', sizeof hexColumn);
    std::memset(textColumn, ' ', sizeof textColumn);
    textColumn[4] = ';';
    std::size_t h = 4;
    for (std::size_t i = 0; i < n; ++i) {
      const std::uint8_t byte = bytes[start + i];
      hexColumn[h] = kDigits[byte >> 4];
      hexColumn[h + 1] = kDigits[byte & 0x0F];
      h += i % 8 == 7 ? 6 : 3;
      if (byte > 0x20) textColumn[5 + i] = static_cast<char>(byte);
    }
    // The last line is filled to the full width, with the gap at k = 7.
    for (std::size_t k = kDumpWidth - n; k >= 1; --k) h += k % 8 == 7 ? 6 : 3;
    out.append(hexColumn, h);
    out.append(textColumn, 5 + kDumpWidth);
    out += "\r\n";
  }
}

Trace::Trace(FileOpener open)
    : open_(open ? std::move(open) : [](const std::filesystem::path& path) -> std::unique_ptr<PieceFile> {
        return std::make_unique<RewrittenFile>(path);
      }) {}

Trace::~Trace() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  changed_.notify_all();
  if (writer_.joinable()) writer_.join();
}

void Trace::begin(const std::filesystem::path& path) {
  std::unique_lock lock(mutex_);
  waitUntilWritten(lock);
  pending_.clear();
  if (!file_ || path != path_) {
    file_ = open_(path);
    path_ = path;
  }
  file_->begin();
  if (!writer_.joinable()) writer_ = std::thread([this] { writeOut(); });
}

void Trace::line(std::string_view text) {
  std::unique_lock lock(mutex_);
  pending_ += text;
  pending_ += "\r\n";
  handOver(lock);
}

void Trace::block(const char* title, const std::uint8_t* bytes, std::size_t count) {
  const std::string stamp = traceTimestamp(std::chrono::system_clock::now());
  // One lock for the whole block keeps a send and a receive from interleaving.
  std::unique_lock lock(mutex_);
  pending_ += title;
  pending_ += ' ';
  pending_ += std::to_string(count);
  pending_ += " Bytes";
  pending_ += stamp;
  pending_ += "\r\n";
  appendHexDump(pending_, bytes, count);
  handOver(lock);
}

bool Trace::save() {
  std::unique_lock lock(mutex_);
  waitUntilWritten(lock);
  if (!file_) return false;
  file_->append(pending_);
  pending_.clear();
  return file_->commit();
}

void Trace::handOver(std::unique_lock<std::mutex>& lock) {
  if (pending_.size() < kPieceBytes) return;
  if (!file_) {
    pending_.clear();
    return;
  }
  // A writer that falls this far behind holds up the tracing thread rather
  // than let the lines pile up in memory without end. One piece always goes,
  // however large.
  changed_.wait(lock, [this] { return unwritten_ == 0 || unwritten_ + pending_.size() <= kUnwrittenLimit; });
  unwritten_ += pending_.size();
  pieces_.push_back(std::move(pending_));
  pending_.clear();
  changed_.notify_all();
}

void Trace::waitUntilWritten(std::unique_lock<std::mutex>& lock) {
  changed_.wait(lock, [this] { return unwritten_ == 0; });
}

void Trace::writeOut() {
  std::unique_lock lock(mutex_);
  for (;;) {
    changed_.wait(lock, [this] { return !pieces_.empty() || stopping_; });
    if (pieces_.empty()) return;
    const std::string piece = std::move(pieces_.front());
    pieces_.pop_front();
    // The file is the writer's until every piece handed over is written.
    lock.unlock();
    file_->append(piece);
    lock.lock();
    unwritten_ -= piece.size();
    changed_.notify_all();
  }
}

}  // namespace ombrel
