#pragma once

// ombrel-vprinter on a UDP port of its own choosing, or on a pseudo-terminal
// of its own, with what it received read back from its JSON log.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "support/child_process.h"

namespace ombrel::test_support {

struct Received {
  std::string dir;      // "rx", "tx" or "line"
  std::string kind;     // "frame", "raw" or "noise"; "reply"; "open", "close" or "rate"
  std::string bytes;    // upper-case hex, blank separated
  int command = -1;     // received frames only
  std::string decoded;  // JSON escapes left as they are
};

// The serial line of a printer on a pseudo-terminal.
struct OnPty {};

class VirtualPrinter {
 public:
  explicit VirtualPrinter(const std::vector<std::string>& extraArguments = {});
  VirtualPrinter(OnPty, const std::vector<std::string>& extraArguments = {});
  ~VirtualPrinter();

  int port() const { return port_; }
  // The tool's side of the pseudo-terminal.
  const std::string& ptyPath() const { return ptyPath_; }
  // The ombrelctl --link value that reaches this printer.
  std::string link() const;
  // Everything received so far, in order (replies it sent are left out).
  std::vector<Received> received() const;
  // Every record of the log: received units, replies sent, line events.
  std::vector<Received> records() const;
  // Ends the printer (it logs what it still holds first); idempotent.
  void stop();

 private:
  void start(std::vector<std::string> arguments, const std::string& readyPattern);

  std::string logPath_;
  std::unique_ptr<ChildProcess> process_;
  int port_ = 0;
  std::string ptyPath_;
};

// The serial numbers of the device write frames the printer received so far,
// in order: command 0x85 carries the device name and then the number, 20
// bytes each.
std::vector<std::uint32_t> deviceWriteNumbers(const VirtualPrinter& printer);

}  // namespace ombrel::test_support
