#pragma once

// Plain advice for an operator whose port would not open, beside the port
// driver's own short failure text: a node the user may not open names the
// group that grants access, and a USB printer without a printer node says
// that the printer class driver has not taken it.

#include <optional>
#include <string>

namespace ombrel {

// For the serial port `comName` (a path, or COMn).
std::optional<std::string> serialOpenAdvice(const std::string& comName);
// For the USB device chosen by `identity`, as OpenPort chooses it.
std::optional<std::string> usbOpenAdvice(const std::string& choice);

}  // namespace ombrel
