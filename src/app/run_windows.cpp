#include "app/run_windows.h"

#include <QApplication>
#include <cstdio>
#include <cstdlib>

namespace ombrel::app {

int runWindows(TFrmMain& mainWindow) {
  mainWindow.show();
  const int status = QApplication::exec();
  if (mainWindow.engine().isBusy()) {
    std::fflush(nullptr);
    std::_Exit(status);
  }
  return status;
}

}  // namespace ombrel::app
