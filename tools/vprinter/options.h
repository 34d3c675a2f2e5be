#pragma once

// The command line of ombrel-vprinter.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "fault_injector.h"
#include "printer_model.h"

namespace ombrel::vprinter {

struct Options {
  std::string udpHost;
  std::uint16_t udpPort = 0;
  bool pty = false;
  bool pace = false;  // pty only
  std::uint32_t baud = 9600;
  std::optional<std::uint32_t> bootAfter;
  std::string identity = "OMB80";
  std::optional<std::size_t> memorySize;  // unset: 4 MiB, or the file's size when larger
  std::string memoryFile;
  std::size_t readBlock = 256;
  std::optional<std::uint32_t> corruptStore;  // the address a write stores wrongly
  ReplyHead replyHead = ReplyHead::Echo;
  std::string replyFromAddress;  // UDP: replies leave from a socket on this address
  std::string textLog;           // "-" = standard output
  std::string jsonLog;           // "-" = standard output
  FaultOptions faults;
};

struct HelpRequested {};
struct VersionRequested {};
struct OptionError {
  std::string message;
};

using ParsedOptions = std::variant<Options, HelpRequested, VersionRequested, OptionError>;

ParsedOptions parseOptions(const std::vector<std::string>& arguments);

extern const char* const kUsage;

}  // namespace ombrel::vprinter
