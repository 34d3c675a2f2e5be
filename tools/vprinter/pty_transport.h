#pragma once

// The virtual printer on a serial line: a pseudo-terminal whose slave path
// the setting tool opens as its serial port. The byte stream is cut into
// frames and raw units; bytes sent while the tool's port runs at another rate
// than the printer are line noise; the printer follows command 49 once its
// acknowledgement is out. With pacing, the line runs at the printer's rate in
// both directions (ten bits a byte, real time). Single-threaded: one wait
// loop serves the line, the port's open and close events, delayed and paced
// replies and the stop descriptor.

#include <string>

#include "platform/clock.h"
#include "port_watch.h"
#include "printer_session.h"
#include "pty_line.h"

namespace ombrel::vprinter {

class PtyTransport {
 public:
  // Creates the pseudo-terminal. Throws std::runtime_error with the reason.
  explicit PtyTransport(bool pace);

  // The path the tool opens as its serial port.
  const std::string& slavePath() const { return line_.slavePath(); }

  // Serves until `stopFd` becomes readable, or until the printer hangs up
  // (--hang-up-after); what is still under way then is logged before it
  // returns.
  void serve(PrinterSession& session, Clock& clock, int stopFd);

 private:
  PtyLine line_;
  PortWatch watch_;
  bool pace_;
};

}  // namespace ombrel::vprinter
