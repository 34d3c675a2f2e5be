// The link layer: opening and closing the task's link on each transport,
// moving a serial printer between rates, and taking in what the ports deliver.

#include "engine/baud.h"
#include "engine/comm_thread.h"
#include "platform/errors.h"
#include "ports/usb_printers.h"
#include "protocol/codes.h"

namespace ombrel {

namespace {
constexpr std::int64_t kSerialSettleMs = 30;
constexpr std::int64_t kUsbSettleMs = 100;
constexpr std::int64_t kReopenPauseMs = 10;
}  // namespace

void TCommThread::OpenLink(const std::string& name, int rate) {
  switch (link_.transport) {
    case Transport::Network:
      linkOpen_ = true;
      cancelRequested_ = false;
      udp_.setRemote(link_.hostAddress, link_.hostPort);
      udp_.activate();
      IdentifyPrinter();
      return;
    case Transport::Usb:
      usb_.selectDevice(link_.usbDevice);
      if (linkOpen_) usb_.closePort();
      usb_.openPort();
      linkOpen_ = true;
      cancelRequested_ = false;
      clock_.sleepMs(kUsbSettleMs);
      IdentifyPrinter();
      return;
    case Transport::Serial:
      serial_.setCommName(name);
      serial_.setBaudRate(static_cast<std::uint32_t>(link_.devBaud));
      if (serial_.isOpen()) serial_.closePort();
      serial_.openPort();
      linkOpen_ = true;
      cancelRequested_ = false;
      if (taskCode_ != 0) LogLine("Open" + name + traceTimestamp(std::chrono::system_clock::now()));
      clock_.sleepMs(kSerialSettleMs);
      SwitchBaudRate(rate);
      IdentifyPrinter();
      return;
  }
}

void TCommThread::CloseLink() {
  if (link_.transport == Transport::Network) {
    udp_.deactivate();
  } else {
    serial_.closePort();
    if (linkOpen_ && taskCode_ != 0) {
      LogLine("Close" + serial_.commName() + traceTimestamp(std::chrono::system_clock::now()));
    }
  }
  linkOpen_ = false;
}

void TCommThread::SwitchBaudRate(int rate) {
  const int index = baudIndex(rate);
  // Compared with the serial port's rate whatever the transport: that is the
  // rate the printer was last moved to.
  if (static_cast<std::uint32_t>(rate) == serial_.baudRate()) return;
  clock_.sleepMs(kSerialSettleMs);
  try {
    SendCommand(kCmdSwitchRate, static_cast<std::uint32_t>(index), 0, {}, 1);
  } catch (const std::exception&) {
    throw ESetBaudRateException(error_text::kSetBaudrateFailed);
  }
  serial_.setBaudRate(static_cast<std::uint32_t>(rate));
  clock_.sleepMs(kSerialSettleMs);
}

void TCommThread::reopenSerialForRawSend() {
  serial_.closePort();
  clock_.sleepMs(kReopenPauseMs);
  // The port of this task's link choice, at the rate the printer listens on
  // between tasks, even when no framed task has opened it before.
  serial_.setCommName(link_.comName);
  serial_.setBaudRate(static_cast<std::uint32_t>(link_.devBaud));
  serial_.openPort();
}

void TCommThread::onSerialReceive(const std::uint8_t* bytes, std::uint16_t count) {
  if (rawReceive_) {
    trace_.block("Receive", bytes, count);
    reply_.deliverRaw(bytes, count);
  } else if (taskCode_ == 0) {
    host_.showIdleData(Bytes(bytes, bytes + count));
    return;
  }
  trace_.block("Receive", bytes, count);
  reply_.deliver(bytes, count);
}

void TCommThread::onUsbReceive(const std::uint8_t* bytes, std::uint16_t count) {
  if (taskCode_ == 0) {
    host_.showIdleData(Bytes(bytes, bytes + count));
    return;
  }
  trace_.block("Receive", bytes, count);
  reply_.deliver(bytes, count);
}

std::vector<std::string> TCommThread::usbPrinters() { return offeredUsbPrinters(usb_.listDevices()); }

void TCommThread::refreshUsbDevices() {
  usb_.closePort();
  host_.usbDevicesChanged(usbPrinters());
}

}  // namespace ombrel
