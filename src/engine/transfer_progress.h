#pragma once

// The progress of a long transfer as the engine reports it to the window in
// front: which phase it is in and how far that phase has come. Sending counts
// bytes of the file; the waits count milliseconds, so a front end can show the
// time left. The window's progress bar and ombrelctl's progress line both
// show it; the font, read-back and logo transfers report the same way.

#include <cstdint>

namespace ombrel {

enum class TransferPhase {
  Connecting,         // opening the link, identifying the printer, announcing the update
  WaitingForPort,     // the port is closed while the printer's loader starts
  Sending,            // done/total bytes of the file
  Receiving,          // done/total bytes read back from the printer's memory
  Verifying,          // done/total bytes of a download read back and compared
  PrinterRestarting,  // the final wait while the printer takes the new program
  Ended,              // the transfer task has ended, whatever its outcome
};

struct TransferProgress {
  TransferPhase phase = TransferPhase::Ended;
  std::int64_t done = 0;   // bytes sent, or milliseconds waited
  std::int64_t total = 0;  // bytes to send, or milliseconds to wait; 0: no measure yet

  // 0 to 1000; 1000 once done reaches total.
  int permille() const;
  // The time left of a wait, in whole seconds rounded up.
  std::int64_t secondsLeft() const;
};

}  // namespace ombrel
