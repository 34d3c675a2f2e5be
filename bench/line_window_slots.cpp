// The production line window with eight slots busy: eight identical USB
// printers (fake devices that the real libudev sees, each node a virtual
// printer's pseudo-terminal answering after 80 ms) are plugged in together
// while the station runs a recipe of the code page and the device write, in
// the windows as the desktop program builds them (offscreen unless a display
// is named). A timer ticks every 5 ms on the window's thread; the longest
// time between two ticks, from the printers' arrival to the last one's end, is
// the longest the event loop was held up. It runs itself under
// umockdev-wrapper.

#include <unistd.h>

#include <QApplication>
#include <QEventLoop>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/frm_line.h"
#include "app/frm_main.h"
#include "app/frm_para.h"
#include "bench_printer.h"
#include "gui/scripted_message_boxes.h"
#include "platform/clock.h"
#include "settings/temp_dir.h"
#include "support/child_process.h"
#include "support/run_program.h"
#include "usb/usb_testbed.h"

namespace {

using namespace ombrel;
using SteadyClock = std::chrono::steady_clock;
using Milliseconds = std::chrono::duration<double, std::milli>;

constexpr int kPrinters = 8;
constexpr auto kTickPeriod = std::chrono::milliseconds(5);
constexpr auto kLongestRun = std::chrono::seconds(120);
constexpr double kLongestGapAimMs = 50;

struct Figures {
  double longestGapMs = 0;
  double seconds = 0;
  int passed = 0;
  int ended = 0;
};

Figures measure(const std::vector<std::string>& ptys) {
  // Made before the windows, whose USB ports then see its devices.
  test_support::UsbTestbed bed;
  testing::TempDir dir;
  std::ofstream(dir.path() / "sysconfig.ini")
      << "[ParaDefault]\r\nDeviceName=Kasse\r\nDeviceSerialNo=1000\r\ncalculate=1\r\n"
         "[ProductionLine]\r\nActions=btn_SetCodepage,btn_SetDevicePara\r\n";
  ScaledClock clock;
  gui_test::ScriptedMessageBoxes boxes;
  app::TFrmMain window(
      app::MainWindowServices{dir.path().string() + "/", {}, clock, boxes, [] { return std::vector<std::string>{}; }});
  window.show();
  app::TFrmPara para(window);
  window.setParaWindow(&para);
  window.ui().transportRadios[2]->click();
  window.hide();
  para.show();
  para.findChild<QPushButton*>("btn_ProductionLine")->click();
  app::TFrmLine& line = para.lineWindow();
  line.findChild<QPushButton*>("btn_LineStart")->click();
  if (line.findChild<QPushButton*>("btn_LineStart")->isEnabled()) throw std::runtime_error("the station did not start");

  QTableWidget* table = line.table();
  const auto ended = [&] {
    Figures counted;
    for (int row = 0; row < table->rowCount(); ++row) {
      const QTableWidgetItem* result = table->item(row, table->columnCount() - 1);
      if (result == nullptr || result->text().isEmpty()) continue;
      ++counted.ended;
      if (!result->text().contains(u':')) ++counted.passed;
    }
    return counted;
  };

  // Plugged in before the clock starts: the test bed's own work is not the window's.
  for (int i = 0; i < kPrinters; ++i) {
    bed.addDevice("1-" + std::to_string(i + 1), "0fe6", "811e", i, ptys[static_cast<std::size_t>(i)]);
  }
  Figures figures;
  QEventLoop loop;
  const SteadyClock::time_point start = SteadyClock::now();
  SteadyClock::time_point lastTick = start;
  QTimer ticks;
  ticks.setInterval(kTickPeriod);
  QObject::connect(&ticks, &QTimer::timeout, [&] {
    const auto now = SteadyClock::now();
    figures.longestGapMs = std::max(figures.longestGapMs, Milliseconds(now - lastTick).count());
    lastTick = now;
    if (ended().ended == kPrinters || now - start > kLongestRun) loop.quit();
  });
  ticks.start();
  loop.exec();
  const Figures counted = ended();
  figures.passed = counted.passed;
  figures.ended = counted.ended;
  figures.seconds = std::chrono::duration<double>(SteadyClock::now() - start).count();
  line.findChild<QPushButton*>("btn_LineStop")->click();
  line.close();
  para.close();
  return figures;
}

// The fake devices need umockdev's preloaded library: start again under its wrapper.
void runUnderUmockdev(char** argv) {
  const char* preload = std::getenv("LD_PRELOAD");
  if (preload != nullptr && std::string(preload).find("umockdev") != std::string::npos) return;
  std::vector<char*> arguments{const_cast<char*>("umockdev-wrapper")};
  for (char** argument = argv; *argument != nullptr; ++argument) arguments.push_back(*argument);
  arguments.push_back(nullptr);
  execvp(arguments[0], arguments.data());
  throw std::runtime_error("cannot run umockdev-wrapper");
}

}  // namespace

int main(int argc, char** argv) {
  try {
    runUnderUmockdev(argv);
    if (std::getenv("DISPLAY") == nullptr && std::getenv("QT_QPA_PLATFORM") == nullptr) {
      setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    QApplication application(argc, argv);
    std::vector<std::unique_ptr<test_support::ChildProcess>> printers;
    std::vector<std::string> ptys;
    for (int i = 0; i < kPrinters; ++i) {
      printers.push_back(std::make_unique<test_support::ChildProcess>(
          test_support::builtProgram("ombrel-vprinter"),
          std::vector<std::string>{"--pty", "--baud", "38400", "--delay", "80"}));
      ptys.push_back(bench::startPrinter(*printers.back(), "pty (/dev/pts/\\d+)"));
    }
    const Figures figures = measure(ptys);
    std::printf("production line window, %d USB printers at once (code page and device write, 80 ms replies):\n",
                kPrinters);
    std::printf("  longest event loop gap: %7.1f ms (aim: at most %.0f ms)\n", figures.longestGapMs, kLongestGapAimMs);
    std::printf("  printers passed:        %7d of %d ended, in %.2f s\n", figures.passed, figures.ended,
                figures.seconds);
    if (figures.passed != kPrinters) throw std::runtime_error("not every printer passed");
  } catch (const std::exception& error) {
    std::fprintf(stderr, "bench_line_window_slots: %s\n", error.what());
    return 1;
  }
  return 0;
}
