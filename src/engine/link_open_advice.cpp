#include "engine/link_open_advice.h"

#include "platform/errors.h"
#include "ports/open_advice.h"
#include "ports/serial/comm_error_text.h"
#include "ports/usb/usb_error_text.h"

namespace ombrel {

std::optional<std::string> linkOpenAdvice(const LinkSettings& link, const std::string& failureText) {
  // The link test's verdict hides why it found no printer.
  const bool linkTestFailed = failureText == error_text::kConnectingFailed;
  switch (link.transport) {
    case Transport::Serial:
      if (linkTestFailed || failureText == comm_error_text::kOpenFailed) return serialOpenAdvice(link.comName);
      return std::nullopt;
    case Transport::Usb:
      if (linkTestFailed || failureText == usb_error_text::kOpenFailed) return usbOpenAdvice(link.usbDevice);
      return std::nullopt;
    case Transport::Network:
      return std::nullopt;
  }
  return std::nullopt;
}

}  // namespace ombrel
