#include "engine/trace.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <filesystem>
#include <future>
#include <fstream>
#include <regex>
#include <sstream>

#include "platform/bytes.h"
#include "settings/temp_dir.h"

namespace ombrel {
namespace {

using testing::readFile;
using testing::TempDir;
using testing::writeFile;

std::vector<std::string> dump(const Bytes& bytes) {
  std::string text;
  appendHexDump(text, bytes.data(), bytes.size());
  std::vector<std::string> lines;
  for (std::size_t at = 0, end; (end = text.find("\r\n", at)) != std::string::npos; at = end + 2) {
    lines.push_back(text.substr(at, end - at));
  }
  return lines;
}

TEST(HexDump, NoBytesNoLine) { EXPECT_TRUE(dump({}).empty()); }

TEST(HexDump, SixteenBytesMakeOneFullLine) {
  Bytes bytes;
  for (int i = 0; i < 16; ++i) bytes.push_back(static_cast<std::uint8_t>(0x41 + i));
  const auto lines = dump(bytes);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0], "    41 42 43 44 45 46 47 48    49 4A 4B 4C 4D 4E 4F 50        ;ABCDEFGHIJKLMNOP");
}

TEST(HexDump, PartialLinesArePaddedToTheFullWidth) {
  const auto seventeen = dump(Bytes(17, 0x30));
  ASSERT_EQ(seventeen.size(), 2u);
  EXPECT_EQ(seventeen[1].size(), seventeen[0].size());
  EXPECT_EQ(seventeen[1], "    30 " + std::string(15 * 3 + 6, ' ') + "    ;0" + std::string(15, ' '));

  // Five bytes get only the gap at k = 7 in their filler: three blanks short.
  const auto five = dump(Bytes(5, 0x30));
  ASSERT_EQ(five.size(), 1u);
  EXPECT_EQ(five[0].size(), seventeen[0].size() - 3);
}

TEST(HexDump, TextColumnShowsControlBytesAndBlankAsBlank) {
  const auto lines = dump({0x20, 0x21, 0x00, 0x7A});
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].substr(lines[0].find(';')), "; ! z" + std::string(12, ' '));
}

TEST(TraceTimestamp, HasTheTwoDigitLayoutWithBlanksAround) {
  const std::string stamp = traceTimestamp(std::chrono::system_clock::now());
  EXPECT_TRUE(std::regex_match(stamp, std::regex(" \\d\\d-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d \\d\\d\\d "))) << stamp;
}

// A transfer's trace is many times the file: it goes beside the old trace as
// it comes, and a later, shorter trace replaces it whole.
TEST(TraceFile, IsWrittenAsItComesAndReplacedWhole) {
  TempDir dir;
  const auto path = dir / "debug.log";
  writeFile(path, "an older trace\n");
  const std::size_t stamp = traceTimestamp({}).size();
  const std::size_t dumpLine = 79 + 2;

  Trace trace;
  trace.begin(path);
  const Bytes block(1 << 14, 0x41);
  for (int i = 0; i < 256; ++i) trace.block("Send", block.data(), block.size());
  const std::size_t whole = 256 * (std::string("Send 16384 Bytes").size() + stamp + 2 + 1024 * dumpLine);
  std::uintmax_t beside = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
    if (entry.path() != path) beside += entry.file_size();
  }
  // Only what the writer has not written yet is still in memory.
  EXPECT_GE(beside, whole - Trace::kUnwrittenLimit - Trace::kPieceBytes) << "the lines are held in memory";
  EXPECT_EQ(readFile(path), "an older trace\n");
  ASSERT_TRUE(trace.save());
  const std::string text = readFile(path);
  EXPECT_EQ(text.size(), whole);
  EXPECT_EQ(text.substr(text.size() - dumpLine),
            "    41 41 41 41 41 41 41 41    41 41 41 41 41 41 41 41    "
            "    ;AAAAAAAAAAAAAAAA\r\n");

  trace.begin(path);
  trace.line("Open/dev/ttyS0");
  trace.block("Send", Bytes{0x02, 0x00}.data(), 2);
  ASSERT_TRUE(trace.save());
  const std::string shorter = readFile(path);
  EXPECT_EQ(shorter.rfind("Open/dev/ttyS0\r\nSend 2 Bytes ", 0), 0u) << shorter.substr(0, 100);
  // Two bytes: the filler has one gap of three blanks less than a full line.
  EXPECT_EQ(shorter.size(), 16 + std::string("Send 2 Bytes").size() + stamp + 2 + dumpLine - 3);
}

// A disk that takes nothing until it is let go.
struct HeldDisk {
  std::mutex mutex;
  std::condition_variable released;
  bool held = true;
  std::string committed;

  struct File final : PieceFile {
    explicit File(HeldDisk& held) : disk(held) {}
    bool begin() override { return true; }
    void append(std::string_view bytes) override {
      std::unique_lock lock(disk.mutex);
      disk.released.wait(lock, [this] { return !disk.held; });
      content += bytes;
    }
    bool commit() override {
      std::lock_guard lock(disk.mutex);
      disk.committed = content;
      return true;
    }
    HeldDisk& disk;
    std::string content;
  };

  void letGo() {
    std::lock_guard lock(mutex);
    held = false;
    released.notify_all();
  }
};

// A slow disk holds up no port's reader until the trace holds its bound of
// unwritten lines; then the reader waits, and once the disk catches up the
// trace is whole and in order.
TEST(TraceFile, SlowDiskHoldsNoReaderWithinTheBound) {
  HeldDisk disk;
  Trace trace([&disk](const std::filesystem::path&) { return std::make_unique<HeldDisk::File>(disk); });
  trace.begin("debug.log");
  std::string expected;
  const auto lineText = [](int i) { return std::to_string(i) + std::string(1000, 'x'); };
  const auto traceLines = [&](int from, int to) {
    return std::async(std::launch::async, [&trace, lineText, from, to] {
      for (int i = from; i < to; ++i) trace.line(lineText(i));
    });
  };
  const int withinBound = static_cast<int>((Trace::kUnwrittenLimit - Trace::kPieceBytes) / 1010);
  const int beyondBound = withinBound + 2000;
  for (int i = 0; i < beyondBound; ++i) expected += lineText(i) + "\r\n";

  auto reader = traceLines(0, withinBound);
  ASSERT_EQ(reader.wait_for(std::chrono::seconds(20)), std::future_status::ready) << "held within the bound";
  auto pastBound = traceLines(withinBound, beyondBound);
  EXPECT_EQ(pastBound.wait_for(std::chrono::milliseconds(300)), std::future_status::timeout)
      << "memory grows past the bound";
  disk.letGo();
  pastBound.get();
  ASSERT_TRUE(trace.save());
  EXPECT_TRUE(disk.committed == expected) << disk.committed.size() << " of " << expected.size() << " bytes";
}

TEST(TraceFile, UnwritablePlaceIsReported) {
  Trace trace;
  trace.begin("/nonexistent-dir/debug.log");
  trace.line("x");
  EXPECT_FALSE(trace.save());
}

}  // namespace
}  // namespace ombrel
