#include <libudev.h>
#include <poll.h>

#include <cstring>
#include <exception>
#include <memory>

#include "ports/usb/usb_hotplug_watch.h"

namespace ombrel {

UsbHotplugWatch::UsbHotplugWatch(std::shared_ptr<NoticeSink> sink) : sink_(std::move(sink)), context_(udev_new()) {
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
  if (monitor_ != nullptr) udev_monitor_unref(monitor_);
  if (context_ != nullptr) udev_unref(context_);
}

void UsbHotplugWatch::run() {
  try {
    while (stop_.waitFor(udev_monitor_get_fd(monitor_), POLLIN, std::nullopt).wake == StopSignal::Wake::Ready) {
      const std::unique_ptr<udev_device, udev_device* (*)(udev_device*)> device(
          udev_monitor_receive_device(monitor_), udev_device_unref);
      const char* action = device ? udev_device_get_action(device.get()) : nullptr;
      if (action == nullptr) continue;
      if (std::strcmp(action, "add") == 0) sink_->postUsbArrival();
      if (std::strcmp(action, "remove") == 0) sink_->postUsbRemove();
    }
  } catch (const std::exception&) {  // the owner refused a notice: nobody listens any more
  }
}

}  // namespace ombrel
