// ombrelctl on a serial link: the virtual printer on a pseudo-terminal, with
// the exact bytes on the line, the printer's rate, the tool's port being
// opened and closed, the texts and the exit status.

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <regex>

#include "e2e/ctl_fixture.h"
#include "e2e/serial_line_log.h"

namespace ombrel::test_support {
namespace {

// A pseudo-terminal with nothing behind it.
class EmptyPty {
 public:
  EmptyPty() : master_(::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC)) {
    if (master_ >= 0 && ::grantpt(master_) == 0 && ::unlockpt(master_) == 0) path_ = ::ptsname(master_);
  }
  ~EmptyPty() { ::close(master_); }
  const std::string& path() const { return path_; }

 private:
  int master_;
  std::string path_;
};

using SerialTask = SerialCtlTest;

TEST_F(SerialTask, RatesDifferSoCommand49WrapsTheTaskAndThePrinterFollows) {
  VirtualPrinter printer(OnPty{});
  const auto run = ctl({"--link", printer.link(), "--dev-baud", "9600", "--tran-baud", "115200", "task", "6", "47"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, "设置代码页成功\n");
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(lineLog(printer), concat({{"open"},
                                      answered(kToRate115200, kToRate115200),
                                      {"rate 115200"},
                                      answered(kSerialIdentify, kIdentity),
                                      answered("02 00 80 00 00 00 00 00 00 00 00 00 01 00 83 00 2F 2F",
                                               "02 00 80 00 00 00 00 00 00 00 00 00 00 00 82 00"),
                                      answered(kToRate9600, kToRate9600),
                                      {"rate 9600", "close"}}));
  const std::string stamp = " \\d\\d-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d \\d{3} \r\n";
  const std::string log = debugLog();
  EXPECT_TRUE(std::regex_search(log, std::regex("^Open" + printer.ptyPath() + stamp))) << log;
  EXPECT_TRUE(std::regex_search(log, std::regex("\nClose" + printer.ptyPath() + stamp + "$"))) << log;
}

TEST_F(SerialTask, EqualRatesSendNoCommand49) {
  VirtualPrinter printer(OnPty{});
  const auto run = ctl({"--link", printer.link(), "--dev-baud", "9600", "--tran-baud", "9600", "task", "10"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, "设置默认参数成功\n");
  EXPECT_EQ(
      lineLog(printer),
      concat(
          {{"open"}, answered(kSerialIdentify, kIdentity), answered(kRestoreDefaults, kRestoreDefaults), {"close"}}));
}

TEST_F(SerialTask, PrinterAtAnotherRateHearsOnlyNoise) {
  {
    VirtualPrinter printer(OnPty{}, {"--baud", "19200"});
    const auto run = ctl({"--link", printer.link(), "--dev-baud", "9600", "--tran-baud", "115200", "task", "10"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, "Set Baudrate Failed\n");
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(lineLog(printer), (Lines{"open", "rx noise: " + kToRate115200, "close"}));
  }
  VirtualPrinter printer(OnPty{}, {"--baud", "19200"});
  const auto run = ctl({"--link", printer.link(), "--dev-baud", "9600", "--tran-baud", "9600", "task", "10"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err, "Received Failed\n");
  EXPECT_EQ(lineLog(printer), (Lines{"open", "rx noise: " + kSerialIdentify, "close"}));
}

TEST_F(SerialTask, RepliesWithABadHeadCheckAreNotAccepted) {
  // On the network the same reply is taken: only serial replies are checked.
  VirtualPrinter printer(OnPty{}, {"--corrupt-check"});
  const auto run = ctl({"--link", printer.link(), "--tran-baud", "9600", "task", "10"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err, "Received Failed\n");
  const std::string corrupted = "02 00 30 00 00 00 00 00 00 00 00 00 08 00 C5 00 4F 4D 42 38 30 00 00 00 48";
  EXPECT_EQ(lineLog(printer), concat({{"open"}, answered(kSerialIdentify, corrupted), {"close"}}));
}

TEST_F(SerialTask, LostReplyIsMadeUpByTheNextAttempt) {
  VirtualPrinter printer(OnPty{}, {"--drop-every", "2"});
  const auto run = ctl({"--link", printer.link(), "--tran-baud", "9600", "task", "10"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(lineLog(printer), concat({{"open"},
                                      answered(kSerialIdentify, kIdentity),
                                      {"rx frame: " + kRestoreDefaults},
                                      answered(kRestoreDefaults, kRestoreDefaults),
                                      {"close"}}));
}

TEST_F(SerialTask, RawTasksCloseAndReopenThePortBeforeWriting) {
  VirtualPrinter printer(OnPty{});
  // Real time: closing the port discards what its side has not handed on
  // yet, and the 10 ms pause after a raw write, scaled down, leaves a loaded
  // machine too little time for that.
  const auto run =
      ctl({"--link", printer.link(), "--tran-baud", "9600", "task", "10", "task", "26", "task", "43"}, "1");
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, "设置默认参数成功\n设置流控成功\n");
  // The flow-control sequence happens to be a whole frame, check byte
  // included, so the printer answers it; the tool takes no notice.
  const std::string flowControl = "02 00 8D 00 00 00 00 00 00 00 00 00 01 00 8E 00 01 01";
  EXPECT_EQ(lineLog(printer), concat({{"open"},
                                      answered(kSerialIdentify, kIdentity),
                                      answered(kRestoreDefaults, kRestoreDefaults),
                                      {"close", "open"},
                                      answered(kSerialIdentify, kIdentity),
                                      {"rx raw: 8D 00", "close", "open"},
                                      answered(kSerialIdentify, kIdentity),
                                      answered(flowControl, "02 00 8D 00 00 00 00 00 00 00 00 00 00 00 8F 00"),
                                      {"close"}}));
}

TEST_F(SerialTask, RawSequenceIsWholeOnASlowLineWhenTheToolExits) {
  VirtualPrinter printer(OnPty{}, {"--pace"});
  const auto run = ctl({"--link", printer.link(), "--tran-baud", "9600", "task", "10", "task", "43"}, "1");
  EXPECT_EQ(run.exitCode, 0) << run.err;
  const Lines log = lineLog(printer);
  // The raw task reopened the port and identified the printer; all 18 bytes
  // crossed before it closed.
  const auto reopened = std::find(log.rbegin(), log.rend(), "open");
  ASSERT_NE(reopened, log.rend());
  const Lines fromReopening(std::prev(reopened.base()), log.end());
  ASSERT_GE(fromReopening.size(), 4u);
  EXPECT_EQ(Lines(fromReopening.begin(), fromReopening.begin() + 4),
            concat({{"open"},
                    answered(kSerialIdentify, kIdentity),
                    {"rx frame: 02 00 8D 00 00 00 00 00 00 00 00 00 01 00 8E 00 01 01"}}));
}

using SerialLinkTest = SerialCtlTest;

TEST_F(SerialLinkTest, EqualRatesIdentifyOnly) {
  VirtualPrinter printer(OnPty{});
  const auto run = ctl({"--link", printer.link(), "--dev-baud", "9600", "--tran-baud", "9600", "btn_Test"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, "Checking" + printer.ptyPath() + "\n" + printer.ptyPath() + "Found\n");
  EXPECT_EQ(run.err, "连接成功\n");
  EXPECT_EQ(lineLog(printer), concat({{"open"}, answered(kSerialIdentify, kIdentity), {"close"}}));
  const std::string log = debugLog();
  EXPECT_TRUE(std::regex_search(log, std::regex("^Open" + printer.ptyPath() +
                                                "[^\n]*\nSend 25 Bytes[^\n]*\n[^\n]*\n[^\n]*\n"
                                                "Receive 25 Bytes[^\n]*\n[^\n]*\n[^\n]*\nClose" +
                                                printer.ptyPath() + "[^\n]*\n$")))
      << log;
}

TEST_F(SerialLinkTest, DifferentRatesMoveThePrinterThereAndBackOnAPacedLine) {
  // Paced, replies reach the tool in pieces, as on a real line.
  VirtualPrinter printer(OnPty{}, {"--pace"});
  const auto run = ctl({"--link", printer.link(), "--dev-baud", "9600", "--tran-baud", "115200", "btn_Test"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.err, "连接成功\n");
  EXPECT_EQ(lineLog(printer), concat({{"open"},
                                      answered(kToRate115200, kToRate115200),
                                      {"rate 115200"},
                                      answered(kSerialIdentify, kIdentity),
                                      answered(kToRate9600, kToRate9600),
                                      {"rate 9600", "close"}}));
}

TEST_F(SerialLinkTest, NoPrinterExitsWithThree) {
  const std::string noPrinter = "通讯失败，请选择正确的端口和波特率\n";
  {
    VirtualPrinter printer(OnPty{}, {"--silent"});
    const auto run = ctl({"--link", printer.link(), "--tran-baud", "9600", "btn_Test"});
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_EQ(run.out, "Checking" + printer.ptyPath() + "\n");
    EXPECT_EQ(run.err, noPrinter);
    EXPECT_EQ(lineLog(printer), (Lines{"open", "rx frame: " + kSerialIdentify, "close"}));
  }
  EmptyPty nothing;
  ASSERT_FALSE(nothing.path().empty());
  const auto run = ctl({"--link", "serial:" + nothing.path(), "btn_Test"});
  EXPECT_EQ(run.exitCode, 3);
  EXPECT_EQ(run.err, noPrinter);
}

using SerialBootMode = SerialCtlTest;

TEST_F(SerialBootMode, HandshakeEndsWhenTheBootLoaderAnswers) {
  VirtualPrinter printer(OnPty{}, {"--boot-after", "5"});
  const auto run = ctl({"--link", printer.link(), "but_bootIn"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.err, "引导模式：下一次程序更新不检查打印机的应答\n");
  // The port is opened once and ends closed. Bytes close together make one
  // raw unit. The boot loader answers each handshake byte from the fifth on;
  // the tool stops sending once it has seen an answer, so a byte or two more
  // may have gone out, and the answer to the last may follow the close.
  Lines portEvents;
  std::size_t handshakeBytes = 0;
  std::size_t answers = 0;
  std::size_t bytesBeforeFirstAnswer = 0;
  for (const std::string& entry : lineLog(printer)) {
    if (entry == "open" || entry == "close") {
      portEvents.push_back(entry);
    } else if (entry == "tx reply: 61") {
      if (answers++ == 0) bytesBeforeFirstAnswer = handshakeBytes;
    } else {
      ASSERT_TRUE(std::regex_match(entry, std::regex("rx raw: 61( 61)*"))) << entry;
      handshakeBytes += (entry.size() - 5) / 3;
    }
  }
  EXPECT_EQ(portEvents, (Lines{"open", "close"}));
  EXPECT_GE(bytesBeforeFirstAnswer, 5u);
  EXPECT_GE(answers, 1u);
  EXPECT_EQ(answers, handshakeBytes - 4);
  const std::string trace = debugLog();
  EXPECT_TRUE(std::regex_search(trace, std::regex("Receive \\d+ Bytes[^\n]*\n    61 "))) << trace;
}

}  // namespace
}  // namespace ombrel::test_support
