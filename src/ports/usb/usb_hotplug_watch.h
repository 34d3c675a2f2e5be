#pragma once

// Watches udev for USB devices that arrive or leave and posts OnUSBArrival or
// OnUSBRemove through the sink, once per device (its interfaces are not
// counted), whether or not the port is open.

#include <memory>
#include <thread>

#include "ports/serial/notice_sink.h"
#include "ports/serial/stop_signal.h"

struct udev;
struct udev_monitor;

namespace ombrel {

class UsbHotplugWatch {
 public:
  // Without udev's event source (a container without it) nothing is watched.
  explicit UsbHotplugWatch(std::shared_ptr<NoticeSink> sink);
  ~UsbHotplugWatch();
  UsbHotplugWatch(const UsbHotplugWatch&) = delete;
  UsbHotplugWatch& operator=(const UsbHotplugWatch&) = delete;

 private:
  void run();

  const std::shared_ptr<NoticeSink> sink_;
  udev* context_ = nullptr;
  udev_monitor* monitor_ = nullptr;
  StopSignal stop_;
  std::thread thread_;
};

}  // namespace ombrel
