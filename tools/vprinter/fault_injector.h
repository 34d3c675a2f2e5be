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
  bool silent = false;                       // never answer
  std::set<std::uint16_t> ignored;           // never answer these commands
  std::uint32_t dropEvery = 0;               // drop every N-th reply; 0 = none
  bool corruptCheck = false;                 // invert the head check byte
  std::int64_t delayMs = 0;                  // protocol milliseconds before each reply
  bool shortReply = false;                   // send only the first 15 bytes
  bool badHead = false;                      // begin 0x02 0x01, head check kept consistent
  bool duplicate = false;                    // send each reply twice
  std::uint32_t duplicateFrom = 0;           // send replies twice from the N-th command on; 0 = none
  bool replyFromOtherPort = false;           // UDP: replies leave from another source port
  std::optional<std::uint32_t> silentAfter;  // answer the first N commands, then never again
  std::optional<std::uint32_t> hangUpAfter;  // answer the first N commands, hang up at the next
};

struct FaultDecision {
  std::optional<Bytes> reply;  // nullopt: withheld
  // The faults that acted, in the order applied; when the reply is withheld,
  // the first one names why.
  std::vector<std::string> applied;
  int copies = 1;  // how often the reply goes out
};

class FaultInjector {
 public:
  explicit FaultInjector(FaultOptions options);

  // `command` is the command answered; nullopt for an answer to raw bytes,
  // which no --ignore names.
  FaultDecision apply(std::optional<std::uint16_t> command, Bytes reply);
  std::int64_t delayMs() const { return options_.delayMs; }
  bool replyFromOtherPort() const { return options_.replyFromOtherPort; }
  // True once a command came after the first N of --hang-up-after: the
  // transport then drops the line.
  bool hungUp() const { return options_.hangUpAfter && commandsCounted_ > *options_.hangUpAfter; }

 private:
  FaultOptions options_;
  std::uint64_t repliesCounted_ = 0;
  std::uint64_t commandsCounted_ = 0;  // every unit that the printer would answer
};

}  // namespace ombrel::vprinter
