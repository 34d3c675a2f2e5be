#include "app/app_options.h"

namespace ombrel::app {

const char* const kAppUsage =
    "Usage: ombrel-setting-tool [--dir DIR]\n"
    "  --dir DIR   program directory: sysconfig.ini, debug.log and language files\n"
    "              (default: $XDG_CONFIG_HOME/ombrel, ~/.config/ombrel; a build run\n"
    "              from its own output folder keeps them there)\n"
    "  --help      this text\n"
    "  --version   the program's name and version\n"
    "Exit status: 0 the window was closed; 1 there is no display; 2 the command line\n"
    "was wrong.\n";

AppOptions parseAppOptions(const std::vector<std::string>& arguments) {
  AppOptions options;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (argument == "--dir" && i + 1 < arguments.size() && !arguments[i + 1].empty()) {
      options.dir = arguments[++i];
    } else if (argument.rfind("--dir=", 0) == 0 && argument.size() > 6) {
      options.dir = argument.substr(6);
    } else if (argument == "--dir" || argument == "--dir=") {
      options.error = "--dir needs a directory";
    } else {
      options.error = "unknown argument: " + argument;
    }
    if (!options.error.empty()) break;
  }
  return options;
}

}  // namespace ombrel::app
