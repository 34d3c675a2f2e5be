// The USB identity texts: any chosen identity, with or without a port,
// splits without fault, and the identity of any vendor and product id splits
// back into their hex digits and chooses its own device, at its own port
// only when a port is chosen.

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
  const ombrel::UsbChoice choice = ombrel::splitUsbChoice(text);
  FUZZ_CHECK(choice.port.find('@') == std::string::npos);
  FUZZ_CHECK(ombrel::usbDeviceName(choice.identity, choice.port).size() <= text.size());
  const std::string chosenPid = ombrel::splitUsbIdentity(choice.identity).pid;
  FUZZ_CHECK(choice.port.empty() || !ombrel::usbDeviceChosen(chosenPid, choice.port, text, choice.port + "x"));

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
  const ombrel::UsbChoice named = ombrel::splitUsbChoice(ombrel::usbDeviceName(identity, text));
  FUZZ_CHECK(named.identity == identity || text.find('@') != std::string::npos);
  return 0;
}
