#include "ports/no_usb_port.h"

#include "platform/errors.h"

namespace ombrel {

void NoUsbPort::openPort() { throw ECommsError("USB printer ports are not supported by this build"); }

}  // namespace ombrel
