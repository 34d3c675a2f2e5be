// Tasks 3 and 16: files into the printer's memory in addressed command-51
// blocks (the list download the logo download shares), and a range of that
// memory read back with command 52 into a file (task 2 reads the same way,
// and puts the printer back on its rate at the end). A download asked to be
// verified reads each file's range back the same way and compares it.

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <fstream>

#include "engine/task_handlers.h"
#include "platform/errors.h"
#include "platform/file_replace.h"
#include "protocol/codes.h"
#include "texts/message_texts.h"

namespace ombrel {

namespace {
constexpr std::size_t kBlockSize = 256;
constexpr int kAttempts = 3;

// A number written "$" and hexadecimal digits, as the download list holds them.
std::uint32_t dollarHex(const std::string& text) {
  std::uint32_t value = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = text.size() > 1 && text[0] == '$'
                                 ? std::from_chars(text.data() + 1, end, value, 16)
                                 : std::from_chars_result{text.data(), std::errc::invalid_argument};
  if (error != std::errc() || stop != end) throw ECommonError(Failure::NotAnInteger, text);
  return value;
}

Bytes wholeFile(const std::string& path) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) throw ECommonError(Failure::FileNotThere, path);
  // Read at its size in one piece: grown as it is read, a large file would
  // be held one and a half times over while the buffer moves.
  const std::uintmax_t size = std::filesystem::file_size(path, error);
  std::ifstream in(path, std::ios::binary);
  Bytes bytes(error ? 0 : size);
  in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (error || !in) throw ECommonError(Failure::FileUnreadable, path);
  return bytes;
}

std::string hexAddress(std::uint32_t address) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%X", address);
  return text;
}

// Reads the range just sent back and compares it with the file still held
// in the stream; fails at the first address whose byte differs. Bytes a
// reply holds past the range are not the file's and are passed over.
void verifyEntry(TaskRun& run, std::uint32_t address) {
  const Bytes& sent = run.stream().bytes();
  const auto total = static_cast<std::int64_t>(sent.size());
  std::size_t checked = 0;
  run.reportProgress(TransferPhase::Verifying, 0, total);
  while (checked < sent.size()) {
    if (run.cancelledByUser()) throw ECommonError(Failure::ReadCancelled);
    const auto at = address + static_cast<std::uint32_t>(checked);
    const Bytes data = run.ReadBlock(kCmdReadBlock, at, 0, {}, kAttempts);
    if (data.empty()) throw ECommonError(Failure::ReadWithoutData, hexAddress(at));
    const std::size_t count = std::min(data.size(), sent.size() - checked);
    const auto inRange = data.begin() + static_cast<std::ptrdiff_t>(count);
    const auto differs =
        std::mismatch(data.begin(), inRange, sent.begin() + static_cast<std::ptrdiff_t>(checked)).first;
    if (differs != inRange) {
      const auto wrong = at + static_cast<std::uint32_t>(differs - data.begin());
      throw ECommonError(Failure::VerifyMismatch, messageTexts().text("sVerifyFailedMsg") + " " + hexAddress(wrong));
    }
    checked += count;
    run.ReportStatus("", static_cast<std::int64_t>(checked), total);
    run.reportProgress(TransferPhase::Verifying, static_cast<std::int64_t>(checked), total);
  }
}

void downloadEntry(TaskRun& run, const DownloadEntry& entry) {
  const auto code = static_cast<std::uint16_t>(dollarHex(entry.code));
  const std::uint32_t address = dollarHex(entry.address);
  TaskStream& stream = run.stream();
  stream.load(wholeFile(entry.file));
  // The second status panel names the file; the status text stays as it is.
  run.ReportStatus("Downloading " + entry.label + entry.file, 0, 0, true);
  const auto total = static_cast<std::int64_t>(stream.size());
  while (!stream.atEnd()) {
    run.throwIfCancelled();
    const auto offset = static_cast<std::uint32_t>(stream.position());
    run.SendCommand(code, address + offset, 0, stream.nextBytes(kBlockSize), kAttempts);
    const auto done = static_cast<std::int64_t>(stream.position());
    run.ReportStatus("", done, total);
    run.reportProgress(TransferPhase::Sending, done, total);
  }
  if (run.request().transfer.verify) verifyEntry(run, address);
}

}  // namespace

void listDownload(TaskRun& run) {
  run.inTaskFrame(true, [&] {
    for (const DownloadEntry& entry : run.request().transfer.downloads) downloadEntry(run, entry);
  });
  run.reportProgress(TransferPhase::Ended);
}

void memoryReadBack(TaskRun& run, const TaskInfo& task) {
  const TaskRequest& request = run.request();
  const auto start = static_cast<std::uint32_t>(request.a);
  const std::int64_t length = request.b;
  if (request.transfer.readBackPath.empty()) {
    // A request that names no file to save to.
    run.fail(kTaskFailedWithText, kindOf(Failure::NoReadBackFile), failureText(Failure::NoReadBackFile));
    run.reportProgress(TransferPhase::Ended);
    return;
  }
  run.inTaskFrame(task.restoreRate, [&] {
    TaskStream& stream = run.stream();
    std::int64_t received = 0;
    while (received < length) {
      if (run.cancelledByUser()) throw ECommonError(Failure::ReadCancelled);
      const auto address = start + static_cast<std::uint32_t>(received);
      const Bytes data = run.ReadBlock(kCmdReadBlock, address, 0, {}, kAttempts);
      // A reply without data would never bring the read to its end.
      if (data.empty()) throw ECommonError(Failure::ReadWithoutData, hexAddress(address));
      stream.append(data);
      received += static_cast<std::int64_t>(data.size());
      run.ReportStatus("", received, length);
      run.reportProgress(TransferPhase::Receiving, received, length);
    }
    // Only a whole range replaces the file: a failure or a cancel above
    // leaves the old one as it was.
    replaceFileWith(request.transfer.readBackPath, stream.bytes());
    run.ReportStatus(messageTexts().text("sUploadMsg"));
  });
  run.reportProgress(TransferPhase::Ended);
}

}  // namespace ombrel
