#pragma once

// Tells a late or duplicated reply to the previous request from the reply to
// the latest one, for a printer that has shown that its reply heads name the
// request they answer. Any valid reply acknowledges a request, and printers
// fill reply heads as they like (zero arguments, the same head every time),
// so a head is judged only once this printer has echoed a request whose
// first argument was not zero. From then on, a reply that names the request
// before the latest one, and not the latest one itself, is set aside: taken
// for the latest one's, it would shift every later reply by one (a read-back
// would save each block one place late).

#include <cstdint>
#include <optional>

#include "platform/bytes.h"

namespace ombrel {

class StaleReplies {
 public:
  // A link opened afresh: no earlier request, nothing known of the printer.
  void forget();
  // Bytes written to the printer; a frame becomes the latest request.
  void written(const Bytes& bytes);
  // Whether the reply with this 16-byte head answers the latest request.
  // False only for a stale reply from a printer known to echo heads.
  bool takes(const std::uint8_t* head);

 private:
  struct Request {
    std::uint16_t command;
    std::uint32_t first;
    bool operator==(const Request&) const = default;
  };
  static Request requestOf(const std::uint8_t* head);

  std::optional<Request> previous_;
  std::optional<Request> latest_;
  bool echoes_ = false;  // this printer echoed a request with a non-zero first argument
};

}  // namespace ombrel
