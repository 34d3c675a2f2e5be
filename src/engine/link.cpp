#include "engine/link.h"

#include "engine/stream_link.h"

namespace ombrel {

std::unique_ptr<Link> makeLink(const LinkSettings& settings, const LinkPorts& ports, const LinkParts& parts) {
  switch (settings.transport) {
    case Transport::Network:
      return makeNetworkLink(settings, ports.udp, parts);
    case Transport::Usb:
      // A USB task's trace names the serial port when it closes, as the
      // printer tools have always written it.
      return makeUsbLink(settings, ports.usb, ports.serial.commName(), parts);
    case Transport::Serial:
      break;
  }
  return makeSerialLink(settings, ports.serial, parts);
}

}  // namespace ombrel
