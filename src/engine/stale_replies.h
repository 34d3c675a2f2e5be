#pragma once

// Tells a late or duplicated reply to the previous request from the reply to
// the latest one. The printer's reply carries the head of the request it
// answers; a reply that names the request before the latest one, and not the
// latest one itself, arrived after the latest request left. Taken for the
// latest one's, it would shift every later reply by one (a read-back would
// save each block one place late). A reply whose head names neither request
// is still taken, as it always was.

#include <cstdint>
#include <optional>

#include "platform/bytes.h"

namespace ombrel {

class StaleReplies {
 public:
  // A link opened afresh: no earlier request.
  void forget();
  // Bytes written to the printer; a frame becomes the latest request.
  void written(const Bytes& bytes);
  // `head` is a reply frame's 16-byte head.
  bool isPreviousReply(const std::uint8_t* head) const;

 private:
  struct Request {
    std::uint16_t command;
    std::uint32_t first;
    bool operator==(const Request&) const = default;
  };
  static Request requestOf(const std::uint8_t* head);

  std::optional<Request> previous_;
  std::optional<Request> latest_;
};

}  // namespace ombrel
