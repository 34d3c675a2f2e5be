// The serial link: the printer on a serial port, at a rate that printer and
// port change together.

#include <algorithm>
#include <thread>

#include "engine/stream_link.h"
#include "engine/write_pieces.h"
#include "ports/open_advice.h"

namespace ombrel {
namespace {

constexpr std::int64_t kSerialSettleMs = 30;
constexpr std::int64_t kReopenPauseMs = 10;
constexpr auto kDrainLimit = std::chrono::seconds(2);
// Read completion after this much silence: short during a task, so replies
// come almost as they arrive; longer between tasks, so stray output comes in
// fewer pieces.
constexpr std::uint32_t kTaskReadIntervalMs = 1;
constexpr std::uint32_t kIdleReadIntervalMs = 20;

class SerialLink final : public StreamLink {
 public:
  SerialLink(std::string name, SerialPort& port, const LinkParts& parts)
      : StreamLink(parts), name_(std::move(name)), port_(port) {}

  void beginTask() override { port_.setReadTimeouts(kTaskReadIntervalMs, 0, 0); }
  void endTask() override { port_.setReadTimeouts(kIdleReadIntervalMs, 0, 0); }
  void release() override { port_.closePort(); }

  void open(int devRate, bool) override {
    port_.setCommName(name_);
    setRate(static_cast<std::uint32_t>(devRate));
    if (port_.isOpen()) port_.closePort();
    port_.openPort();
    parts_.trace.line("Open" + name_ + traceTimestamp(std::chrono::system_clock::now()));
    parts_.clock.sleepMs(kSerialSettleMs);
  }

  void close(bool wasOpen) override {
    port_.closePort();
    traceClose(wasOpen, port_.commName());
  }

  bool write(const Bytes& bytes) override {
    stale_.written(bytes);
    return writeInPieces(bytes, kMaxPortWrite, [this](const std::uint8_t* piece, std::size_t count) {
      return port_.sendData(piece, static_cast<std::uint16_t>(count));
    });
  }

  [[noreturn]] void refusedWrite() const override { throw ECommonError(Failure::SerialPortRefusedBytes, name_); }

  void waitUntilWritten(std::size_t count) override {
    // After the port has handed the bytes on, the line still needs its time
    // to carry them (real time: the line is physical).
    port_.drainOutput(kDrainLimit);
    const std::uint32_t rate = std::max<std::uint32_t>(port_.baudRate(), 1);
    std::this_thread::sleep_for(std::chrono::microseconds(count * 10'000'000ull / rate));
  }

  bool hasRate() const override { return true; }
  void followRate(std::uint32_t rate) override { setRate(rate); }

  void beginRawSend(int devRate) override {
    // The port of this task's link choice, at the rate the printer listens on
    // between tasks, even when no framed task has opened it before.
    port_.closePort();
    parts_.clock.sleepMs(kReopenPauseMs);
    port_.setCommName(name_);
    setRate(static_cast<std::uint32_t>(devRate));
    port_.openPort();
  }
  void endRawSend() override {}

  bool suspend() override {
    port_.closePort();
    return true;
  }
  // Opens again with the name and rate the port has.
  void resume() override { port_.openPort(); }

  bool carriesBootHandshake() const override { return true; }

  LinkTestTexts testTexts() const override { return {"Checking" + name_, name_ + "Found"}; }
  std::optional<std::string> openAdvice() const override { return serialOpenAdvice(name_); }

 private:
  void setRate(std::uint32_t rate) {
    port_.setBaudRate(rate);
    parts_.printerRate = rate;
  }

  const std::string name_;
  SerialPort& port_;
};

}  // namespace

std::unique_ptr<Link> makeSerialLink(const LinkSettings& settings, SerialPort& port, const LinkParts& parts) {
  return std::make_unique<SerialLink>(settings.comName, port, parts);
}

}  // namespace ombrel
