#include "fake_usb_printer.h"

#include <algorithm>

#include "platform/errors.h"
#include "scripted_reply.h"

namespace ombrel::testing_support {

std::vector<UsbDeviceName> FakeUsbPrinter::listDevices() {
  std::lock_guard lock(mutex_);
  std::vector<UsbDeviceName> devices;
  for (const auto& identity : devices_) devices.push_back({identity, ""});
  return devices;
}

void FakeUsbPrinter::selectDevice(const std::string& identity) {
  std::lock_guard lock(mutex_);
  selected_ = identity;
  events_.push_back("select " + identity);
}

void FakeUsbPrinter::openPort() {
  std::lock_guard lock(mutex_);
  if (open_) return;
  if (selected_.empty() || std::find(devices_.begin(), devices_.end(), selected_) == devices_.end()) {
    throw ECommsError("No USB device " + selected_);
  }
  open_ = true;
  opened_ = selected_;
  events_.push_back("open");
}

void FakeUsbPrinter::closePort() {
  std::lock_guard lock(mutex_);
  if (open_) events_.push_back("close");
  open_ = false;
}

bool FakeUsbPrinter::isOpen() const {
  std::lock_guard lock(mutex_);
  return open_;
}

std::string FakeUsbPrinter::openedDevice() const {
  std::lock_guard lock(mutex_);
  return open_ ? opened_ : std::string();
}

bool FakeUsbPrinter::sendData(const std::uint8_t* buffer, std::uint16_t length) {
  const Bytes sent(buffer, buffer + length);
  {
    std::lock_guard lock(mutex_);
    if (!open_ || length == 0) return false;
    events_.push_back("send " + toHex(sent));
  }
  const Bytes reply = scriptedReply(sent, {});
  if (!reply.empty()) {
    {
      std::lock_guard lock(directMutex_);
      if (direct_ && direct_(reply.data(), reply.size())) return true;
    }
    owner_.post([this, reply] {
      ReceiveDataHandler handler;
      {
        std::lock_guard lock(mutex_);
        handler = receive_;
      }
      if (handler) handler(reply.data(), static_cast<std::uint16_t>(reply.size()));
    });
  }
  return true;
}

void FakeUsbPrinter::setOnReceiveData(ReceiveDataHandler handler) {
  std::lock_guard lock(mutex_);
  receive_ = std::move(handler);
}

void FakeUsbPrinter::setDirectReceive(DirectReceiveHandler handler) {
  std::lock_guard lock(directMutex_);
  direct_ = std::move(handler);
}

void FakeUsbPrinter::setOnDevicesChanged(std::function<void()> handler) {
  std::lock_guard lock(mutex_);
  changed_ = std::move(handler);
}

void FakeUsbPrinter::plugIn(std::vector<std::string> devices) {
  {
    std::lock_guard lock(mutex_);
    devices_ = std::move(devices);
  }
  owner_.post([this] {
    std::function<void()> handler;
    {
      std::lock_guard lock(mutex_);
      handler = changed_;
    }
    if (handler) handler();
  });
}

std::vector<std::string> FakeUsbPrinter::events() const {
  std::lock_guard lock(mutex_);
  return events_;
}

}  // namespace ombrel::testing_support
