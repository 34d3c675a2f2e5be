#include "app/usb_choice.h"

#include <algorithm>

#include "ports/usb/usb_identity.h"

namespace ombrel::app {

namespace {

std::optional<std::size_t> firstWhere(const std::vector<UsbDeviceName>& present, const auto& wanted) {
  const auto found = std::find_if(present.begin(), present.end(), wanted);
  if (found == present.end()) return std::nullopt;
  return static_cast<std::size_t>(found - present.begin());
}

std::optional<std::size_t> firstOfIdentity(const std::vector<UsbDeviceName>& present, const std::string& identity) {
  if (identity.empty()) return std::nullopt;
  return firstWhere(present, [&](const UsbDeviceName& device) { return device.identity == identity; });
}

}  // namespace

std::optional<std::size_t> chosenUsbPrinter(const std::vector<UsbDeviceName>& present, const std::string& choice) {
  const UsbChoice wanted = splitUsbChoice(choice);
  if (wanted.port.empty()) return firstOfIdentity(present, wanted.identity);
  return firstWhere(present, [&](const UsbDeviceName& device) {
    return device.port == wanted.port && (wanted.identity.empty() || device.identity == wanted.identity);
  });
}

std::optional<std::size_t> storedUsbPrinter(const std::vector<UsbDeviceName>& present, const std::string& choice) {
  if (const auto atPort = chosenUsbPrinter(present, choice)) return atPort;
  return firstOfIdentity(present, splitUsbChoice(choice).identity);
}

std::string usbPortChoice(const std::vector<UsbDeviceName>& present, const UsbDeviceName& printer) {
  const std::string pid = splitUsbIdentity(printer.identity).pid;
  const bool another = std::any_of(present.begin(), present.end(), [&](const UsbDeviceName& device) {
    return device != printer && usbIdentityMatches(device.identity, pid);
  });
  return another ? usbDeviceName(printer.identity, printer.port) : printer.identity;
}

}  // namespace ombrel::app
