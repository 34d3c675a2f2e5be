#pragma once

// The USB devices present on this machine, from udev.

#include <string>
#include <vector>

namespace ombrel {

struct PresentUsbDevice {
  std::string identity;  // "VID_vvvv&PID_pppp"
  // Where it is plugged in, as the kernel names the device: bus and port
  // chain, "1-1.2". Identical printers differ only here.
  std::string port;
  // The device's USB printer node (/dev/usb/lpN), empty when the printer
  // class driver has not bound any of its interfaces: a vendor-class
  // printer, or a device that is no printer at all.
  std::string printerNode;
  // The device's number on its bus, given anew each time a device is plugged
  // in: a printer plugged into a port again is another device there. Empty
  // where the kernel does not say.
  std::string deviceNumber;
  std::string sysPath;  // the device in sysfs, the same for every device at its port
};

// Every present USB device, in udev's enumeration order. Raises ECommsError
// "Failed to open handle to HID device set" when udev cannot be asked.
std::vector<PresentUsbDevice> presentUsbDevices();

// Whether the device listed as `device` is still plugged in: a device at its
// place with its number. Cheaper than listing every device; false when udev
// cannot be asked.
bool usbDeviceStillPresent(const PresentUsbDevice& device);

}  // namespace ombrel
