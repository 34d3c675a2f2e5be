#pragma once

// What the engine needs of the USB printer port.

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/usb_device_name.h"
#include "ports/port_events.h"

namespace ombrel {

class UsbPort {
 public:
  virtual ~UsbPort() = default;

  // The present USB devices.
  virtual std::vector<UsbDeviceName> listDevices() = 0;
  // "IDENTITY", "IDENTITY@PORT" or "@PORT".
  virtual void selectDevice(const std::string& choice) = 0;
  // No effect when already open; raises ECommsError on failure.
  virtual void openPort() = 0;
  virtual void closePort() = 0;
  // A USB device arrived or left. A port opened on a choice bound to a port
  // ("IDENTITY@PORT", "@PORT") stays open while the very device it opened is
  // still plugged in there; any other open port closes, since the device it
  // opened may be the one that left.
  virtual void closeOnDevicesChanged() { closePort(); }
  virtual bool isOpen() const = 0;
  // The choice selected when the port was opened; empty while closed.
  virtual std::string openedDevice() const = 0;
  virtual bool sendData(const std::uint8_t* buffer, std::uint16_t length) = 0;
  // Waits, at most `limit`, until the writer has handed everything queued to
  // the device: closing the port drops what has not left yet.
  virtual void drainOutput(std::chrono::milliseconds limit) = 0;

  virtual void setOnReceiveData(ReceiveDataHandler handler) = 0;
  // As SerialPort::setDirectReceive. A port without it delivers every chunk
  // through OnReceiveData, which the engine handles just as well, one hop
  // later.
  virtual void setDirectReceive(DirectReceiveHandler) {}
  // A USB device arrived or left.
  virtual void setOnDevicesChanged(std::function<void()> handler) = 0;
};

}  // namespace ombrel
