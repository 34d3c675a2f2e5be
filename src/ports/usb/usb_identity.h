#pragma once

// The identity texts by which operators and scripts name a USB device, and
// how a chosen identity is taken apart.

#include <cstdint>
#include <string>

namespace ombrel {

// "VID_vvvv&PID_pppp", four upper-case hexadecimal digits each.
std::string usbIdentity(std::uint16_t vendorId, std::uint16_t productId);

// The parts of a chosen identity. The first four characters of the first two
// parts are dropped by position, not compared: "VID_1234&PID_811E" and
// "XXXX1234&YYYY811E" give the same ids.
struct UsbDeviceIds {
  std::string vid;
  std::string pid;
  std::string subId;  // the third part, when there are exactly three
};
UsbDeviceIds splitUsbIdentity(const std::string& identity);

// Whether a present device of this identity is the one `pid` chooses: a
// plain, case-sensitive substring search in the upper-case identity. An
// empty `pid` chooses nothing.
bool usbIdentityMatches(const std::string& identity, const std::string& pid);

}  // namespace ombrel
