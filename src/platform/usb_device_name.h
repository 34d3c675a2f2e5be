#pragma once

#include <string>
#include <vector>

namespace ombrel {

// A present USB device: its identity ("VID_vvvv&PID_pppp") and where it is
// plugged in, as the kernel names the device ("1-1.2": bus and port chain;
// empty where the port does not know).
struct UsbDeviceName {
  std::string identity;
  std::string port;
  bool operator==(const UsbDeviceName&) const = default;
};

// The identities of `devices`, in their order.
inline std::vector<std::string> identitiesOf(const std::vector<UsbDeviceName>& devices) {
  std::vector<std::string> identities;
  identities.reserve(devices.size());
  for (const auto& device : devices) identities.push_back(device.identity);
  return identities;
}

}  // namespace ombrel
