// Runs the built ombrel-vprinter on a pseudo-terminal and plays the setting
// tool's serial port against it.

#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
#include <thread>

#include "protocol/frame.h"
#include "pty_client.h"
#include "support/child_process.h"
#include "support/run_program.h"

namespace ombrel::vprinter {
namespace {

using namespace std::chrono_literals;
using test_support::ChildProcess;

const Bytes kIdentify = frame::build(48, 0, 0, {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80}, true);
const std::string kIdentityReply = "02 00 30 00 00 00 00 00 00 00 00 00 08 00 3A 00 4F 4D 42 38 30 00 00 00 48";

// A virtual printer on a pseudo-terminal of its own, logging JSON lines.
class PtyPrinter {
 public:
  explicit PtyPrinter(std::vector<std::string> options) : logPath_(temporaryLog()) {
    options.insert(options.begin(), {"--pty", "--log-json", logPath_});
    process_ = std::make_unique<ChildProcess>(test_support::builtProgram("ombrel-vprinter"), options);
    const auto ready = process_->readLine(10s);
    std::smatch match;
    if (ready && std::regex_match(*ready, match, std::regex("pty (/dev/pts/\\d+)"))) path_ = match[1];
  }
  ~PtyPrinter() { std::remove(logPath_.c_str()); }

  const std::string& path() const { return path_; }
  // Stops the printer and returns "dir kind bytes" for each log line.
  std::vector<std::string> stopAndReadLog() {
    process_->sendSignal(SIGTERM);
    process_->waitForExit(5s);
    static const std::regex kFields(R"re("dir":"(\w+)","kind":"(\w+)","bytes":"([0-9A-F ]*)")re");
    std::vector<std::string> out;
    std::ifstream log(logPath_);
    for (std::string line; std::getline(log, line);) {
      std::smatch match;
      if (std::regex_search(line, match, kFields)) {
        out.push_back(match.str(1) + " " + match.str(2) + " " + match.str(3));
      }
    }
    return out;
  }

 private:
  static std::string temporaryLog() {
    return (std::filesystem::temp_directory_path() / ("vprinter-pty-" + std::to_string(::getpid()))).string();
  }
  std::string logPath_;
  std::unique_ptr<ChildProcess> process_;
  std::string path_;
};

TEST(VprinterPty, ThePortsRateAtTheMomentOfSendingDecidesWhatThePrinterHears) {
  PtyPrinter printer({});
  ASSERT_FALSE(printer.path().empty()) << "no ready line";
  {
    PtyClient port(printer.path(), 9600);
    port.write(kIdentify);
    EXPECT_EQ(toHex(receivedBytes(port.read(25, 5s))), kIdentityReply);
    port.setRate(19200);
    port.write(kIdentify);
    EXPECT_TRUE(port.read(1, 200ms).empty()) << "noise is not answered";
    port.setRate(9600);
    port.write(kIdentify);
    EXPECT_EQ(toHex(receivedBytes(port.read(25, 5s))), kIdentityReply);
  }
  const std::string identify = toHex(kIdentify);
  EXPECT_EQ(printer.stopAndReadLog(),
            (std::vector<std::string>{"line open ", "rx frame " + identify, "tx reply " + kIdentityReply,
                                      "rx noise " + identify, "rx frame " + identify, "tx reply " + kIdentityReply,
                                      "line close "}));
}

TEST(VprinterPty, PacedLineTakesTenBitsAByteInBothDirections) {
  PtyPrinter printer({"--pace"});
  ASSERT_FALSE(printer.path().empty()) << "no ready line";
  PtyClient port(printer.path(), 9600);
  const auto sent = std::chrono::steady_clock::now();
  port.write(kIdentify);
  const auto reply = port.read(25, 5s);
  ASSERT_EQ(toHex(receivedBytes(reply)), kIdentityReply);
  // 25 bytes in and the first byte out take 27 ms at 9600 bit/s, 25 bytes
  // in and 25 out 52 ms. A printer running late catches up, so only the
  // earliest times are certain.
  EXPECT_GE(reply.front().at - sent, 27ms);
  EXPECT_GE(reply.back().at - sent, 52ms);
  EXPECT_LT(reply.back().at - sent, 1s);
}

TEST(VprinterPty, PortClosedWhileBytesCrossAPacedLineLosesThem) {
  PtyPrinter printer({"--pace"});
  ASSERT_FALSE(printer.path().empty()) << "no ready line";
  {
    PtyClient port(printer.path(), 9600);
    // 100 bytes take 104 ms at 9600 bit/s; the port closes well before.
    port.write(Bytes(100, 0x8D));
    std::this_thread::sleep_for(30ms);
  }
  const auto log = printer.stopAndReadLog();
  ASSERT_EQ(log.size(), 3u);
  EXPECT_EQ(log[0], "line open ");
  EXPECT_EQ(log[1].rfind("rx raw 8D", 0), 0u) << log[1];
  EXPECT_EQ(log[2].rfind("line close 8D", 0), 0u) << log[2];
  const auto bytesIn = [](const std::string& entry) { return std::count(entry.begin(), entry.end(), 'D'); };
  EXPECT_GT(bytesIn(log[1]), 10) << "some bytes crossed in 30 ms";
  EXPECT_EQ(bytesIn(log[1]) + bytesIn(log[2]), 100) << "every byte arrived or was lost";
}

}  // namespace
}  // namespace ombrel::vprinter
