// The USB identity texts: any chosen identity splits without fault, and the
// identity of any vendor and product id splits back into their hex digits
// and chooses its own device.

#include <cstdint>
#include <cstdio>
#include <string>

#include "fuzz_check.h"
#include "ports/usb/usb_identity.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const ombrel::UsbDeviceIds ids = ombrel::splitUsbIdentity(text);
  ombrel::usbIdentityMatches(text, ids.pid);
  FUZZ_CHECK(!ombrel::usbIdentityMatches(text, ""));

  if (size < 4) return 0;
  const auto vendor = static_cast<std::uint16_t>(data[0] | data[1] << 8);
  const auto product = static_cast<std::uint16_t>(data[2] | data[3] << 8);
  const std::string identity = ombrel::usbIdentity(vendor, product);
  const ombrel::UsbDeviceIds own = ombrel::splitUsbIdentity(identity);
  char vid[5];
  char pid[5];
  std::snprintf(vid, sizeof vid, "%04X", static_cast<unsigned>(vendor));
  std::snprintf(pid, sizeof pid, "%04X", static_cast<unsigned>(product));
  FUZZ_CHECK(own.vid == vid && own.pid == pid && own.subId.empty());
  FUZZ_CHECK(ombrel::usbIdentityMatches(identity, own.pid));
  return 0;
}
