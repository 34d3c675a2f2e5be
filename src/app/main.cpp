// ombrel-setting-tool: the desktop program.

#include <QApplication>
#include <QStringList>
#include <QTimer>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/app_identity.h"
#include "app/app_options.h"
#include "app/frm_main.h"
#include "app/frm_para.h"
#include "app/qt_message_boxes.h"
#include "app/run_windows.h"
#include "platform/app_dir.h"
#include "platform/clock.h"

int main(int argc, char** argv) {
  using namespace ombrel;
  // Help and a missing display are answered before the application object,
  // which would abort without a display.
  bool platformNamed = !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
      std::fputs(app::kAppUsage, stdout);
      return 0;
    }
    if (std::strcmp(argv[i], "--version") == 0) {
      std::fputs("ombrel-setting-tool (Ombrel Setting Tool) " OMBREL_VERSION "\n", stdout);
      return 0;
    }
    platformNamed = platformNamed || std::strcmp(argv[i], "-platform") == 0;
  }
  if (!platformNamed && qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
    std::fputs(
        "ombrel-setting-tool: there is no display (DISPLAY and WAYLAND_DISPLAY are not set).\n"
        "Start it in a desktop session; ombrelctl does the same work from a terminal.\n",
        stderr);
    return 1;
  }
  QApplication application(argc, argv);
  app::identifyApplication();

  std::vector<std::string> arguments;
  const QStringList given = QApplication::arguments();
  for (qsizetype i = 1; i < given.size(); ++i) arguments.push_back(given[i].toStdString());
  const app::AppOptions options = app::parseAppOptions(arguments);
  if (!options.error.empty()) {
    std::fprintf(stderr, "ombrel-setting-tool: %s\nTry 'ombrel-setting-tool --help'.\n", options.error.c_str());
    return 2;
  }

  const std::string appDir = programDirectory(options.dir);
  std::vector<std::filesystem::path> languageDirs;
  for (const auto& dir : languageDirectories(appDir)) languageDirs.emplace_back(dir);
  ScaledClock clock(ScaledClock::factorFromEnvironment());
  app::QtMessageBoxes messageBoxes;

  app::TFrmMain mainWindow(app::MainWindowServices{appDir, languageDirs, clock, messageBoxes});
  // The parameters window is built once the main window is on screen, so the
  // operator sees the first window sooner; no input reaches the main window
  // before this first turn of the event loop.
  std::unique_ptr<app::TFrmPara> paraWindow;
  QTimer::singleShot(0, &mainWindow, [&] {
    paraWindow = std::make_unique<app::TFrmPara>(mainWindow);
    mainWindow.setParaWindow(paraWindow.get());
  });
  return app::runWindows(mainWindow);
}
