#pragma once

// What a front end hands the engine for a file transfer task, besides the
// task code: the bytes to send (loaded into TaskStream when the task starts),
// the identity the printer must report, the wait before sending, the files of
// a list download, whether they are read back to verify them, and the file
// a read-back is saved to.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/bytes.h"

namespace ombrel {

// One file of a list download (DownloadList): read when the task reaches it.
struct DownloadEntry {
  std::string file;     // full path
  std::string label;    // "FONT" or "LOGO", shown before the path
  std::string code;     // the command code, "$33"
  std::string address;  // "$" and hexadecimal digits: where the file's first byte goes
};

struct TransferJob {
  Bytes stream;                            // the whole file, as stored
  std::string imageIdentity;               // task 4: the file's identity at 0x3000, upper case
  std::int64_t waitTimeMs = 5000;          // WaitTimeMs: the pause while the port is closed
  std::vector<DownloadEntry> downloads{};  // DownloadList, sent in order
  std::string readBackPath{};              // ReadBackPath: where a read-back is saved
  bool verify = false;                     // a list download reads each file back and compares it
};

}  // namespace ombrel
