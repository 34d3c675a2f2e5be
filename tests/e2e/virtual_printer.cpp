#include "e2e/virtual_printer.h"

#include <signal.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <regex>
#include <sstream>
#include <stdexcept>

#include "support/run_program.h"

namespace ombrel::test_support {

VirtualPrinter::VirtualPrinter(const std::vector<std::string>& extraArguments) {
  std::vector<std::string> arguments{"--udp", "127.0.0.1:0"};
  arguments.insert(arguments.end(), extraArguments.begin(), extraArguments.end());
  start(arguments, "udp 127\\.0\\.0\\.1:(\\d+)");
}

VirtualPrinter::VirtualPrinter(OnPty, const std::vector<std::string>& extraArguments) {
  std::vector<std::string> arguments{"--pty"};
  arguments.insert(arguments.end(), extraArguments.begin(), extraArguments.end());
  start(arguments, "pty (/dev/pts/\\d+)");
}

void VirtualPrinter::start(std::vector<std::string> arguments, const std::string& readyPattern) {
  char pattern[] = "/tmp/ombrel_vprinter_XXXXXX";
  const int fd = ::mkstemp(pattern);
  if (fd >= 0) ::close(fd);
  logPath_ = pattern;
  arguments.insert(arguments.end(), {"--log-json", logPath_});
  process_ = std::make_unique<ChildProcess>(builtProgram("ombrel-vprinter"), arguments);
  const auto ready = process_->readLine(std::chrono::seconds(10));
  std::smatch match;
  if (!ready || !std::regex_match(*ready, match, std::regex(readyPattern))) {
    throw std::runtime_error("the virtual printer did not start");
  }
  if (arguments.front() == "--pty") {
    ptyPath_ = match[1];
  } else {
    port_ = std::stoi(match[1]);
  }
}

VirtualPrinter::~VirtualPrinter() {
  stop();
  ::unlink(logPath_.c_str());
}

std::string VirtualPrinter::link() const {
  return ptyPath_.empty() ? "net:127.0.0.1:" + std::to_string(port_) : "serial:" + ptyPath_;
}

void VirtualPrinter::stop() {
  process_->sendSignal(SIGTERM);
  process_->waitForExit(std::chrono::seconds(5));
}

std::vector<Received> VirtualPrinter::received() const {
  std::vector<Received> out;
  for (auto& record : records()) {
    if (record.dir == "rx") out.push_back(std::move(record));
  }
  return out;
}

std::vector<Received> VirtualPrinter::records() const {
  static const std::regex kDirection("\"dir\":\"(\\w+)\"");
  static const std::regex kKind("\"kind\":\"(\\w+)\"");
  static const std::regex kBytes("\"bytes\":\"([0-9A-F ]*)\"");
  static const std::regex kCommand("\"command\":(\\d+)");
  static const std::regex kDecoded("\"decoded\":\"((?:[^\"\\\\]|\\\\.)*)\"");
  std::vector<Received> out;
  std::ifstream log(logPath_);
  std::string line;
  while (std::getline(log, line)) {
    std::smatch match;
    Received record;
    if (std::regex_search(line, match, kDirection)) record.dir = match[1];
    if (std::regex_search(line, match, kKind)) record.kind = match[1];
    if (std::regex_search(line, match, kBytes)) record.bytes = match[1];
    if (std::regex_search(line, match, kCommand)) record.command = std::stoi(match[1]);
    if (std::regex_search(line, match, kDecoded)) record.decoded = match[1];
    out.push_back(record);
  }
  return out;
}

std::vector<std::uint32_t> deviceWriteNumbers(const VirtualPrinter& printer) {
  constexpr int kDeviceWrite = 0x85;
  constexpr std::size_t kNumberAt = (16 + 20) * 3;  // the frame's head and the name, as "XX " each
  std::vector<std::uint32_t> numbers;
  for (const auto& unit : printer.received()) {
    if (unit.command != kDeviceWrite || unit.bytes.size() < kNumberAt) continue;
    std::istringstream bytes(unit.bytes.substr(kNumberAt));
    std::string digits;
    for (std::string byte; bytes >> byte && byte != "00";) digits += static_cast<char>(std::stoi(byte, nullptr, 16));
    numbers.push_back(static_cast<std::uint32_t>(std::stoul(digits)));
  }
  return numbers;
}

}  // namespace ombrel::test_support
