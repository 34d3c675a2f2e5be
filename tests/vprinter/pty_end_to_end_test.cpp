// Runs the built ombrel-vprinter on a pseudo-terminal and plays the setting
// tool's serial port against it.

#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

#include "e2e/virtual_printer.h"
#include "protocol/frame.h"
#include "pty_client.h"

namespace ombrel::vprinter {
namespace {

using namespace std::chrono_literals;
using test_support::OnPty;
using test_support::VirtualPrinter;

const Bytes kIdentify = frame::build(48, 0, 0, {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80}, true);
const std::string kIdentityReply = "02 00 30 00 00 00 00 00 00 00 00 00 08 00 3A 00 4F 4D 42 38 30 00 00 00 48";

// Stops the printer and returns "dir kind bytes" for each record of its log.
std::vector<std::string> stopAndReadLog(VirtualPrinter& printer) {
  printer.stop();
  std::vector<std::string> out;
  for (const auto& record : printer.records()) out.push_back(record.dir + " " + record.kind + " " + record.bytes);
  return out;
}

TEST(VprinterPty, ThePortsRateAtTheMomentOfSendingDecidesWhatThePrinterHears) {
  VirtualPrinter printer(OnPty{});
  {
    PtyClient port(printer.ptyPath(), 9600);
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
  EXPECT_EQ(stopAndReadLog(printer),
            (std::vector<std::string>{"line open ", "rx frame " + identify, "tx reply " + kIdentityReply,
                                      "rx noise " + identify, "rx frame " + identify, "tx reply " + kIdentityReply,
                                      "line close "}));
}

TEST(VprinterPty, PacedLineTakesTenBitsAByteInBothDirections) {
  VirtualPrinter printer(OnPty{}, {"--pace"});
  PtyClient port(printer.ptyPath(), 9600);
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
  VirtualPrinter printer(OnPty{}, {"--pace"});
  {
    PtyClient port(printer.ptyPath(), 9600);
    // 100 bytes take 104 ms at 9600 bit/s; the port closes well before.
    port.write(Bytes(100, 0x8D));
    std::this_thread::sleep_for(30ms);
  }
  const auto log = stopAndReadLog(printer);
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
