// The serial link: the printer on a serial port, at a rate that printer and
// port change together.

#include <algorithm>
#include <thread>

#include "engine/stream_link.h"
#include "engine/write_pieces.h"

namespace ombrel {
namespace {

constexpr std::int64_t kSerialSettleMs = 30;
constexpr std::int64_t kReopenPauseMs = 10;
constexpr auto kDrainLimit = std::chrono::seconds(2);

class SerialLink final : public StreamLink {
 public:
  SerialLink(std::string name, const LinkParts& parts) : StreamLink(parts), name_(std::move(name)) {}

  void open(const std::string& name, int devRate, bool) override {
    SerialPort& serial = parts_.serial;
    serial.setCommName(name);
    serial.setBaudRate(static_cast<std::uint32_t>(devRate));
    if (serial.isOpen()) serial.closePort();
    serial.openPort();
    parts_.trace.line("Open" + name + traceTimestamp(std::chrono::system_clock::now()));
    parts_.clock.sleepMs(kSerialSettleMs);
  }

  void close(bool wasOpen) override { closeSerialPort(wasOpen); }

  bool write(const Bytes& bytes) override {
    stale_.written(bytes);
    return writeInPieces(bytes, kMaxPortWrite, [this](const std::uint8_t* piece, std::size_t count) {
      return parts_.serial.sendData(piece, static_cast<std::uint16_t>(count));
    });
  }

  void waitUntilWritten(std::size_t count) override {
    // After the port has handed the bytes on, the line still needs its time
    // to carry them (real time: the line is physical).
    parts_.serial.drainOutput(kDrainLimit);
    const std::uint32_t rate = std::max<std::uint32_t>(parts_.serial.baudRate(), 1);
    std::this_thread::sleep_for(std::chrono::microseconds(count * 10'000'000ull / rate));
  }

  bool hasRate() const override { return true; }

  void beginRawSend(int devRate) override {
    // The port of this task's link choice, at the rate the printer listens on
    // between tasks, even when no framed task has opened it before.
    SerialPort& serial = parts_.serial;
    serial.closePort();
    parts_.clock.sleepMs(kReopenPauseMs);
    serial.setCommName(name_);
    serial.setBaudRate(static_cast<std::uint32_t>(devRate));
    serial.openPort();
  }
  void endRawSend() override {}

  LinkTestTexts testTexts() const override { return {"Checking" + name_, name_ + "Found"}; }

 private:
  const std::string name_;
};

}  // namespace

std::unique_ptr<Link> makeSerialLink(const LinkSettings& settings, const LinkParts& parts) {
  return std::make_unique<SerialLink>(settings.comName, parts);
}

}  // namespace ombrel
