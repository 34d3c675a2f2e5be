#include "ports/usb_printers.h"

#include <algorithm>
#include <cctype>

namespace ombrel {

std::vector<UsbDeviceName> offeredUsbPrinters(const std::vector<UsbDeviceName>& devices) {
  std::vector<UsbDeviceName> printers;
  for (const auto& device : devices) {
    std::string upper = device.identity;
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    if (upper.find("811E") != std::string::npos) printers.push_back(device);
  }
  return printers;
}

}  // namespace ombrel
