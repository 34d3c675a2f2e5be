#pragma once

#include "ports/usb_port.h"

namespace ombrel {

// The USB port of a build without USB printer support: it lists no devices
// and refuses to open, so a task on the USB link fails with a plain message.
class NoUsbPort final : public UsbPort {
 public:
  std::vector<UsbDeviceName> listDevices() override { return {}; }
  void selectDevice(const std::string&) override {}
  void openPort() override;
  void closePort() override {}
  bool isOpen() const override { return false; }
  std::string openedDevice() const override { return {}; }
  bool sendData(const std::uint8_t*, std::uint16_t) override { return false; }
  void drainOutput(std::chrono::milliseconds) override {}
  void setOnReceiveData(ReceiveDataHandler) override {}
  void setOnDevicesChanged(std::function<void()>) override {}
};

}  // namespace ombrel
