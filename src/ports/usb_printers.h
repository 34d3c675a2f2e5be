#pragma once

#include <string>
#include <vector>

#include "ports/usb_port.h"

namespace ombrel {

// The USB devices offered as printers, in the order given: those whose
// identity holds the printers' product id 811E (in upper case).
std::vector<UsbDeviceName> offeredUsbPrinters(const std::vector<UsbDeviceName>& devices);

}  // namespace ombrel
