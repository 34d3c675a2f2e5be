#include "ports/usb_printers.h"

#include <algorithm>
#include <cctype>

namespace ombrel {

std::vector<std::string> offeredUsbPrinters(const std::vector<std::string>& identities) {
  std::vector<std::string> printers;
  for (const auto& identity : identities) {
    std::string upper = identity;
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    if (upper.find("811E") != std::string::npos) printers.push_back(identity);
  }
  return printers;
}

}  // namespace ombrel
