// Acknowledged commands per second over UDP loopback against the virtual
// printer: the engine's rate beside a raw UDP ping-pong of the same datagrams,
// measured in the same run. The engine runs task 6 (set code page) again and
// again; each task is two acknowledged exchanges, the identification and the
// command, and writes its trace to debug.log as always.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <filesystem>
#include <mutex>
#include <regex>
#include <stdexcept>

#include "bench_host.h"
#include "bench_printer.h"
#include "engine/comm_thread.h"
#include "protocol/frame.h"
#include "platform/clock.h"
#include "platform/event_loop_thread.h"
#include "ports/no_usb_port.h"
#include "ports/serial_port_factory.h"
#include "ports/udp_client.h"
#include "support/child_process.h"
#include "support/run_program.h"

namespace {

using namespace ombrel;
using bench::connectedUdpSocket;
using Clock = std::chrono::steady_clock;

constexpr int kTasks = 1000;
constexpr int kRounds = 7;

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

double rawPingPong(int port) {
  const int fd = connectedUdpSocket(port);
  const Bytes identify = frame::build(48, 0, 0, {1, 2, 4, 8, 16, 32, 64, 128}, false);
  const Bytes codePage = frame::build(128, 0, 0, {0}, false);
  std::uint8_t reply[2049];
  const auto start = Clock::now();
  for (int i = 0; i < kTasks; ++i) {
    for (const Bytes* request : {&identify, &codePage}) {
      ::send(fd, request->data(), request->size(), 0);
      if (::recv(fd, reply, sizeof reply, 0) < 16) throw std::runtime_error("no reply");
    }
  }
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  ::close(fd);
  return 2.0 * kTasks / seconds;
}

double engineRate(int port) {
  const auto dir = std::filesystem::temp_directory_path() / "ombrel_bench";
  std::filesystem::create_directories(dir);
  ScaledClock clock;
  EventLoopThread loop;
  LinkSettings link;
  link.transport = Transport::Network;
  link.hostAddress = "127.0.0.1";
  link.hostPort = port;
  bench::BenchHost host(link);
  auto serial = makePrinterSerialPort(loop);
  NoUsbPort usb;
  UdpClient udp;
  TCommThread engine(loop, host, host, {*serial, usb, udp}, clock, dir / "debug.log");
  const auto start = Clock::now();
  for (int i = 0; i < kTasks; ++i) {
    if (!host.runTask(engine, 6)) throw std::runtime_error("a task failed");
  }
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  std::filesystem::remove_all(dir);
  return 2.0 * kTasks / seconds;
}

}  // namespace

int main() {
  using namespace ombrel::test_support;
  ChildProcess printer(builtProgram("ombrel-vprinter"), {"--udp", "127.0.0.1:0"});
  const auto ready = printer.readLine(std::chrono::seconds(10));
  std::smatch match;
  if (!ready || !std::regex_match(*ready, match, std::regex("udp 127\\.0\\.0\\.1:(\\d+)"))) {
    std::fprintf(stderr, "the virtual printer did not start\n");
    return 1;
  }
  const int port = std::stoi(match[1]);
  rawPingPong(port);  // warm up both sides
  // Alternating rounds, so that both see the same machine; medians, since a
  // virtual machine's scheduling makes single rounds vary widely.
  std::vector<double> raw;
  std::vector<double> engine;
  for (int round = 0; round < kRounds; ++round) {
    raw.push_back(rawPingPong(port));
    engine.push_back(engineRate(port));
  }
  const double rawMedian = median(raw);
  const double engineMedian = median(engine);
  std::printf("raw UDP ping-pong:        %10.0f exchanges/s (median of %d rounds)\n", rawMedian, kRounds);
  std::printf("engine (acknowledged):    %10.0f exchanges/s (median of %d rounds)\n", engineMedian, kRounds);
  std::printf("engine / raw:             %10.2f (aim: at least 0.90)\n", engineMedian / rawMedian);
  return 0;
}
