#include "platform/app_dir.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace ombrel {

namespace {
std::string withSeparator(std::string path) {
  if (path.empty() || path.back() != '/') path += '/';
  return path;
}
}  // namespace

std::string executableDirectory() {
  std::error_code error;
  const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return "./";
  return withSeparator(self.parent_path().string());
}

std::string programDirectory(const std::string& requested) {
  std::error_code error;
  if (!requested.empty()) {
    std::filesystem::create_directories(requested, error);
    return withSeparator(requested);
  }
  // Only the build's own output folder is a program directory: an installed
  // program, even run as root, never writes into its bin directory.
  const std::string beside = executableDirectory();
  const std::string buildOutput =
      withSeparator(std::filesystem::weakly_canonical(OMBREL_BUILD_BIN_DIR, error).string());
  if (beside == buildOutput && ::access(beside.c_str(), W_OK) == 0) return beside;
  std::string base;
  if (const char* config = std::getenv("XDG_CONFIG_HOME"); config != nullptr && *config != '\0') {
    base = config;
  } else if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
    base = std::string(home) + "/.config";
  } else {
    base = "/tmp";
  }
  const std::string dir = withSeparator(base) + "ombrel";
  std::filesystem::create_directories(dir, error);
  return withSeparator(dir);
}

std::vector<std::string> languageDirectories(const std::string& appDir) {
  return {appDir, executableDirectory(), withSeparator(OMBREL_DATA_DIR)};
}

}  // namespace ombrel
