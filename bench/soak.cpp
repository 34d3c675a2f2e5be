// Soak: one engine runs many tasks of mixed kinds, one after another, against
// one virtual printer over UDP and another over a pseudo-terminal, and the
// process's resident memory and open descriptors are sampled every 1,000
// tasks. Both must stay flat: a leak of a few bytes or one descriptor a task
// shows after thousands of tasks.
//
//   bench_soak [--tasks N] [--time-scale F]
//
// N tasks per transport (default 10,000); protocol pauses and waits run F
// times faster (default 4: the shortest reply wait, 600 ms, stays 150 ms, long
// enough for a pseudo-terminal on a busy machine; at 20 it is 30 ms and a
// loaded machine misses it).
// Exit status 1 when a task failed or either figure grew.

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "bench_host.h"
#include "bench_printer.h"
#include "engine/comm_thread.h"
#include "platform/clock.h"
#include "platform/event_loop_thread.h"
#include "ports/no_usb_port.h"
#include "ports/serial_port_factory.h"
#include "ports/udp_client.h"
#include "protocol/codes.h"
#include "support/child_process.h"
#include "support/run_program.h"

namespace {

using namespace ombrel;
using bench::startPrinter;

constexpr int kSampleEvery = 1000;
constexpr int kLineRate = 115200;
constexpr std::size_t kSmallTransfer = 1024;
// Flat: the last sample within this much of the first.
constexpr double kRssMarginShare = 0.05;
constexpr long kRssMarginBytes = 1024 * 1024;

struct Sample {
  int tasks;
  long rssBytes;
  long descriptors;
};

long residentBytes() {
  long pages = 0;
  long resident = 0;
  std::ifstream("/proc/self/statm") >> pages >> resident;
  return resident * ::sysconf(_SC_PAGESIZE);
}

long openDescriptors() {
  long count = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) ++count;
  return count;
}

// The mix, in turn: link test, three framed Set commands, a small download,
// a small read-back and a raw sequence.
bool runMixedTask(bench::BenchHost& host, TCommThread& engine, int turn, const std::filesystem::path& dir) {
  switch (turn % 7) {
    case 0:
      return host.runTask(engine, kTaskLinkTest);
    case 1:
      return host.runTask(engine, kTaskSetCodePage, {}, {}, turn % 40);
    case 2:
      return host.runTask(engine, kTaskSleepTimes, {0x05, 0x00, 0x1E, 0x00});
    case 3:
      return host.runTask(engine, kTaskBluetoothText, Bytes{'K', 'a', 's', 's', 'e'});
    case 4: {
      TransferJob job;
      job.downloads = {{(dir / "font.bin").string(), "FONT", "$33", "$0000"}};
      return host.runTask(engine, kTaskFontDownload, {}, std::move(job));
    }
    case 5: {
      TransferJob job;
      job.readBackPath = (dir / "back.hex").string();
      return host.runTask(engine, kTaskFontReadBack, {}, std::move(job), 0, static_cast<int>(kSmallTransfer));
    }
    default:
      return host.runTask(engine, kTaskBlackMarkOn);
  }
}

// Runs `tasks` tasks on one engine; samples after every kSampleEvery.
std::vector<Sample> soak(const LinkSettings& link, int tasks, double timeScale) {
  const auto dir = std::filesystem::temp_directory_path() / ("ombrel_bench_soak_" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  std::ofstream(dir / "font.bin", std::ios::binary) << std::string(kSmallTransfer, '\x5A');
  std::vector<Sample> samples;
  {
    ScaledClock clock(timeScale);
    EventLoopThread loop;
    bench::BenchHost host(link);
    auto serial = makePrinterSerialPort(loop);
    NoUsbPort usb;
    UdpClient udp;
    TCommThread engine(loop, host, host, {*serial, usb, udp}, clock, dir / "debug.log");
    for (int turn = 0; turn < tasks; ++turn) {
      if (!runMixedTask(host, engine, turn, dir)) {
        throw std::runtime_error("task " + std::to_string(turn) + " of the mix (kind " + std::to_string(turn % 7) +
                                 ") failed");
      }
      if ((turn + 1) % kSampleEvery == 0) samples.push_back({turn + 1, residentBytes(), openDescriptors()});
    }
  }
  std::filesystem::remove_all(dir);
  return samples;
}

// Prints the samples; true when both figures stayed flat.
bool report(const char* transport, const std::vector<Sample>& samples) {
  std::printf("%s:\n  %8s %12s %12s\n", transport, "tasks", "RSS KiB", "descriptors");
  for (const Sample& sample : samples) {
    std::printf("  %8d %12ld %12ld\n", sample.tasks, sample.rssBytes / 1024, sample.descriptors);
  }
  if (samples.size() < 2) {
    std::printf("  verdict: too few samples (run at least %d tasks)\n", 2 * kSampleEvery);
    return true;
  }
  const Sample& first = samples.front();
  const Sample& last = samples.back();
  const long growth = last.rssBytes - first.rssBytes;
  const bool rssFlat =
      growth <= static_cast<long>(kRssMarginShare * static_cast<double>(first.rssBytes)) || growth <= kRssMarginBytes;
  const bool descriptorsFlat = last.descriptors == first.descriptors;
  std::printf("  verdict: RSS %+ld KiB from task %d to %d (%s), descriptors %ld -> %ld (%s)\n", growth / 1024,
              first.tasks, last.tasks, rssFlat ? "flat" : "GROWING", first.descriptors, last.descriptors,
              descriptorsFlat ? "flat" : "GROWING");
  return rssFlat && descriptorsFlat;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace ombrel::test_support;
  int tasks = 10000;
  double timeScale = 4;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string_view option = argv[i];
    if (option == "--tasks")
      tasks = std::atoi(argv[i + 1]);
    else if (option == "--time-scale")
      timeScale = std::atof(argv[i + 1]);
  }
  if (tasks <= 0 || !(timeScale > 0)) {
    std::fprintf(stderr, "usage: bench_soak [--tasks N] [--time-scale F]\n");
    return 2;
  }
  try {
    std::printf("soak: %d tasks of mixed kinds per transport, protocol time %.0fx, samples every %d tasks\n", tasks,
                timeScale, kSampleEvery);
    ChildProcess udpPrinter(builtProgram("ombrel-vprinter"), {"--udp", "127.0.0.1:0", "--identity", ""});
    LinkSettings udpLink;
    udpLink.transport = Transport::Network;
    udpLink.hostAddress = "127.0.0.1";
    udpLink.hostPort = std::stoi(startPrinter(udpPrinter, "udp 127\\.0\\.0\\.1:(\\d+)"));
    const bool udpFlat = report("UDP loopback", soak(udpLink, tasks, timeScale));

    ChildProcess ptyPrinter(builtProgram("ombrel-vprinter"),
                            {"--pty", "--baud", std::to_string(kLineRate), "--identity", ""});
    LinkSettings ptyLink;
    ptyLink.transport = Transport::Serial;
    ptyLink.comName = startPrinter(ptyPrinter, "pty (/dev/pts/\\d+)");
    ptyLink.devBaud = kLineRate;
    ptyLink.tranBaud = kLineRate;
    const bool ptyFlat = report("pseudo-terminal", soak(ptyLink, tasks, timeScale));
    return udpFlat && ptyFlat ? 0 : 1;
  } catch (const std::exception& error) {
    std::fprintf(stderr, "bench_soak: %s\n", error.what());
    return 1;
  }
}
