// ombrel-vprinter: a virtual printer for demos and tests; see --help.

#include <fstream>
#include <iostream>
#include <memory>
#include <stdexcept>

#include "json_log.h"
#include "memory_image.h"
#include "options.h"
#include "printer_session.h"
#include "pty_transport.h"
#include "stop_signals.h"
#include "text_log.h"
#include "udp_transport.h"

namespace {

using namespace ombrel::vprinter;

constexpr int kExitBadOptions = 2;
constexpr int kExitSetupFailed = 1;

// Log files stay open for the whole run; "-" is standard output.
class LogFiles {
 public:
  std::ostream& open(const std::string& path) {
    if (path == "-") return std::cout;
    auto file = std::make_unique<std::ofstream>(path, std::ios::trunc);
    if (!*file) throw std::runtime_error("cannot write log file " + path);
    files_.push_back(std::move(file));
    return *files_.back();
  }

 private:
  std::vector<std::unique_ptr<std::ofstream>> files_;
};

int run(const Options& options) {
  // Before anything else, so a stop request is never lost once we are ready.
  StopSignals stops;
  FrameLog log;
  LogFiles files;
  PrinterConfig config;
  try {
    if (!options.textLog.empty()) log.attach(std::make_unique<TextLogWriter>(files.open(options.textLog)));
    if (!options.jsonLog.empty()) log.attach(std::make_unique<JsonLogWriter>(files.open(options.jsonLog)));
    config.memory = initialMemory(options.memorySize, options.memoryFile);
  } catch (const std::runtime_error& error) {
    std::cerr << "ombrel-vprinter: " << error.what() << '\n';
    return kExitBadOptions;
  }
  config.identity = options.identity;
  config.readBlock = options.readBlock;
  config.corruptStore = options.corruptStore;
  config.lineRate = options.baud;
  config.bootAfter = options.bootAfter;
  config.replyHead = options.replyHead;
  PrinterModel model(std::move(config));
  FaultInjector faults(options.faults);
  PrinterSession session(model, faults, log);
  ombrel::ScaledClock clock(ombrel::ScaledClock::factorFromEnvironment());
  try {
    if (options.pty) {
      PtyTransport pty(options.pace);
      std::cout << "pty " << pty.slavePath() << std::endl;
      pty.serve(session, clock, stops.fd());
    } else {
      UdpTransport udp(options.udpHost, options.udpPort, options.replyFromAddress);
      std::cout << "udp " << udp.boundAddress() << std::endl;
      udp.serve(session, clock, stops.fd());
    }
  } catch (const std::runtime_error& error) {
    std::cerr << "ombrel-vprinter: " << error.what() << '\n';
    return kExitSetupFailed;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const ParsedOptions parsed = parseOptions(std::vector<std::string>(argv + 1, argv + argc));
  if (std::holds_alternative<HelpRequested>(parsed)) {
    std::cout << kUsage;
    return 0;
  }
  if (std::holds_alternative<VersionRequested>(parsed)) {
    std::cout << "ombrel-vprinter (Ombrel Setting Tool) " OMBREL_VERSION "\n";
    return 0;
  }
  if (const auto* error = std::get_if<OptionError>(&parsed)) {
    std::cerr << "ombrel-vprinter: " << error->message << "\nTry 'ombrel-vprinter --help'.\n";
    return kExitBadOptions;
  }
  return run(std::get<Options>(parsed));
}
