#include "engine/trace.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "platform/bytes.h"

namespace ombrel {
namespace {

std::vector<std::string> dump(const Bytes& bytes) { return hexDumpLines(bytes.data(), bytes.size()); }

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

TEST(TraceFile, IsReplacedWithCrLfLines) {
  const auto path = std::filesystem::temp_directory_path() / "ombrel_trace_test.log";
  {
    std::ofstream old(path);
    old << "an older trace that must disappear\n";
  }
  Trace trace;
  trace.line("Open/dev/ttyS0");
  trace.block("Send", Bytes{0x02, 0x00}.data(), 2);
  ASSERT_TRUE(trace.save(path.string()));
  std::ifstream in(path, std::ios::binary);
  std::stringstream content;
  content << in.rdbuf();
  const std::string text = content.str();
  EXPECT_EQ(text.rfind("Open/dev/ttyS0\r\nSend 2 Bytes ", 0), 0u) << text;
  EXPECT_EQ(text.find("older"), std::string::npos);
  EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
  std::filesystem::remove(path);
}

TEST(TraceFile, UnwritablePlaceIsReported) {
  Trace trace;
  trace.line("x");
  EXPECT_FALSE(trace.save("/nonexistent-dir/debug.log"));
}

}  // namespace
}  // namespace ombrel
