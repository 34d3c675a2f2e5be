// Bulk transfer in 256-byte blocks: a file sent in acknowledged command-51
// blocks (task 4, the program update; task 3, the font library download),
// and printer memory read back with command 52, 256 bytes a reply (task 16);
// and a font download's verify, the same read-back compared with the file
// (timed alone, beside task 16).
//
// UDP loopback: the engine's blocks per second during the sending or
// receiving phase beside a raw ping-pong of the same datagrams against the
// same virtual printer, in alternating rounds, medians compared.
// Pseudo-terminal: the virtual printer paces its side at 115200 bit/s; the
// engine's blocks per second beside what the line allows for a block and its
// acknowledgement, or a request and its 256-byte reply (ten bits a byte).
//
// The phase is timed from the engine's first to its last progress report, so
// the identification, the connect pause and the end command are left out;
// the trace of every block is written as always; a read-back is saved.
//
// Memory: ombrelctl's peak resident memory for each task of 8 MiB over UDP,
// beyond that of a link test, as a share of the file's size.

#include <arpa/inet.h>
#include <sched.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
#include <stdexcept>

#include "bench_host.h"
#include "bench_printer.h"
#include "engine/comm_thread.h"
#include "platform/clock.h"
#include "platform/event_loop_thread.h"
#include "ports/no_usb_port.h"
#include "ports/serial_port_factory.h"
#include "ports/udp_client.h"
#include "protocol/codes.h"
#include "protocol/frame.h"
#include "support/child_process.h"
#include "support/run_program.h"

namespace {

using namespace ombrel;
using bench::connectedUdpSocket;
using bench::startPrinter;
using SteadyClock = std::chrono::steady_clock;

constexpr std::size_t kBlock = 256;
constexpr std::size_t kUdpFileSize = 8 * 1024 * 1024;
constexpr std::size_t kPtyFileSize = 256 * 1024;
constexpr int kRounds = 5;
constexpr int kLineRate = 115200;
constexpr std::size_t kSerialBlockFrame = frame::kHeadSize + kBlock + 1;
constexpr std::size_t kAcknowledgement = frame::kHeadSize;
constexpr double kUdpAim = 0.90;
constexpr double kLineAim = 0.97;
constexpr double kMemoryAim = 2.0;  // times the file, beyond a link test
// The virtual printer's memory holds what a read-back of the file's size reads.
const std::vector<std::string> kUdpPrinter = {"--udp", "127.0.0.1:0", "--identity", "", "--memory-size", "16777216"};

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// The update file: no identity at 0x3000, as the printer reports none.
TransferJob updateJob(std::size_t size) {
  TransferJob job;
  job.stream.assign(size, 0x5A);
  std::fill_n(job.stream.begin() + 0x3000, 8, 0);
  job.waitTimeMs = 0;
  return job;
}

// One of the three bulk tasks, with what it needs for a transfer of `size`
// bytes; files go into `dir`.
struct BulkTask {
  const char* name;
  int code;
  std::uint16_t command;  // what the raw ping-pong sends
  bool sendsData;         // requests carry the block (51), or replies do (52)
  bool verify = false;    // task 3 reads its range back and compares it; its verify is timed
};

constexpr BulkTask kBulkTasks[] = {
    {"task 4 (program)", kTaskProgramUpdate, kCmdWriteBlock, true},
    {"task 3 (font)", kTaskFontDownload, kCmdWriteBlock, true},
    {"task 16 (read-back)", kTaskFontReadBack, kCmdReadBlock, false},
    {"task 3 verify", kTaskFontDownload, kCmdReadBlock, false, true},
};
constexpr std::size_t kReadBackTask = 2;  // the verify's cost is set beside it

struct TaskArguments {
  TransferJob job;
  int a = 0;
  int b = 0;
};

TaskArguments argumentsOf(const BulkTask& task, std::size_t size, const std::filesystem::path& dir) {
  if (task.code == kTaskProgramUpdate) return {updateJob(size)};
  TaskArguments arguments;
  if (task.code == kTaskFontDownload) {
    const std::string font = (dir / "font.bin").string();
    std::ofstream(font, std::ios::binary) << std::string(size, '\x5A');
    arguments.job.downloads = {{font, "FONT", "$33", "$0000"}};
    arguments.job.verify = task.verify;
  } else {
    arguments.job.readBackPath = (dir / "font.hex").string();
    arguments.b = static_cast<int>(size);
  }
  return arguments;
}

// Blocks per second of the engine's sending or receiving phase.
double engineBlocksPerSecond(const LinkSettings& link, const BulkTask& task, std::size_t fileSize) {
  const auto dir = std::filesystem::temp_directory_path() / "ombrel_bench_bulk";
  std::filesystem::create_directories(dir);
  TaskArguments arguments = argumentsOf(task, fileSize, dir);
  ScaledClock clock;
  EventLoopThread loop;
  bench::BenchHost host(link);
  auto serial = makePrinterSerialPort(loop);
  NoUsbPort usb;
  UdpClient udp;
  double rate = 0;
  {
    TCommThread engine(loop, host, host, {*serial, usb, udp}, clock, dir / "debug.log");
    if (!host.runTask(engine, task.code, {}, std::move(arguments.job), arguments.a, arguments.b)) {
      throw std::runtime_error(std::string(task.name) + " failed");
    }
    rate = host.sendingRate() / kBlock;
  }
  std::filesystem::remove_all(dir);
  return rate;
}

// Blocks per second of a raw ping-pong of the same datagrams.
double rawBlocksPerSecond(int port, const BulkTask& task, std::size_t fileSize) {
  const int fd = connectedUdpSocket(port);
  const Bytes data = task.sendsData ? Bytes(kBlock, 0x5A) : Bytes{};
  std::uint8_t reply[2049];
  const std::size_t blocks = fileSize / kBlock;
  const auto start = SteadyClock::now();
  for (std::size_t i = 0; i < blocks; ++i) {
    const Bytes request = frame::build(task.command, static_cast<std::uint32_t>(i * kBlock), 0, data, false);
    ::send(fd, request.data(), request.size(), 0);
    if (::recv(fd, reply, sizeof reply, 0) < 16) throw std::runtime_error("no reply");
  }
  const double seconds = std::chrono::duration<double>(SteadyClock::now() - start).count();
  ::close(fd);
  return static_cast<double>(blocks) / seconds;
}

// Keeps this thread, the threads it starts and the printer started after it
// on the CPU it runs on, while it lives. A loopback ping-pong's speed depends
// mostly on whether the scheduler puts both ends on one CPU or on two (a
// wake-up across the virtual CPUs of a VM costs tens of microseconds), which
// it decides afresh each run: figures of one task varied eightfold. On one
// CPU the raw client and the engine pay for the same exchanges and differ
// only in their own work.
class OnOneCpu {
 public:
  OnOneCpu() {
    ::sched_getaffinity(0, sizeof before_, &before_);
    cpu_set_t one;
    CPU_ZERO(&one);
    CPU_SET(::sched_getcpu(), &one);
    ::sched_setaffinity(0, sizeof one, &one);
  }
  ~OnOneCpu() { ::sched_setaffinity(0, sizeof before_, &before_); }
  OnOneCpu(const OnOneCpu&) = delete;
  OnOneCpu& operator=(const OnOneCpu&) = delete;

 private:
  cpu_set_t before_{};
};

void udpLoopback() {
  const OnOneCpu oneCpu;
  test_support::ChildProcess printer(test_support::builtProgram("ombrel-vprinter"), kUdpPrinter);
  const int port = std::stoi(startPrinter(printer, "udp 127\\.0\\.0\\.1:(\\d+)"));
  LinkSettings link;
  link.transport = Transport::Network;
  link.hostAddress = "127.0.0.1";
  link.hostPort = port;
  rawBlocksPerSecond(port, kBulkTasks[0], kUdpFileSize / 8);  // warm up both sides
  std::printf("UDP loopback, %zu MiB in 256-byte blocks, median of %d alternating rounds, on one CPU:\n",
              kUdpFileSize >> 20, kRounds);
  double readBackMedian = 0;
  for (const BulkTask& task : kBulkTasks) {
    std::vector<double> raw;
    std::vector<double> engine;
    for (int round = 0; round < kRounds; ++round) {
      raw.push_back(rawBlocksPerSecond(port, task, kUdpFileSize));
      engine.push_back(engineBlocksPerSecond(link, task, kUdpFileSize));
    }
    const double rawMedian = median(raw);
    const double engineMedian = median(engine);
    std::printf("  %s:\n", task.name);
    std::printf("    raw ping-pong:  %9.0f blocks/s\n", rawMedian);
    std::printf("    engine:         %9.0f blocks/s (%.1f KiB/s)\n", engineMedian, engineMedian / 4);
    std::printf("    engine / raw:   %9.2f (aim: at least %.2f)\n", engineMedian / rawMedian, kUdpAim);
    if (&task == &kBulkTasks[kReadBackTask]) readBackMedian = engineMedian;
    if (task.verify) {
      // Blocks per second are inverse time: the verify's time over a read-back's.
      std::printf("    verify / read-back time: %.2f (aim: close to 1)\n", readBackMedian / engineMedian);
    }
  }
}

void pacedPty() {
  test_support::ChildProcess printer(test_support::builtProgram("ombrel-vprinter"),
                                     {"--pty", "--pace", "--baud", std::to_string(kLineRate), "--identity", ""});
  LinkSettings link;
  link.transport = Transport::Serial;
  link.comName = startPrinter(printer, "pty (/dev/pts/\\d+)");
  link.devBaud = kLineRate;
  link.tranBaud = kLineRate;
  // A block frame and its acknowledgement, or a request and its reply with
  // the block: the same bytes on the line either way.
  const double line = kLineRate / (10.0 * static_cast<double>(kSerialBlockFrame + kAcknowledgement));
  std::printf("pseudo-terminal paced at %d bit/s, %zu KiB in 256-byte blocks:\n", kLineRate, kPtyFileSize / 1024);
  std::printf("  line allows:    %9.2f blocks/s (273-byte frame and 16-byte head)\n", line);
  double readBack = 0;
  for (const BulkTask& task : kBulkTasks) {
    const double engine = engineBlocksPerSecond(link, task, kPtyFileSize);
    std::printf("  %s:\n", task.name);
    std::printf("    engine:         %9.2f blocks/s\n", engine);
    std::printf("    engine / line:  %9.3f (aim: at least %.2f)\n", engine / line, kLineAim);
    if (&task == &kBulkTasks[kReadBackTask]) readBack = engine;
    if (task.verify) std::printf("    verify / read-back time: %.2f (aim: close to 1)\n", readBack / engine);
  }
}

// ombrelctl's peak resident memory for one run, in bytes.
long peakResidentBytes(const std::vector<std::string>& arguments) {
  const std::string program = test_support::builtProgram("ombrelctl");
  std::vector<char*> argv{const_cast<char*>(program.c_str())};
  for (const auto& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  const pid_t child = ::fork();
  if (child < 0) throw std::runtime_error("cannot start ombrelctl");
  if (child == 0) {
    const int quiet = ::open("/dev/null", O_WRONLY);
    ::dup2(quiet, STDOUT_FILENO);
    ::dup2(quiet, STDERR_FILENO);
    ::execv(program.c_str(), argv.data());
    ::_exit(127);
  }
  int status = 0;
  rusage usage{};
  if (::wait4(child, &status, 0, &usage) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    throw std::runtime_error("ombrelctl " + arguments.back() + " failed");
  }
  return usage.ru_maxrss * 1024;
}

void peakMemory() {
  test_support::ChildProcess printer(test_support::builtProgram("ombrel-vprinter"), kUdpPrinter);
  const std::string port = startPrinter(printer, "udp 127\\.0\\.0\\.1:(\\d+)");
  const auto dir = std::filesystem::temp_directory_path() / "ombrel_bench_memory";
  std::filesystem::create_directories(dir);
  const std::string file = (dir / "app.bin").string();
  const Bytes content = updateJob(kUdpFileSize).stream;
  std::ofstream(file, std::ios::binary)
      .write(reinterpret_cast<const char*>(content.data()), static_cast<std::streamsize>(content.size()));
  const std::vector<std::string> common = {"--link", "net:127.0.0.1:" + port, "--dir", dir.string()};
  const auto run = [&](std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), common.begin(), common.end());
    return peakResidentBytes(arguments);
  };
  const long linkTest = run({"btn_Test"});
  const struct {
    const char* name;
    std::vector<std::string> arguments;
  } tasks[] = {
      {"task 4 (program)", {"--set", "PrgFile=" + file, "--set", "WaitTime=0", "btn_UpdatePrg"}},
      {"task 3 (font)", {"--set", "FontFile=" + file, "--set", "FontAddress=0", "btn_UpdateFont"}},
      {"task 3 verify", {"--verify", "--set", "FontFile=" + file, "--set", "FontAddress=0", "btn_UpdateFont"}},
      {"task 16 (read-back)",
       {"--set", "StartAddress=0", "--set", "ReadLength=" + std::to_string(kUdpFileSize), "--save-as",
        (dir / "back.hex").string(), "btn_ReadFont"}},
  };
  std::printf("ombrelctl's peak resident memory, %zu MiB over UDP; a link test: %.1f MiB\n", kUdpFileSize >> 20,
              static_cast<double>(linkTest) / (1 << 20));
  for (const auto& task : tasks) {
    const double beyond = static_cast<double>(run(task.arguments) - linkTest);
    std::printf("  %-20s %6.1f MiB more, %.2f times the file (aim: at most %.1f)\n", task.name, beyond / (1 << 20),
                beyond / static_cast<double>(kUdpFileSize), kMemoryAim);
  }
  std::filesystem::remove_all(dir);
}

}  // namespace

// With no argument every part runs; `memory`, `udp` or `pty` run those parts only.
int main(int argc, char** argv) {
  const std::vector<std::string> chosen(argv + 1, argv + argc);
  const auto wanted = [&](const char* part) {
    return chosen.empty() || std::find(chosen.begin(), chosen.end(), part) != chosen.end();
  };
  try {
    if (wanted("memory")) peakMemory();
    if (wanted("udp")) udpLoopback();
    if (wanted("pty")) pacedPty();
  } catch (const std::exception& error) {
    std::fprintf(stderr, "bench_bulk_transfer: %s\n", error.what());
    return 1;
  }
  return 0;
}
