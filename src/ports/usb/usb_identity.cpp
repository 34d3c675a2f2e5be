#include "ports/usb/usb_identity.h"

#include <cstdio>
#include <vector>

namespace ombrel {

std::string usbIdentity(std::uint16_t vendorId, std::uint16_t productId) {
  char text[20];
  std::snprintf(text, sizeof text, "VID_%04X&PID_%04X", static_cast<unsigned>(vendorId),
                static_cast<unsigned>(productId));
  return text;
}

UsbDeviceIds splitUsbIdentity(const std::string& identity) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (;;) {
    const std::size_t amp = identity.find('&', start);
    parts.push_back(identity.substr(start, amp - start));
    if (amp == std::string::npos) break;
    start = amp + 1;
  }
  UsbDeviceIds ids;
  const auto fromFifth = [](const std::string& part) { return part.size() > 4 ? part.substr(4) : std::string(); };
  if (parts.size() >= 2) {
    ids.vid = fromFifth(parts[0]);
    ids.pid = fromFifth(parts[1]);
  }
  if (parts.size() == 3) ids.subId = parts[2];
  return ids;
}

bool usbIdentityMatches(const std::string& identity, const std::string& pid) {
  return !pid.empty() && identity.find(pid) != std::string::npos;
}

UsbChoice splitUsbChoice(const std::string& text) {
  const std::size_t at = text.rfind('@');
  if (at == std::string::npos) return {text, ""};
  return {text.substr(0, at), text.substr(at + 1)};
}

bool usbDeviceChosen(const std::string& pid, const std::string& chosenPort, const std::string& identity,
                     const std::string& port) {
  if (chosenPort.empty()) return usbIdentityMatches(identity, pid);
  return port == chosenPort && (pid.empty() || usbIdentityMatches(identity, pid));
}

std::string usbDeviceName(const std::string& identity, const std::string& port) {
  return port.empty() ? identity : identity + "@" + port;
}

}  // namespace ombrel
