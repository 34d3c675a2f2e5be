#pragma once

// Spoils the printer's replies on purpose, so that the setting tool's
// time-outs, retries and reply checks can be exercised. Acts on replies only;
// what the printer received is always logged as it came.

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/bytes.h"

namespace ombrel::vprinter {

struct FaultOptions {
  bool silent = false;                 // never answer
  std::set<std::uint16_t> ignored;     // never answer these commands
  std::uint32_t dropEvery = 0;         // drop every N-th reply; 0 = none
  bool corruptCheck = false;           // invert the head check byte
  std::int64_t delayMs = 0;            // protocol milliseconds before each reply
  bool shortReply = false;             // send only the first 15 bytes
  bool badHead = false;                // begin 0x02 0x01, head check kept consistent
};

struct FaultDecision {
  std::optional<Bytes> reply;  // nullopt: withheld
  // The faults that acted, in the order applied; when the reply is withheld,
  // the first one names why.
  std::vector<std::string> applied;
};

class FaultInjector {
 public:
  explicit FaultInjector(FaultOptions options);

  // `command` is the command answered; nullopt for an answer to raw bytes,
  // which no --ignore names.
  FaultDecision apply(std::optional<std::uint16_t> command, Bytes reply);
  std::int64_t delayMs() const { return options_.delayMs; }

 private:
  FaultOptions options_;
  std::uint64_t repliesCounted_ = 0;
};

}  // namespace ombrel::vprinter
