#pragma once

// The desktop program's command line (after Qt has taken its own options).

#include <string>
#include <vector>

namespace ombrel::app {

// --help and --version are answered before the toolkit starts and is not parsed here.
struct AppOptions {
  std::string dir;    // program directory: sysconfig.ini, debug.log, *.lng
  std::string error;  // set when the command line is wrong
};

AppOptions parseAppOptions(const std::vector<std::string>& arguments);

extern const char* const kAppUsage;

}  // namespace ombrel::app
