#pragma once

#include <memory>

#include "platform/owner_thread.h"
#include "ports/serial_port.h"

namespace ombrel {

// The serial port the engine drives a printer through: no XON/XOFF in either
// direction, DTR and RTS held off, 20 ms read interval between tasks. Its
// events run on `owner`.
std::unique_ptr<SerialPort> makePrinterSerialPort(OwnerThread& owner);

}  // namespace ombrel
