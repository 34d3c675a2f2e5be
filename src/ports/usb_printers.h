#pragma once

#include <string>
#include <vector>

namespace ombrel {

// The USB devices offered as printers, in the order given: those whose
// identity holds the printers' product id 811E (in upper case).
std::vector<std::string> offeredUsbPrinters(const std::vector<std::string>& identities);

}  // namespace ombrel
