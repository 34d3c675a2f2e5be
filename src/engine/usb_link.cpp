// The USB link: the printer on a USB printer port, which stays open between
// tasks until another printer is chosen or a device arrives or leaves (on a
// choice bound to a port: until its own printer leaves).

#include <algorithm>

#include "engine/stream_link.h"
#include "platform/errors.h"
#include "engine/write_pieces.h"
#include "ports/open_advice.h"
#include "ports/usb/usb_error_text.h"
#include "ports/usb/usb_identity.h"

namespace ombrel {
namespace {

constexpr std::int64_t kUsbSettleMs = 100;
// A printer that has just arrived is listed before the printer driver has
// given it its node: opening is tried again for a second while it is listed.
constexpr int kOpenAttempts = 10;
constexpr std::int64_t kOpenRetryMs = 100;
constexpr auto kDrainLimit = std::chrono::seconds(2);

class UsbLink final : public StreamLink {
 public:
  UsbLink(std::string device, UsbPort& port, std::string serialName, const LinkParts& parts)
      : StreamLink(parts), device_(std::move(device)), port_(port), serialName_(std::move(serialName)) {}

  void open(int, bool wasOpen) override {
    choose(wasOpen);
    openChosen();  // no effect when still open from an earlier task
    parts_.clock.sleepMs(kUsbSettleMs);
  }

  void close(bool wasOpen) override { traceClose(wasOpen, serialName_); }

  bool write(const Bytes& bytes) override {
    stale_.written(bytes);
    return writeInPieces(bytes, kMaxPortWrite, [this](const std::uint8_t* piece, std::size_t count) {
      return port_.sendData(piece, static_cast<std::uint16_t>(count));
    });
  }

  [[noreturn]] void refusedWrite() const override {
    throw ECommonError(Failure::PortRefusedBytes, usb_error_text::kWriteFailed);
  }

  void waitUntilWritten(std::size_t) override { port_.drainOutput(kDrainLimit); }
  bool hasRate() const override { return false; }

  // Raw bytes go to the chosen printer even when no framed task has opened
  // its port before.
  void beginRawSend(int) override {
    choose(false);
    const bool wasOpen = port_.isOpen();
    openChosen();
    // A port opened just now settles as for OpenLink before the printer is
    // asked to identify itself.
    if (!wasOpen) parts_.clock.sleepMs(kUsbSettleMs);
  }
  void endRawSend() override {}

  bool suspend() override {
    port_.closePort();
    return true;
  }
  void resume() override { port_.openPort(); }

  LinkTestTexts testTexts() const override { return {}; }
  std::optional<std::string> openAdvice() const override { return usbOpenAdvice(device_); }

 private:
  // Selects the chosen printer. A port still open for another printer is
  // closed first: opening an open port does nothing, so the task would go to
  // the printer opened before.
  void choose(bool closeFirst) {
    port_.selectDevice(device_);
    if (closeFirst || (port_.isOpen() && port_.openedDevice() != device_)) port_.closePort();
  }

  // Whether a listed device is the chosen one by its identity text, and by
  // its port when one was chosen.
  bool isChosen(const UsbDeviceName& device) const {
    const UsbChoice choice = splitUsbChoice(device_);
    return (choice.identity.empty() || device.identity == choice.identity) &&
           (choice.port.empty() || device.port == choice.port);
  }

  void openChosen() {
    for (int attempt = 1;; ++attempt) {
      try {
        port_.openPort();
        return;
      } catch (const ECommsError&) {
        const auto present = port_.listDevices();
        const bool listed = std::any_of(present.begin(), present.end(),
                                        [this](const UsbDeviceName& device) { return isChosen(device); });
        if (attempt == kOpenAttempts || !listed) throw;
      }
      parts_.clock.sleepMs(kOpenRetryMs);
    }
  }

  const std::string device_;
  UsbPort& port_;
  const std::string serialName_;
};

}  // namespace

std::unique_ptr<Link> makeUsbLink(const LinkSettings& settings, UsbPort& port, std::string serialName,
                                  const LinkParts& parts) {
  return std::make_unique<UsbLink>(settings.usbDevice, port, std::move(serialName), parts);
}

}  // namespace ombrel
