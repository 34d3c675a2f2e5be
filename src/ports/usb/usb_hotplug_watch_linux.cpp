#include <libudev.h>
#include <poll.h>

#include <exception>
#include <mutex>
#include <string>

#include "ports/usb/udev_lock.h"
#include "ports/usb/usb_hotplug_watch.h"

namespace ombrel {

UsbHotplugWatch::UsbHotplugWatch(std::shared_ptr<NoticeSink> sink) : sink_(std::move(sink)) {
  const std::lock_guard lock(udevLock());
  context_ = udev_new();
  // "udev": events after udev has set the device up, so that a device that
  // arrived is already listed with its printer node.
  monitor_ = context_ ? udev_monitor_new_from_netlink(context_, "udev") : nullptr;
  if (monitor_ == nullptr || udev_monitor_filter_add_match_subsystem_devtype(monitor_, "usb", "usb_device") < 0 ||
      udev_monitor_enable_receiving(monitor_) < 0) {
    return;
  }
  thread_ = std::thread([this] { run(); });
}

UsbHotplugWatch::~UsbHotplugWatch() {
  stop_.raise();
  if (thread_.joinable()) thread_.join();
  const std::lock_guard lock(udevLock());
  if (monitor_ != nullptr) udev_monitor_unref(monitor_);
  if (context_ != nullptr) udev_unref(context_);
}

void UsbHotplugWatch::run() {
  try {
    const int fd = [this] {
      const std::lock_guard lock(udevLock());
      return udev_monitor_get_fd(monitor_);
    }();
    while (stop_.waitFor(fd, POLLIN, std::nullopt).wake == StopSignal::Wake::Ready) {
      std::string action;
      {
        const std::lock_guard lock(udevLock());
        udev_device* device = udev_monitor_receive_device(monitor_);
        if (device == nullptr) continue;
        const char* text = udev_device_get_action(device);
        action = text != nullptr ? text : "";
        udev_device_unref(device);
      }
      if (action == "add") sink_->postUsbArrival();
      if (action == "remove") sink_->postUsbRemove();
    }
  } catch (const std::exception&) {  // the owner refused a notice: nobody listens any more
  }
}

}  // namespace ombrel
