#include "e2e/virtual_printer.h"

#include <signal.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <regex>
#include <stdexcept>

#include "support/run_program.h"

namespace ombrel::test_support {

VirtualPrinter::VirtualPrinter(const std::vector<std::string>& extraArguments) {
  char pattern[] = "/tmp/ombrel_vprinter_XXXXXX";
  const int fd = ::mkstemp(pattern);
  if (fd >= 0) ::close(fd);
  logPath_ = pattern;
  std::vector<std::string> arguments{"--udp", "127.0.0.1:0", "--log-json", logPath_};
  arguments.insert(arguments.end(), extraArguments.begin(), extraArguments.end());
  process_ = std::make_unique<ChildProcess>(builtProgram("ombrel-vprinter"), arguments);
  const auto ready = process_->readLine(std::chrono::seconds(10));
  std::smatch match;
  if (!ready || !std::regex_match(*ready, match, std::regex("udp 127\\.0\\.0\\.1:(\\d+)"))) {
    throw std::runtime_error("the virtual printer did not start");
  }
  port_ = std::stoi(match[1]);
}

VirtualPrinter::~VirtualPrinter() {
  process_->sendSignal(SIGTERM);
  process_->waitForExit(std::chrono::seconds(5));
  ::unlink(logPath_.c_str());
}

std::vector<Received> VirtualPrinter::received() const {
  static const std::regex kDirection("\"dir\":\"rx\"");
  static const std::regex kKind("\"kind\":\"(\\w+)\"");
  static const std::regex kBytes("\"bytes\":\"([0-9A-F ]*)\"");
  static const std::regex kCommand("\"command\":(\\d+)");
  std::vector<Received> out;
  std::ifstream log(logPath_);
  std::string line;
  while (std::getline(log, line)) {
    std::smatch match;
    if (!std::regex_search(line, kDirection)) continue;
    Received unit;
    if (std::regex_search(line, match, kKind)) unit.kind = match[1];
    if (std::regex_search(line, match, kBytes)) unit.bytes = match[1];
    if (std::regex_search(line, match, kCommand)) unit.command = std::stoi(match[1]);
    out.push_back(unit);
  }
  return out;
}

}  // namespace ombrel::test_support
