// Start-up of the desktop tool against a bare Qt main window on the same
// display: the time from exec to the first top-level window mapped, as the
// median of alternating runs, and their ratio. A third run, the bare window
// with one Chinese-captioned group box and label, shows the share that the
// fonts and text of any window with Chinese captions take on this display.
// Needs a display (DISPLAY).

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

// Milliseconds from exec to the first window mapped on the root, or -1.
double timeToMappedWindow(xcb_connection_t* display, const std::vector<std::string>& command) {
  std::vector<char*> argv;
  for (const auto& word : command) argv.push_back(const_cast<char*>(word.c_str()));
  argv.push_back(nullptr);
  const auto start = Clock::now();
  pid_t child = 0;
  if (posix_spawn(&child, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return -1;
  double took = -1;
  while (xcb_generic_event_t* event = xcb_wait_for_event(display)) {
    const bool mapped = (event->response_type & 0x7f) == XCB_MAP_NOTIFY;
    std::free(event);
    if (mapped) {
      took = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
      break;
    }
  }
  kill(child, SIGTERM);
  waitpid(child, nullptr, 0);
  return took;
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  if (std::getenv("DISPLAY") == nullptr) {
    std::puts("startup_window: no display (DISPLAY is not set); run it under xvfb-run or in a desktop session");
    return 0;
  }
  xcb_connection_t* display = xcb_connect(nullptr, nullptr);
  if (xcb_connection_has_error(display)) {
    std::puts("startup_window: cannot connect to the display");
    return 1;
  }
  xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(display)).data;
  const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
  xcb_change_window_attributes(display, screen->root, XCB_CW_EVENT_MASK, &mask);
  xcb_flush(display);

  const std::filesystem::path bin = std::filesystem::canonical("/proc/self/exe").parent_path();
  const std::string dir = (std::filesystem::temp_directory_path() / "ombrel-bench-startup").string();
  std::filesystem::create_directories(dir);
  const int rounds = argc > 1 ? std::atoi(argv[1]) : 15;
  const std::string bareWindow = (bin / "startup_bare_window").string();
  std::vector<double> bare;
  std::vector<double> captioned;
  std::vector<double> tool;
  for (int round = 0; round < rounds; ++round) {
    bare.push_back(timeToMappedWindow(display, {bareWindow}));
    captioned.push_back(timeToMappedWindow(display, {bareWindow, "--chinese-caption"}));
    tool.push_back(timeToMappedWindow(display, {(bin / "ombrel-setting-tool").string(), "--dir", dir}));
  }
  std::filesystem::remove_all(dir);
  const double bareMs = median(bare);
  const double captionedMs = median(captioned);
  const double toolMs = median(tool);
  std::printf(
      "exec to window mapped, median of %d: bare Qt window %.1f ms; with one Chinese caption %.1f ms, ratio %.2f; "
      "ombrel-setting-tool %.1f ms, ratio %.2f\n",
      rounds, bareMs, captionedMs, captionedMs / bareMs, toolMs, toolMs / bareMs);
  xcb_disconnect(display);
  return 0;
}
