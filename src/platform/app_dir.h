#pragma once

#include <string>
#include <vector>

namespace ombrel {

// The program directory, with a trailing '/': where debug.log, sysconfig.ini
// and the language files live. `requested` (from --dir) wins when given; else
// the executable's directory when the program runs from the build's output
// folder and may write there; else $XDG_CONFIG_HOME/ombrel/ (~/.config/ombrel/),
// created when missing.
std::string programDirectory(const std::string& requested = {});

// The directory holding the running executable, with a trailing '/'.
std::string executableDirectory();

// Where language files are looked for, in order: the program directory,
// beside the executable, the installed data directory.
std::vector<std::string> languageDirectories(const std::string& appDir);

}  // namespace ombrel
