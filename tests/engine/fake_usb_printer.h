#pragma once

// A USB printer port with a scripted printer behind it and a device list the
// test controls. Answers go to the direct receiver on the writing thread, or
// to the owner's thread when it declines them.

#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "platform/owner_thread.h"
#include "ports/usb_port.h"

namespace ombrel::testing_support {

class FakeUsbPrinter final : public UsbPort {
 public:
  explicit FakeUsbPrinter(OwnerThread& owner) : owner_(owner) {}

  std::vector<UsbDeviceName> listDevices() override;
  void selectDevice(const std::string& identity) override;
  void openPort() override;
  void closePort() override;
  bool isOpen() const override;
  std::string openedDevice() const override;
  bool sendData(const std::uint8_t* buffer, std::uint16_t length) override;
  void drainOutput(std::chrono::milliseconds) override {}
  void setOnReceiveData(ReceiveDataHandler handler) override;
  void setDirectReceive(DirectReceiveHandler handler) override;
  void setOnDevicesChanged(std::function<void()> handler) override;

  // Replaces the present devices and announces the change on the owner's thread.
  void plugIn(std::vector<std::string> devices);
  // "select ID", "open", "close", "send HEX".
  std::vector<std::string> events() const;

 private:
  OwnerThread& owner_;
  mutable std::mutex mutex_;
  std::vector<std::string> devices_{"VID_0483&PID_811E"};
  std::string selected_;
  bool open_ = false;
  std::string opened_;
  std::vector<std::string> events_;
  ReceiveDataHandler receive_;
  std::function<void()> changed_;
  std::mutex directMutex_;  // held through a direct call, as a port holds it
  DirectReceiveHandler direct_;
};

}  // namespace ombrel::testing_support
