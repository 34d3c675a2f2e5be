// ombrelctl btn_UpdatePrg (task 4) and bt_firmware (task 25) against the
// virtual printer: the exact bytes that reached it, the texts, the exit
// status, the port wait, cancelling with Ctrl-C and the raw stream's pacing.

#include <regex>

#include "e2e/ctl_fixture.h"
#include "e2e/serial_line_log.h"

namespace ombrel::test_support {
namespace {

Bytes pattern(std::size_t size) {
  Bytes bytes(size);
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(i * 7 + 1);
  return bytes;
}

// `count` bytes of `bytes` from `from`, then `fill` 0xFF bytes, as hex.
std::string slice(const Bytes& bytes, std::size_t from, std::size_t count, std::size_t fill = 0) {
  Bytes part(bytes.begin() + static_cast<std::ptrdiff_t>(from),
             bytes.begin() + static_cast<std::ptrdiff_t>(from + count));
  part.insert(part.end(), fill, 0xFF);
  return toHex(part);
}

// A time scale at which a reply that comes late on a busy machine still counts.
const std::string kPatient = "2";
const std::string kConnect = "frame: 02 00 32 00 00 00 00 00 00 00 00 00 00 00 30 00";
const std::string kEnd = "frame: 02 00 2E 00 00 00 00 00 00 00 00 00 00 00 2C 00";

class ProgramUpdate : public CtlTest {
 protected:
  // An update file with `identity` in its field at 0x3000, zero padded.
  std::string fileWithIdentity(const std::string& identity) {
    Bytes content = pattern(0x3000 + 0x100);
    std::fill_n(content.begin() + 0x3000, 8, 0);
    std::copy(identity.begin(), identity.end(), content.begin() + 0x3000);
    return file("app.bin", content);
  }
};

TEST_F(ProgramUpdate, ThousandByteFileGoesOutInFourBlocksThenTheEndCommand) {
  VirtualPrinter printer({"--identity", ""});
  const Bytes content = pattern(1000);
  // Replies are waited for long enough here that a busy machine causes no resend.
  const auto run =
      ctl({"--link", printer.link(), "--set", "PrgFile=" + file("app.bin", content), "btn_UpdatePrg"}, kPatient);
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(wire(printer),
            (std::vector<std::string>{
                kIdentify, kConnect, "frame: 02 00 33 00 00 00 00 00 00 00 00 00 00 01 30 00 " + slice(content, 0, 256),
                "frame: 02 00 33 00 00 01 00 00 00 00 00 00 00 01 31 00 " + slice(content, 256, 256),
                "frame: 02 00 33 00 00 02 00 00 00 00 00 00 00 01 32 00 " + slice(content, 512, 256),
                "frame: 02 00 33 00 00 03 00 00 00 00 00 00 00 01 33 00 " + slice(content, 768, 232, 24), kEnd}));
  // No wait on the network link; the last progress text always shows.
  EXPECT_TRUE(std::regex_match(run.out, std::regex("更新程序:app\\.bin Size:1000\n连接...\n连接完成\n"
                                                   "(Finish \\d+\\.\\d%\\(\\d/3\\)\n)*"
                                                   "Finish 100\\.0%\\(3/3\\)\n更新程序完成\n")))
      << run.out;
}

TEST_F(ProgramUpdate, IdentityDecidesWhetherAnythingFollowsTheIdentification) {
  struct Case {
    const char* what;
    std::string printerIdentity;
    std::string fileIdentity;  // empty: a short file without one
    bool sends;
  };
  const Case cases[] = {
      {"same identity, compared in upper case", "OMB80", "omb80", true},
      {"foreign identity", "OMB80", "XP58", false},
      {"file without identity, printer with one", "OMB80", "", false},
  };
  for (const Case& c : cases) {
    VirtualPrinter printer({"--identity", c.printerIdentity});
    const std::string path =
        c.fileIdentity.empty() ? file("short.bin", pattern(0x3000)) : fileWithIdentity(c.fileIdentity);
    const auto run = ctl({"--link", printer.link(), "--set", "PrgFile=" + path, "btn_UpdatePrg"}, kPatient);
    const auto units = wire(printer);
    if (c.sends) {
      EXPECT_EQ(run.exitCode, 0) << c.what << run.err;
      ASSERT_EQ(units.size(), 2u + 0x31 + 1) << c.what;
      EXPECT_EQ(units.back(), kEnd) << c.what;
    } else {
      EXPECT_EQ(run.exitCode, 1) << c.what;
      EXPECT_EQ(units, (std::vector<std::string>{kIdentify})) << c.what;
      EXPECT_NE(run.out.find("\n程序文件错误\n"), std::string::npos) << c.what << run.out;
      EXPECT_EQ(run.err, "程序文件错误\n") << c.what;
    }
  }
}

TEST_F(ProgramUpdate, FilesThatCannotBeSentAreRefusedBeforeAnythingIsSent) {
  VirtualPrinter printer;
  const struct {
    std::string path;
    std::string message;
  } cases[] = {
      {dir() + "/missing.bin", "文件不存在\n"},
      {file("cut.bin", pattern(0x3003)),
       "程序文件错误: " + dir() + "/cut.bin (12291 bytes) ends inside the 8-byte identity at 0x3000\n"},
  };
  for (const auto& c : cases) {
    const auto run = ctl({"--link", printer.link(), "--set", "PrgFile=" + c.path, "btn_UpdatePrg"});
    EXPECT_EQ(run.exitCode, 2) << c.path;
    EXPECT_EQ(run.err, c.message);
  }
  EXPECT_TRUE(printer.received().empty());
}

TEST_F(ProgramUpdate, RawStreamCarriesTheSizeHeadThenPaddedBlocks) {
  VirtualPrinter printer;
  const Bytes content = pattern(300);
  const auto run = ctl({"--link", printer.link(), "--set", "PrgFile=" + file("fw.bin", content), "bt_firmware"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(wire(printer), (std::vector<std::string>{"raw: 1F 75 00 01 01 2C " + slice(content, 0, 256),
                                                     "raw: " + slice(content, 256, 44, 212)}));
  EXPECT_EQ(run.out, "更新程序:fw.bin Size:300\nFinish 100.0%(1/1)\n程序更新中请等待...\n更新程序完成\n");
}

TEST_F(ProgramUpdate, EmptyFileSendsNothingButStillWaitsForThePrinter) {
  VirtualPrinter printer;
  const auto run = ctl({"--link", printer.link(), "--set", "PrgFile=" + file("empty.bin", {}), "bt_firmware"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_TRUE(printer.received().empty());
  EXPECT_EQ(run.out, "更新程序:empty.bin Size:0\n程序更新中请等待...\n更新程序完成\n");
  EXPECT_GE(run.took.count(), 26000 / 20);
}

TEST_F(ProgramUpdate, SerialPortIsClosedForTheWaitThenReopened) {
  VirtualPrinter printer(OnPty{}, {"--identity", ""});
  const Bytes content = pattern(100);
  // 4 s of protocol time are 1 s here.
  const auto run = ctl({"--link", printer.link(), "--dev-baud", "9600", "--tran-baud", "9600", "--set",
                        "PrgFile=" + file("app.bin", content), "--set", "WaitTime=4", "btn_UpdatePrg"},
                       "4");
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_GE(run.took.count(), 1000);
  EXPECT_NE(run.out.find("连接完成\n等待5秒...\n"), std::string::npos) << run.out;
  const std::string empty = "02 00 30 00 00 00 00 00 00 00 00 00 08 00 3A 00 00 00 00 00 00 00 00 00 00";
  const std::string connect = "02 00 32 00 00 00 00 00 00 00 00 00 00 00 30 00";
  const std::string block = "02 00 33 00 00 00 00 00 00 00 00 00 00 01 30 00 " + slice(content, 0, 100, 156);
  Bytes data = content;
  data.resize(256, 0xFF);
  std::uint8_t check = 0;
  for (const std::uint8_t byte : data) check ^= byte;
  const std::string end = "02 00 2E 00 00 00 00 00 00 00 00 00 00 00 2C 00";
  EXPECT_EQ(lineLog(printer),
            concat({{"open"},
                    answered(kSerialIdentify, empty),
                    answered(connect, connect),
                    {"close", "open"},
                    answered(block + " " + toHex(&check, 1), "02 00 33 00 00 00 00 00 00 00 00 00 00 00 31 00"),
                    answered(end, end),
                    {"close"}}));
}

// After a boot handshake only the program update takes an unanswered
// command as answered: a task after it, or a link test, still needs a reply.
TEST_F(ProgramUpdate, RepliesGoUncheckedAfterBootModeForTheNextUpdateOnly) {
  for (const std::string action : {"btn_UpdatePrg", "btn_Test"}) {
    VirtualPrinter printer(OnPty{}, {"--boot-after", "3", "--identity", "", "--ignore", "121", "--ignore", "48"});
    const auto run =
        ctl({"--link", printer.link(), "--dev-baud", "9600", "--tran-baud", "9600", "--set",
             "PrgFile=" + file("app.bin", pattern(10)), "--set", "WaitTime=0", "but_bootIn", action, "task", "10"});
    EXPECT_EQ(run.exitCode, action == "btn_Test" ? 3 : 1);
    EXPECT_EQ(run.out.find("更新程序完成\n") != std::string::npos, action == "btn_UpdatePrg") << run.out;
    EXPECT_EQ(run.out.find("设置默认参数成功\n"), std::string::npos) << run.out;
  }
}

TEST_F(ProgramUpdate, CtrlCStopsAtABlockBoundaryAndClosesTheLink) {
  VirtualPrinter printer(OnPty{}, {"--identity", "", "--delay", "20"});
  Bytes content = pattern(256 * 200);
  std::fill_n(content.begin() + 0x3000, 8, 0);  // no identity, as the printer
  auto ctl = startCtl({"--link", printer.link(), "--dev-baud", "9600", "--tran-baud", "9600", "--set",
                       "PrgFile=" + file("app.bin", content), "--set", "WaitTime=0", "btn_UpdatePrg"},
                      "1");
  ASSERT_NO_FATAL_FAILURE(readUntilLine(*ctl, "Finish"));
  ASSERT_NO_FATAL_FAILURE(interruptAndExpectCancelled(*ctl));
  EXPECT_EQ(fileContent(errPath()), "Operaton Cancelled\n更新已取消。打印机中的程序可能不完整，请重新更新后再使用。\n");
  const auto log = lineLog(printer);
  ASSERT_GE(log.size(), 2u);
  EXPECT_EQ(log.back(), "close");
  EXPECT_EQ(log[log.size() - 2].rfind("tx reply: 02 00 33 00", 0), 0u) << "the last block was answered";
  // Whole blocks at consecutive offsets, each answered, then nothing more.
  std::size_t blocks = 0;
  for (const auto& line : log) {
    if (line.rfind("rx frame: 02 00 33 00", 0) != 0) continue;
    char offset[16];  // bytes 4 to 6 of the head: the block's offset, blocks of 256
    std::snprintf(offset, sizeof offset, "00 %02X %02X", static_cast<unsigned>(blocks & 0xFF),
                  static_cast<unsigned>(blocks >> 8));
    EXPECT_EQ(line.substr(22, 8), offset) << line;
    EXPECT_EQ(line.size(), std::string("rx frame: ").size() + 3 * (16 + 256 + 1) - 1);
    ++blocks;
  }
  EXPECT_GT(blocks, 0u);
  EXPECT_LT(blocks, 200u);
  EXPECT_EQ(std::count(log.begin(), log.end(), "rx frame: 02 00 2E 00 00 00 00 00 00 00 00 00 00 00 2C 00"), 0);
}

TEST_F(ProgramUpdate, RawStreamIsPacedAt400MillisecondsInRealTime) {
  VirtualPrinter printer;
  auto ctl =
      startCtl({"--link", printer.link(), "--set", "PrgFile=" + file("fw.bin", pattern(600)), "bt_firmware"}, "1");
  // The 26 s wait that follows is left with Ctrl-C.
  ASSERT_NO_FATAL_FAILURE(readUntilLine(*ctl, "程序更新中请等待..."));
  ASSERT_NO_FATAL_FAILURE(interruptAndExpectCancelled(*ctl));
  const std::string log = debugLog();
  std::vector<int> sent;  // milliseconds of the day of each send
  const std::regex send("Send \\d+ Bytes \\d\\d-\\d\\d-\\d\\d (\\d\\d):(\\d\\d):(\\d\\d) (\\d{3})");
  for (auto it = std::sregex_iterator(log.begin(), log.end(), send); it != std::sregex_iterator(); ++it) {
    sent.push_back(((std::stoi((*it)[1]) * 60 + std::stoi((*it)[2])) * 60 + std::stoi((*it)[3])) * 1000 +
                   std::stoi((*it)[4]));
  }
  ASSERT_EQ(sent.size(), 3u) << log;
  for (std::size_t i = 1; i < sent.size(); ++i) {
    EXPECT_GE(sent[i] - sent[i - 1], 400);
    EXPECT_LT(sent[i] - sent[i - 1], 600);
  }
}

}  // namespace
}  // namespace ombrel::test_support
