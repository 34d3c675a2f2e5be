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

// A chosen device, "IDENTITY", "IDENTITY@PORT" or "@PORT": the text after the
// last '@' is the port, an empty one when there is no '@'.
struct UsbChoice {
  std::string identity;
  std::string port;
};
UsbChoice splitUsbChoice(const std::string& text);

// Whether the present device of this identity at this port is the one that
// `pid` and `chosenPort` choose. Without a port `pid` chooses as
// usbIdentityMatches does; with one, only the device at that port is
// chosen, and only when `pid`, if not empty, matches it too.
bool usbDeviceChosen(const std::string& pid, const std::string& chosenPort, const std::string& identity,
                     const std::string& port);

// "IDENTITY@PORT", or the identity alone when the port is unknown.
std::string usbDeviceName(const std::string& identity, const std::string& port);

}  // namespace ombrel
