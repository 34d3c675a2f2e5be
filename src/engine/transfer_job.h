#pragma once

// What a front end hands the engine for a file transfer task, besides the
// task code: the bytes to send (loaded into TaskStream when the task starts),
// the identity the printer must report, and the wait before sending.

#include <cstdint>
#include <string>

#include "platform/bytes.h"

namespace ombrel {

struct TransferJob {
  Bytes stream;                    // the whole file, as stored
  std::string imageIdentity;       // task 4: the file's identity at 0x3000, upper case
  std::int64_t waitTimeMs = 5000;  // WaitTimeMs: the pause while the port is closed
};

}  // namespace ombrel
