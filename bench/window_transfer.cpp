// The parameters window while 8 MiB go out: the program update (task 4) is
// started by its button, over UDP loopback against the virtual printer, in the
// windows as the desktop program builds them (offscreen unless a display is
// named). A timer ticks every 5 ms on the window's thread; the longest time
// between two ticks, from just before the click to the task's end, is the
// longest the event loop was held up. The progress bar's longest still spell
// while the file is being sent says how often it moves.

#include <QApplication>
#include <QEventLoop>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

#include "app/frm_main.h"
#include "app/frm_para.h"
#include "bench_printer.h"
#include "gui/scripted_message_boxes.h"
#include "platform/clock.h"
#include "settings/temp_dir.h"
#include "support/child_process.h"
#include "support/run_program.h"

namespace {

using namespace ombrel;
using SteadyClock = std::chrono::steady_clock;
using Milliseconds = std::chrono::duration<double, std::milli>;

constexpr std::size_t kFileSize = 8 * 1024 * 1024;
constexpr auto kTickPeriod = std::chrono::milliseconds(5);
constexpr double kLongestGapAimMs = 50;
constexpr double kStillProgressAimMs = 200;  // five moves a second

struct Figures {
  double longestGapMs = 0;
  double longestStillMs = 0;  // between two moves of the progress bar while sending
  int moves = 0;
  double sendingSeconds = 0;
  std::string status;  // the window's status text at the end
};

std::string updateFile(const std::filesystem::path& dir) {
  std::string content(kFileSize, '\x5A');
  // No identity at 0x3000, as the printer reports none.
  std::fill_n(content.begin() + 0x3000, 8, '\0');
  const std::string path = (dir / "app.bin").string();
  std::ofstream(path, std::ios::binary) << content;
  return path;
}

Figures measure(int port) {
  testing::TempDir dir;
  const std::string file = updateFile(dir.path());
  ScaledClock clock;
  gui_test::ScriptedMessageBoxes boxes;
  app::TFrmMain window(
      app::MainWindowServices{dir.path().string() + "/", {}, clock, boxes, [] { return std::vector<std::string>{}; }});
  window.show();
  app::TFrmPara para(window);
  window.setParaWindow(&para);
  window.ui().transportRadios[1]->click();
  window.ui().edt_Ipaddress->setText("127.0.0.1");
  window.ui().edt_Port->setText(QString::number(port));
  if (!window.ReadLinkSettings()) throw std::runtime_error("the link choice was refused");
  window.hide();
  para.show();
  para.paraControls().setText("edt_Prgfile", file);
  para.paraControls().setText("edt_WaitTime", "0");
  auto* button = para.findChild<QPushButton*>("btn_UpdatePrg");
  if (button == nullptr) throw std::runtime_error("no update button");

  Figures figures;
  QEventLoop loop;
  SteadyClock::time_point lastTick;
  QTimer ticks;
  ticks.setInterval(kTickPeriod);
  QObject::connect(&ticks, &QTimer::timeout, [&] {
    const auto now = SteadyClock::now();
    figures.longestGapMs = std::max(figures.longestGapMs, Milliseconds(now - lastTick).count());
    lastTick = now;
    if (!window.engine().isBusy()) loop.quit();
  });
  SteadyClock::time_point firstMove;
  SteadyClock::time_point lastMove;
  QObject::connect(para.progressBar(), &QProgressBar::valueChanged, [&](int value) {
    if (value <= 0) return;
    const auto now = SteadyClock::now();
    if (figures.moves == 0) firstMove = now;
    if (figures.moves > 0)
      figures.longestStillMs = std::max(figures.longestStillMs, Milliseconds(now - lastMove).count());
    lastMove = now;
    ++figures.moves;
  });
  QTimer::singleShot(0, [&] {
    lastTick = SteadyClock::now();
    ticks.start();
    button->click();
  });
  loop.exec();
  // The last status is posted as the task ends.
  QApplication::processEvents();
  figures.status = para.statusPanel(0)->text().toStdString();
  figures.sendingSeconds = std::chrono::duration<double>(lastMove - firstMove).count();
  para.close();
  return figures;
}

}  // namespace

int main(int argc, char** argv) {
  if (std::getenv("DISPLAY") == nullptr && std::getenv("QT_QPA_PLATFORM") == nullptr) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
  }
  QApplication application(argc, argv);
  try {
    test_support::ChildProcess printer(test_support::builtProgram("ombrel-vprinter"),
                                       {"--udp", "127.0.0.1:0", "--identity", "", "--memory-size", "16777216"});
    const int port = std::stoi(bench::startPrinter(printer, "udp 127\\.0\\.0\\.1:(\\d+)"));
    const Figures figures = measure(port);
    if (figures.moves == 0) throw std::runtime_error("the update sent nothing: " + figures.status);
    std::printf("parameters window, program update of 8 MiB over UDP loopback:\n");
    std::printf("  longest event loop gap:      %7.1f ms (aim: at most %.0f ms)\n", figures.longestGapMs,
                kLongestGapAimMs);
    std::printf("  progress bar, longest still: %7.1f ms (aim: at most %.0f ms, five moves a second)\n",
                figures.longestStillMs, kStillProgressAimMs);
    std::printf("  progress bar moves:          %7d in %.2f s of sending; status %s\n", figures.moves,
                figures.sendingSeconds, figures.status.c_str());
  } catch (const std::exception& error) {
    std::fprintf(stderr, "bench_window_transfer: %s\n", error.what());
    return 1;
  }
  return 0;
}
