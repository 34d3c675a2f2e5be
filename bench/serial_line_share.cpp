// The share of a serial line's rate that acknowledged 256-byte command frames
// achieve over a pseudo-terminal, against the virtual printer pacing its side
// at the line rate (ten bits a byte, both directions). The engine runs task
// 11 with a 256-byte payload again and again, with DevBaud = TranBaud so no
// task changes the rate; every task opens the port, identifies the printer,
// sends the command and closes the port, at real protocol time.
//
// An exchange is timed at the engine's serial port: from the frame handed to
// the port to the delivery of the reply's last byte. Its bytes on the wire
// are the frame (16-byte head, 256 data bytes, check byte) and the 16-byte
// acknowledgement.

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <filesystem>
#include <mutex>
#include <optional>
#include <regex>
#include <stdexcept>

#include "bench_host.h"
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
using SteadyClock = std::chrono::steady_clock;
using Seconds = std::chrono::duration<double>;

constexpr std::uint16_t kIdentify = 48;
constexpr int kBluetoothTask = 11;
constexpr std::uint16_t kBluetoothParameters = 131;  // task 11's command
constexpr std::size_t kPayload = 256;
constexpr std::size_t kCommandFrame = frame::kHeadSize + kPayload + 1;
constexpr std::size_t kAcknowledgement = frame::kHeadSize;
constexpr std::size_t kIdentifyFrame = frame::kHeadSize + 8 + 1;
constexpr std::size_t kIdentityReply = frame::kHeadSize + 8 + 1;

double lineSeconds(std::size_t bytes, int rate) { return 10.0 * static_cast<double>(bytes) / rate; }

// The engine's serial port, with the command exchanges timed on the way
// through: from sendData of a command frame to the delivery that completes
// its reply.
class TimedSerialPort final : public SerialPort {
 public:
  explicit TimedSerialPort(SerialPort& port) : port_(port) {}

  void setCommName(const std::string& name) override { port_.setCommName(name); }
  std::string commName() const override { return port_.commName(); }
  void setBaudRate(std::uint32_t rate) override { port_.setBaudRate(rate); }
  std::uint32_t baudRate() const override { return port_.baudRate(); }
  void setReadTimeouts(std::uint32_t interval, std::uint32_t multiplier, std::uint32_t constant) override {
    port_.setReadTimeouts(interval, multiplier, constant);
  }
  void openPort() override { port_.openPort(); }
  void closePort() override { port_.closePort(); }
  bool isOpen() const override { return port_.isOpen(); }

  bool sendData(const std::uint8_t* buffer, std::uint16_t length) override {
    if (length >= frame::kHeadSize) {
      const std::uint16_t command = frame::readHead(buffer).command;
      std::lock_guard lock(mutex_);
      pending_.reset();
      if (command == kBluetoothParameters) pending_ = Pending{SteadyClock::now(), kAcknowledgement, 0};
      if (command == kIdentify) pending_ = Pending{SteadyClock::now(), kIdentityReply, 0};
      timingCommand_ = command == kBluetoothParameters;
    }
    return port_.sendData(buffer, length);
  }

  void drainOutput(std::chrono::milliseconds limit) override { port_.drainOutput(limit); }

  void setOnReceiveData(ReceiveDataHandler handler) override {
    if (!handler) {
      port_.setOnReceiveData(nullptr);
      return;
    }
    port_.setOnReceiveData([this, handler](const std::uint8_t* bytes, std::uint16_t count) {
      arrived(count);
      handler(bytes, count);
    });
  }

  void setDirectReceive(DirectReceiveHandler handler) override {
    if (!handler) {
      port_.setDirectReceive(nullptr);
      return;
    }
    port_.setDirectReceive([this, handler](const std::uint8_t* bytes, std::size_t count) {
      if (!handler(bytes, count)) return false;  // posted instead, and timed there
      arrived(count);
      return true;
    });
  }

  // Command exchanges completed so far and their time in total.
  std::pair<std::size_t, double> commandExchanges() const {
    std::lock_guard lock(mutex_);
    return {commandCount_, commandSeconds_};
  }

 private:
  struct Pending {
    SteadyClock::time_point sentAt;
    std::size_t replyBytes;
    std::size_t received;
  };

  void arrived(std::size_t count) {
    std::lock_guard lock(mutex_);
    if (!pending_) return;
    pending_->received += count;
    if (pending_->received < pending_->replyBytes) return;
    if (timingCommand_) {
      ++commandCount_;
      commandSeconds_ += Seconds(SteadyClock::now() - pending_->sentAt).count();
    }
    pending_.reset();
  }

  SerialPort& port_;
  mutable std::mutex mutex_;
  std::optional<Pending> pending_;
  bool timingCommand_ = false;
  std::size_t commandCount_ = 0;
  double commandSeconds_ = 0;
};

struct Measured {
  double exchangeSeconds;  // mean time of one command exchange
  double taskSeconds;      // mean time of one whole task
};

std::string startPrinter(test_support::ChildProcess& printer) {
  const auto ready = printer.readLine(std::chrono::seconds(10));
  std::smatch match;
  if (!ready || !std::regex_match(*ready, match, std::regex("pty (/dev/pts/\\d+)"))) {
    throw std::runtime_error("the virtual printer did not start");
  }
  return match[1];
}

Measured measure(int rate, bool paced, int tasks) {
  std::vector<std::string> options = {"--pty", "--baud", std::to_string(rate)};
  if (paced) options.push_back("--pace");
  test_support::ChildProcess printer(test_support::builtProgram("ombrel-vprinter"), options);
  const std::string path = startPrinter(printer);

  const auto dir = std::filesystem::temp_directory_path() / "ombrel_bench_serial";
  std::filesystem::create_directories(dir);
  ScaledClock clock;
  EventLoopThread loop;
  LinkSettings link;
  link.transport = Transport::Serial;
  link.comName = path;
  link.devBaud = rate;
  link.tranBaud = rate;
  bench::BenchHost host(link);
  auto serial = makePrinterSerialPort(loop);
  TimedSerialPort timed(*serial);
  NoUsbPort usb;
  UdpClient udp;
  const Bytes payload(kPayload, 0x5A);
  TCommThread engine(loop, host, host, {timed, usb, udp}, clock, dir / "debug.log");
  host.runTask(engine, kBluetoothTask, payload);  // warm-up, not counted
  const auto [warmUpCount, warmUpSeconds] = timed.commandExchanges();
  const auto start = SteadyClock::now();
  for (int i = 0; i < tasks; ++i) {
    if (!host.runTask(engine, kBluetoothTask, payload)) throw std::runtime_error("a task failed");
  }
  const double taskSeconds = Seconds(SteadyClock::now() - start).count() / tasks;
  const auto [count, seconds] = timed.commandExchanges();
  if (count - warmUpCount != static_cast<std::size_t>(tasks)) throw std::runtime_error("exchanges went untimed");
  std::filesystem::remove_all(dir);
  return Measured{(seconds - warmUpSeconds) / tasks, taskSeconds};
}

void report(int rate, int tasks) {
  const Measured paced = measure(rate, true, tasks);
  const double exchangeLine = lineSeconds(kCommandFrame + kAcknowledgement, rate);
  const double taskLine = lineSeconds(kIdentifyFrame + kIdentityReply + kCommandFrame + kAcknowledgement, rate);
  std::printf("%6d bit/s, paced, %d tasks:\n", rate, tasks);
  std::printf("  command exchange:  %8.2f ms (line needs %6.2f ms)  share %.3f (aim: at least 0.90)\n",
              paced.exchangeSeconds * 1e3, exchangeLine * 1e3, exchangeLine / paced.exchangeSeconds);
  std::printf("  whole task:        %8.2f ms (line needs %6.2f ms)  share %.3f (open, identify, command, close)\n",
              paced.taskSeconds * 1e3, taskLine * 1e3, taskLine / paced.taskSeconds);
}

}  // namespace

int main() {
  try {
    report(115200, 100);
    report(9600, 15);
    const Measured unpaced = measure(115200, false, 100);
    std::printf("unpaced round trip of a command exchange: %.2f ms (whole task %.2f ms)\n",
                unpaced.exchangeSeconds * 1e3, unpaced.taskSeconds * 1e3);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "bench_serial_line_share: %s\n", error.what());
    return 1;
  }
  return 0;
}
