// The link layer: opening and closing the task's link, moving a serial
// printer between rates, and taking in what the ports deliver.

#include "engine/baud.h"
#include "engine/comm_thread.h"
#include "platform/errors.h"
#include "ports/usb_printers.h"
#include "protocol/codes.h"

namespace ombrel {

namespace {
constexpr std::int64_t kSerialSettleMs = 30;
}  // namespace

void TCommThread::OpenLink(const std::string&, int rate) {
  link_->open(snapshot_.devBaud, linkOpen_);
  linkOpen_ = true;
  cancelRequested_ = false;
  if (link_->hasRate()) SwitchBaudRate(rate);
  IdentifyPrinter();
}

void TCommThread::CloseLink() {
  link_->close(linkOpen_ && taskCode_ != 0);
  linkOpen_ = false;
}

void TCommThread::SwitchBaudRate(int rate) {
  const int index = baudIndex(rate);
  // Compared with the rate the printer was last moved to, whatever the
  // transport.
  if (static_cast<std::uint32_t>(rate) == printerRate_) return;
  clock_.sleepMs(kSerialSettleMs);
  try {
    SendCommand(kCmdSwitchRate, static_cast<std::uint32_t>(index), 0, {}, 1);
  } catch (const std::exception&) {
    throw ESetBaudRateException(error_text::kSetBaudrateFailed);
  }
  printerRate_ = static_cast<std::uint32_t>(rate);
  link_->followRate(printerRate_);
  clock_.sleepMs(kSerialSettleMs);
}

bool TCommThread::takeSerialBytes(const std::uint8_t* bytes, std::size_t count) {
  if (rawReceive_) {
    // The boot handshake keeps the bytes unparsed and assembles them as well.
    trace_.block("Receive", bytes, count);
    reply_.deliverRaw(bytes, count);
  } else if (taskCode_ == 0) {
    return false;
  }
  trace_.block("Receive", bytes, count);
  reply_.deliver(bytes, count);
  return true;
}

bool TCommThread::takeUsbBytes(const std::uint8_t* bytes, std::size_t count) {
  if (taskCode_ == 0) return false;
  trace_.block("Receive", bytes, count);
  reply_.deliver(bytes, count);
  return true;
}

void TCommThread::onSerialReceive(const std::uint8_t* bytes, std::uint16_t count) {
  if (!takeSerialBytes(bytes, count)) host_.showIdleData(Bytes(bytes, bytes + count));
}

void TCommThread::onUsbReceive(const std::uint8_t* bytes, std::uint16_t count) {
  if (!takeUsbBytes(bytes, count)) host_.showIdleData(Bytes(bytes, bytes + count));
}

std::vector<std::string> TCommThread::usbPrinters() { return offeredUsbPrinters(usb_.listDevices()); }

void TCommThread::refreshUsbDevices() {
  usb_.closePort();
  host_.usbDevicesChanged(usbPrinters());
}

}  // namespace ombrel
