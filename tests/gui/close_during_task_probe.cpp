// The desktop program with a printer that never answers on its serial line:
// it clicks the control named by its first argument (but_bootIn or btn_Test),
// and once that task has run for a while prints "closing" and closes the main
// window. The program then ends as the real one does; the test measures how
// long that takes.

#include <QApplication>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>

#include "app/frm_main.h"
#include "app/frm_para.h"
#include "app/run_windows.h"
#include "gui/pty_boot_loader.h"
#include "gui/scripted_message_boxes.h"
#include "platform/clock.h"

int main(int argc, char** argv) {
  using namespace ombrel;
  if (argc != 3) {
    std::fputs("usage: close_during_task_probe but_bootIn|btn_Test DIR\n", stderr);
    return 2;
  }
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  gui_test::PtyBootLoader silentPrinter(std::nullopt);
  ScaledClock realTime(1);
  gui_test::ScriptedMessageBoxes boxes;
  app::TFrmMain mainWindow(app::MainWindowServices{std::string(argv[2]) + "/", {}, realTime, boxes, [&] {
                                                     return std::vector<std::string>{silentPrinter.portPath()};
                                                   }});
  app::TFrmPara paraWindow(mainWindow);
  mainWindow.setParaWindow(&paraWindow);

  QPushButton* control =
      std::strcmp(argv[1], "but_bootIn") == 0 ? mainWindow.ui().but_bootIn : mainWindow.ui().btn_Test;
  QTimer::singleShot(0, control, &QPushButton::click);
  // Well into the task (boot mode starts its first handshake after a
  // second): the handshake bytes flow, or the link test waits for a reply.
  QTimer poll;
  const auto clicked = std::chrono::steady_clock::now();
  std::optional<std::chrono::steady_clock::time_point> busySince;
  QObject::connect(&poll, &QTimer::timeout, &mainWindow, [&] {
    const auto now = std::chrono::steady_clock::now();
    if (!busySince && mainWindow.engine().isBusy()) busySince = now;
    if (busySince && now - *busySince >= std::chrono::milliseconds(300)) {
      poll.stop();
      std::puts("closing");
      std::fflush(stdout);
      mainWindow.close();
    } else if (!busySince && now - clicked > std::chrono::seconds(5)) {
      std::puts("no task runs");
      QApplication::exit(3);
    }
  });
  poll.start(20);
  return app::runWindows(mainWindow);
}
