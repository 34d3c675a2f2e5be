#pragma once

// The printer's end of a pseudo-terminal: the master side, whose slave path
// the setting tool opens as its serial port. The two sides share one set of
// line settings, so the rate the tool gave its port is read here.

#include <cstdint>
#include <string>

#include "platform/bytes.h"

namespace ombrel::vprinter {

class PtyLine {
 public:
  // Creates the pseudo-terminal, non-blocking, with a raw slave (no echo, no
  // line editing, no character mapping) until the tool sets its own
  // settings. Throws std::runtime_error with the reason.
  PtyLine();
  ~PtyLine();
  PtyLine(const PtyLine&) = delete;
  PtyLine& operator=(const PtyLine&) = delete;

  const std::string& slavePath() const { return slavePath_; }
  int fd() const { return master_; }

  // The rate the tool's port is set to now; 0 when it cannot be read.
  std::uint32_t toolRate() const;

  // Reads what is there without waiting; empty when nothing is.
  Bytes readAvailable();
  // Writes all the bytes, waiting for room while the tool's side is full.
  // False when the line refuses them (no room for a long time, or an error).
  bool writeAll(const Bytes& bytes);

 private:
  int master_ = -1;
  std::string slavePath_;
};

}  // namespace ombrel::vprinter
