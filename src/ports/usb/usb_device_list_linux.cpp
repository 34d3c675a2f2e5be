#include <libudev.h>

#include <cstdlib>
#include <memory>
#include <mutex>

#include "platform/errors.h"
#include "ports/usb/usb_device_list.h"
#include "ports/usb/usb_error_text.h"
#include "ports/usb/usb_identity.h"
#include "ports/usb/udev_lock.h"

namespace ombrel {
namespace {

struct UdevUnref {
  void operator()(udev* context) const { udev_unref(context); }
  void operator()(udev_enumerate* enumeration) const { udev_enumerate_unref(enumeration); }
  void operator()(udev_device* device) const { udev_device_unref(device); }
};
template <typename T>
using UdevPtr = std::unique_ptr<T, UdevUnref>;

std::uint16_t hexAttribute(udev_device* device, const char* name) {
  const char* text = udev_device_get_sysattr_value(device, name);
  return text == nullptr ? 0 : static_cast<std::uint16_t>(std::strtoul(text, nullptr, 16));
}

// The lp node of the first interface that the printer class driver bound.
std::string printerNodeOf(udev* context, udev_device* device) {
  UdevPtr<udev_enumerate> children(udev_enumerate_new(context));
  if (!children) return {};
  udev_enumerate_add_match_parent(children.get(), device);
  udev_enumerate_add_match_subsystem(children.get(), "usbmisc");
  udev_enumerate_add_match_sysname(children.get(), "lp*");
  if (udev_enumerate_scan_devices(children.get()) < 0) return {};
  udev_list_entry* entry = nullptr;
  udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(children.get())) {
    UdevPtr<udev_device> child(udev_device_new_from_syspath(context, udev_list_entry_get_name(entry)));
    const char* node = child ? udev_device_get_devnode(child.get()) : nullptr;
    if (node != nullptr) return node;
  }
  return {};
}

std::string deviceNumberOf(udev_device* device) {
  const char* number = udev_device_get_sysattr_value(device, "devnum");
  return number != nullptr ? number : "";
}

}  // namespace

std::vector<PresentUsbDevice> presentUsbDevices() {
  const std::lock_guard lock(udevLock());
  UdevPtr<udev> context(udev_new());
  UdevPtr<udev_enumerate> devices(context ? udev_enumerate_new(context.get()) : nullptr);
  if (!devices || udev_enumerate_add_match_subsystem(devices.get(), "usb") < 0 ||
      udev_enumerate_add_match_property(devices.get(), "DEVTYPE", "usb_device") < 0 ||
      udev_enumerate_scan_devices(devices.get()) < 0) {
    throw ECommsError(usb_error_text::kDeviceSetFailed);
  }
  std::vector<PresentUsbDevice> present;
  udev_list_entry* entry = nullptr;
  udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(devices.get())) {
    // A device that left since the scan is passed over, as one whose
    // details cannot be read.
    UdevPtr<udev_device> device(udev_device_new_from_syspath(context.get(), udev_list_entry_get_name(entry)));
    if (!device) continue;
    const char* port = udev_device_get_sysname(device.get());
    present.push_back({usbIdentity(hexAttribute(device.get(), "idVendor"), hexAttribute(device.get(), "idProduct")),
                       port != nullptr ? port : "", printerNodeOf(context.get(), device.get()),
                       deviceNumberOf(device.get()), udev_list_entry_get_name(entry)});
  }
  return present;
}

bool usbDeviceStillPresent(const PresentUsbDevice& device) {
  if (device.sysPath.empty() || device.deviceNumber.empty()) return false;
  const std::lock_guard lock(udevLock());
  UdevPtr<udev> context(udev_new());
  UdevPtr<udev_device> now(context ? udev_device_new_from_syspath(context.get(), device.sysPath.c_str()) : nullptr);
  return now && deviceNumberOf(now.get()) == device.deviceNumber;
}

}  // namespace ombrel
