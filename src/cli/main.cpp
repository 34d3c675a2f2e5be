// ombrelctl: the engine and the window actions from the command line.

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "cli/actions.h"
#include "cli/cli_front_end.h"
#include "cli/options.h"
#include "engine/comm_thread.h"
#include "platform/app_dir.h"
#include "platform/clock.h"
#include "platform/event_loop_thread.h"
#include "ports/no_usb_port.h"
#include "ports/serial_port_factory.h"
#include "texts/language_file.h"

int main(int argc, char** argv) {
  using namespace ombrel;
  cli::Options options;
  try {
    options = cli::parseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const cli::UsageError& error) {
    std::fprintf(stderr, "ombrelctl: %s\n%s", error.what(), cli::kUsage);
    return cli::kExitRefused;
  }
  if (options.help) {
    std::fputs(cli::kUsage, stdout);
    return cli::kExitOk;
  }
  if (options.actions.empty()) {
    std::fprintf(stderr, "ombrelctl: no action given\n%s", cli::kUsage);
    return cli::kExitRefused;
  }

  const std::string appDir = programDirectory(options.dir);
  std::vector<std::filesystem::path> languageDirs;
  for (const auto& dir : languageDirectories(appDir)) languageDirs.emplace_back(dir);
  applyLanguage(options.language, languageDirs, {});

  ScaledClock clock(ScaledClock::factorFromEnvironment());
  EventLoopThread loop;
  cli::CliFrontEnd frontEnd(options.link, stdout, stderr);
  auto serial = makePrinterSerialPort(loop);
  NoUsbPort usb;
  TCommThread engine(loop, frontEnd, frontEnd, {*serial, usb}, clock, appDir);
  cli::ActionContext context{engine, frontEnd, options, clock};
  return cli::runActions(context, options.actions);
}
