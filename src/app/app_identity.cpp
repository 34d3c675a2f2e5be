#include "app/app_identity.h"

#include <QApplication>
#include <QWidget>

namespace ombrel::app {

void identifyApplication() {
  QApplication::setApplicationName(QStringLiteral("ombrel-setting-tool"));
  QApplication::setDesktopFileName(QStringLiteral("ombrel-setting-tool"));
}

QString messageBoxTitle() {
  const QWidget* active = QApplication::activeWindow();
  if (active != nullptr && !active->windowTitle().isEmpty()) return active->windowTitle();
  return QStringLiteral("Ombrel Setting Tool");
}

}  // namespace ombrel::app
