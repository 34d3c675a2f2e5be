#include "ports/serial_port_factory.h"

#include "ports/serial/tcomm.h"

namespace ombrel {

std::unique_ptr<SerialPort> makePrinterSerialPort(OwnerThread& owner) {
  auto port = std::make_unique<TComm>(owner);
  port->setInx_XonXoffFlow(false);
  port->setOutx_XonXoffFlow(false);
  port->setReadIntervalTimeout(20);
  port->setDtrControl(TDtrControl::DtrDisable);
  port->setRtsControl(TRtsControl::RtsDisable);
  return port;
}

}  // namespace ombrel
