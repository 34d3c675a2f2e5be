// bench_usb_slots: how long ombrelctl's station takes to set up one USB
// printer, and four identical ones plugged in together, with the recipe of
// the code page and the device write. The printers are fake USB devices
// (umockdev; the program runs itself again under umockdev-wrapper) whose
// nodes lead to virtual printers that answer every frame 80 ms late, as a
// slow printer does. The figure is the time from plugging in to the last
// printer's "set up" line; each count is the median of five rounds.
// `--ctl PATH` times another build's ombrelctl (the one-printer figure of an
// earlier version); `--printers N` times N printers only.

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "bench_printer.h"
#include "support/child_process.h"
#include "support/run_program.h"
#include "usb/usb_testbed.h"

namespace {

using namespace std::chrono_literals;
using ombrel::test_support::ChildProcess;
using Clock = std::chrono::steady_clock;

constexpr int kRounds = 5;
constexpr double kAim = 1.3;

// One round: a fresh program directory and fresh printers; milliseconds from
// plugging them in to the last one set up, or -1 when one was not.
double round(const std::string& ctl, int printers) {
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("bench_usb_slots_" + std::to_string(::getpid()));
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  const std::filesystem::path settings = dir / "sysconfig.ini";
  std::ofstream(settings) << "[ParaDefault]\r\nDeviceName=Kasse\r\nDeviceSerialNo=1704269998\r\ncalculate=1\r\n"
                             "[ProductionLine]\r\nActions=btn_SetCodepage,btn_SetDevicePara\r\n";
  ombrel::test_support::UsbTestbed bed;
  std::vector<std::unique_ptr<ChildProcess>> served;
  std::vector<std::string> ptys;
  for (int i = 0; i < printers; ++i) {
    served.push_back(
        std::make_unique<ChildProcess>(ombrel::test_support::builtProgram("ombrel-vprinter"),
                                       std::vector<std::string>{"--pty", "--baud", "38400", "--delay", "80"}));
    ptys.push_back(ombrel::bench::startPrinter(*served.back(), "pty (/dev/pts/\\d+)"));
  }
  ChildProcess station(ctl, {"--dir", dir.string(), "--each-arrival", "--recipe"});
  // Its first line comes once it has listed the printers present.
  const auto ready = station.readLine(20s);
  if (!ready) return -1;

  const auto plugged = Clock::now();
  for (int i = 0; i < printers; ++i) {
    bed.addDevice("1-" + std::to_string(i + 1), "0fe6", "811e", i, ptys[static_cast<std::size_t>(i)]);
  }
  int setUp = 0;
  while (setUp < printers) {
    const auto line = station.readLine(30s);
    if (!line) return -1;
    // "... 已设置" or "... set up", after the printer's last action.
    if (line->find("已设置") != std::string::npos || line->find(" set up") != std::string::npos) ++setUp;
  }
  const double ms = std::chrono::duration<double, std::milli>(Clock::now() - plugged).count();
  station.sendSignal(SIGINT);
  station.waitForExit(20s);
  std::filesystem::remove_all(dir);
  return ms;
}

double median(const std::string& ctl, int printers) {
  std::vector<double> times;
  for (int i = 0; i < kRounds; ++i) {
    const double ms = round(ctl, printers);
    if (ms < 0) return -1;
    times.push_back(ms);
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  // The preloaded library answers only once a test bed exists; the variable
  // says the wrapper has been run.
  if (std::getenv("OMBREL_BENCH_UNDER_UMOCKDEV") == nullptr) {
    ::setenv("OMBREL_BENCH_UNDER_UMOCKDEV", "1", 1);
    std::vector<char*> again{const_cast<char*>("umockdev-wrapper")};
    for (int i = 0; i < argc; ++i) again.push_back(argv[i]);
    again.push_back(nullptr);
    ::execvp("umockdev-wrapper", again.data());
    std::perror("umockdev-wrapper");
    return 1;
  }
  std::string ctl = ombrel::test_support::builtProgram("ombrelctl");
  int only = 0;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string option = argv[i];
    if (option == "--ctl") ctl = argv[i + 1];
    if (option == "--printers") only = std::stoi(argv[i + 1]);
  }
  if (only > 0) {
    const double ms = median(ctl, only);
    std::printf("%d printer(s) plugged in together, set up in %.0f ms\n", only, ms);
    return ms < 0 ? 1 : 0;
  }
  const double one = median(ctl, 1);
  const double four = median(ctl, 4);
  if (one < 0 || four < 0) {
    std::printf("a printer was not set up\n");
    return 1;
  }
  std::printf("one printer: %.0f ms; four plugged in together: %.0f ms; ratio %.2f (aim: at most %.1f)\n", one, four,
              four / one, kAim);
  return 0;
}
