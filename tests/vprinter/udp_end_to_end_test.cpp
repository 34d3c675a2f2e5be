// Runs the built ombrel-vprinter and talks to it over a real UDP socket.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "protocol/frame.h"
#include "support/child_process.h"
#include "support/run_program.h"

namespace ombrel {
namespace {

using namespace std::chrono_literals;
using test_support::ChildProcess;

std::string vprinterPath() { return test_support::builtProgram("ombrel-vprinter"); }

// A client socket bound to an ephemeral port on the loopback address.
class UdpPeer {
 public:
  UdpPeer() : fd_(::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0)) {}
  ~UdpPeer() { ::close(fd_); }
  UdpPeer(const UdpPeer&) = delete;
  UdpPeer& operator=(const UdpPeer&) = delete;

  void sendTo(std::uint16_t port, const Bytes& datagram) {
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(port);
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::sendto(fd_, datagram.data(), datagram.size(), 0, reinterpret_cast<const sockaddr*>(&to), sizeof to),
              static_cast<ssize_t>(datagram.size()));
  }
  // One datagram, or nothing within `timeout`.
  std::optional<Bytes> receive(std::chrono::milliseconds timeout) {
    pollfd waitFor{fd_, POLLIN, 0};
    if (::poll(&waitFor, 1, static_cast<int>(timeout.count())) != 1) return std::nullopt;
    Bytes datagram(65536);
    const ssize_t got = ::recv(fd_, datagram.data(), datagram.size(), 0);
    if (got < 0) return std::nullopt;
    datagram.resize(static_cast<std::size_t>(got));
    return datagram;
  }

 private:
  int fd_;
};

// A running virtual printer on a free loopback port.
class RunningPrinter {
 public:
  explicit RunningPrinter(std::vector<std::string> options, ChildProcess::Environment environment = {})
      : process_(vprinterPath(), withUdp(std::move(options)), environment) {
    const auto ready = process_.readLine(10s);
    if (ready && ready->rfind("udp 127.0.0.1:", 0) == 0) {
      port_ = static_cast<std::uint16_t>(std::stoi(ready->substr(ready->rfind(':') + 1)));
    }
  }
  std::uint16_t port() const { return port_; }
  ChildProcess& process() { return process_; }

 private:
  static std::vector<std::string> withUdp(std::vector<std::string> options) {
    options.insert(options.begin(), {"--udp", "127.0.0.1:0"});
    return options;
  }
  ChildProcess process_;
  std::uint16_t port_ = 0;
};

class TemporaryFile {
 public:
  explicit TemporaryFile(const std::string& name)
      : path_(std::filesystem::temp_directory_path() / (name + "-" + std::to_string(::getpid()))) {}
  ~TemporaryFile() { std::filesystem::remove(path_); }
  std::string path() const { return path_.string(); }
  // The file's lines once it holds at least `count` of them, waiting up to 5 s.
  std::vector<std::string> lines(std::size_t count) const {
    std::vector<std::string> result;
    for (auto deadline = std::chrono::steady_clock::now() + 5s; std::chrono::steady_clock::now() < deadline;) {
      result.clear();
      std::ifstream in(path_);
      for (std::string line; std::getline(in, line);) result.push_back(line);
      if (result.size() >= count) break;
      std::this_thread::sleep_for(10ms);
    }
    return result;
  }

 private:
  std::filesystem::path path_;
};

const Bytes kIdentifyData = {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80};

TEST(VprinterUdp, AnswersIdentifyLogsItAndStopsOnSigterm) {
  TemporaryFile jsonLog("vprinter-e2e-log");
  RunningPrinter printer({"--log-json", jsonLog.path()});
  ASSERT_NE(printer.port(), 0) << "no ready line";

  UdpPeer client;
  client.sendTo(printer.port(), frame::build(48, 0, 0, kIdentifyData, false));
  const auto reply = client.receive(5s);
  ASSERT_TRUE(reply);
  EXPECT_EQ(toHex(*reply), "02 00 30 00 00 00 00 00 00 00 00 00 08 00 3A 00 4F 4D 42 38 30 00 00 00 48");

  const auto lines = jsonLog.lines(2);
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines[0], R"({"seq":1,"dir":"rx","kind":"frame",)"
                      R"("bytes":"02 00 30 00 00 00 00 00 00 00 00 00 08 00 3A 00 01 02 04 08 10 20 40 80",)"
                      R"("command":48,"first":0,"second":0,"length":8,"data":"01 02 04 08 10 20 40 80","head_ok":true,)"
                      R"("data_check":"absent","decoded":"identify; identity \"OMB80\"","reply":"sent","faults":[]})");
  EXPECT_NE(lines[1].find(R"("dir":"tx","kind":"reply","bytes":")" + toHex(*reply) + "\""), std::string::npos)
      << lines[1];

  printer.process().sendSignal(SIGTERM);
  const auto status = printer.process().waitForExit(5s);
  ASSERT_TRUE(status);
  EXPECT_TRUE(status->exited);
  EXPECT_EQ(status->code, 0);
}

TEST(VprinterUdp, RepliesGoToTheSenderOfEachDatagram) {
  RunningPrinter printer({"--read-block", "4"});
  ASSERT_NE(printer.port(), 0) << "no ready line";
  UdpPeer first;
  UdpPeer second;
  first.sendTo(printer.port(), frame::build(52, 0x10, 0, {}, false));
  second.sendTo(printer.port(), frame::build(52, 0x20, 0, {}, false));
  const auto secondReply = second.receive(5s);
  const auto firstReply = first.receive(5s);
  ASSERT_TRUE(firstReply && secondReply);
  EXPECT_EQ(*firstReply, frame::build(52, 0x10, 0, {0x10, 0x11, 0x12, 0x13}, true));
  EXPECT_EQ(*secondReply, frame::build(52, 0x20, 0, {0x20, 0x21, 0x22, 0x23}, true));
}

TEST(VprinterUdp, DelayIsScaledByTheTimeScale) {
  RunningPrinter printer({"--delay", "3000"}, {{"OMBREL_TIME_SCALE", "10"}});
  ASSERT_NE(printer.port(), 0) << "no ready line";
  UdpPeer client;
  const auto sent = std::chrono::steady_clock::now();
  client.sendTo(printer.port(), frame::build(50, 0, 0, {}, false));
  const auto reply = client.receive(5s);
  const auto waited = std::chrono::steady_clock::now() - sent;
  ASSERT_TRUE(reply);
  EXPECT_GE(waited, 290ms);
  EXPECT_LT(waited, 2500ms);
}

TEST(VprinterUdp, BadOptionsExitWithStatus2) {
  ChildProcess process(vprinterPath(), {"--udp", "127.0.0.1:0", "--identity", "TOO-LONG-NAME"});
  EXPECT_FALSE(process.readLine(5s)) << "no ready line expected";
  const auto status = process.waitForExit(5s);
  ASSERT_TRUE(status);
  EXPECT_TRUE(status->exited);
  EXPECT_EQ(status->code, 2);
}

}  // namespace
}  // namespace ombrel
