#pragma once

#include <string>

namespace ombrel {

// The program directory, with a trailing '/': where debug.log, sysconfig.ini
// and the language files live. `requested` (from --dir) wins when given; else
// the executable's directory when it is writable; else
// $XDG_CONFIG_HOME/ombrel/ (~/.config/ombrel/), created when missing.
std::string programDirectory(const std::string& requested = {});

// The directory holding the running executable, with a trailing '/'.
std::string executableDirectory();

}  // namespace ombrel
