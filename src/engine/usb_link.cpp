// The USB link: the printer on a USB printer port, which stays open between
// tasks until a device arrives or leaves.

#include "engine/stream_link.h"
#include "engine/write_pieces.h"

namespace ombrel {
namespace {

constexpr std::int64_t kUsbSettleMs = 100;

class UsbLink final : public StreamLink {
 public:
  UsbLink(std::string device, const LinkParts& parts) : StreamLink(parts), device_(std::move(device)) {}

  void open(const std::string&, int, bool wasOpen) override {
    parts_.usb.selectDevice(device_);
    if (wasOpen) parts_.usb.closePort();
    parts_.usb.openPort();  // no effect when still open from an earlier task
    parts_.clock.sleepMs(kUsbSettleMs);
  }

  void close(bool wasOpen) override { closeSerialPort(wasOpen); }

  bool write(const Bytes& bytes) override {
    stale_.written(bytes);
    return writeInPieces(bytes, kMaxPortWrite, [this](const std::uint8_t* piece, std::size_t count) {
      return parts_.usb.sendData(piece, static_cast<std::uint16_t>(count));
    });
  }

  // The USB port reports nothing about bytes on their way.
  void waitUntilWritten(std::size_t) override {}
  bool hasRate() const override { return false; }
  void beginRawSend(int) override {}
  void endRawSend() override {}
  LinkTestTexts testTexts() const override { return {}; }

 private:
  const std::string device_;
};

}  // namespace

std::unique_ptr<Link> makeUsbLink(const LinkSettings& settings, const LinkParts& parts) {
  return std::make_unique<UsbLink>(settings.usbDevice, parts);
}

}  // namespace ombrel
