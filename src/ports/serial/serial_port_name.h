#pragma once

#include <string>

namespace ombrel {

// The device path that a port name stands for: "COMn" (any case, n >= 1)
// names /dev/ttyS(n-1), as the port lists call the on-board ports; any other
// name is taken as a device path as it stands.
std::string devicePathFor(const std::string& portName);

}  // namespace ombrel
