#include "engine/link.h"

#include "engine/stream_link.h"

namespace ombrel {

std::unique_ptr<Link> makeLink(const LinkSettings& settings, const LinkParts& parts) {
  switch (settings.transport) {
    case Transport::Network:
      return makeNetworkLink(settings, parts);
    case Transport::Usb:
      return makeUsbLink(settings, parts);
    case Transport::Serial:
      break;
  }
  return makeSerialLink(settings, parts);
}

}  // namespace ombrel
