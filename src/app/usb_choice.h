#pragma once

// Which of the present USB printers a choice names, and what the USB port is
// told to open for the printer the operator chose. A choice is the text
// "IDENTITY@PORT", or an identity alone, which names the first present
// printer of that identity.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "platform/usb_device_name.h"

namespace ombrel::app {

// The position of the printer `choice` names: at its port when it names one
// (any identity for "@PORT"), else the first of its identity. Nullopt when
// that printer is not present.
std::optional<std::size_t> chosenUsbPrinter(const std::vector<UsbDeviceName>& present, const std::string& choice);

// A stored choice after a restart: as chosenUsbPrinter, but a printer moved
// to another port is still found by its identity.
std::optional<std::size_t> storedUsbPrinter(const std::vector<UsbDeviceName>& present, const std::string& choice);

// The choice given to the USB port for `printer`: its identity alone while
// no other present printer would be opened by it (the port takes the first
// whose identity holds the chosen product id), else "IDENTITY@PORT", so that
// the task goes to exactly this printer.
std::string usbPortChoice(const std::vector<UsbDeviceName>& present, const UsbDeviceName& printer);

}  // namespace ombrel::app
