#pragma once

// ombrel-vprinter on a UDP port of its own choosing, with what it received
// read back from its JSON log.

#include <memory>
#include <string>
#include <vector>

#include "support/child_process.h"

namespace ombrel::test_support {

struct Received {
  std::string kind;   // "frame" or "raw"
  std::string bytes;  // upper-case hex, blank separated
  int command = -1;   // frames only
};

class VirtualPrinter {
 public:
  explicit VirtualPrinter(const std::vector<std::string>& extraArguments = {});
  ~VirtualPrinter();

  int port() const { return port_; }
  std::string link() const { return "net:127.0.0.1:" + std::to_string(port_); }
  // Everything received so far, in order (replies it sent are left out).
  std::vector<Received> received() const;

 private:
  std::string logPath_;
  std::unique_ptr<ChildProcess> process_;
  int port_ = 0;
};

}  // namespace ombrel::test_support
