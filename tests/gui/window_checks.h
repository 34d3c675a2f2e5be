#pragma once

// Geometry checks and screenshots shared by the windows' layout tests.

#include <gtest/gtest.h>

#include <QApplication>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QWidget>
#include <string>

namespace ombrel::gui_test {

inline QRect inWindow(const QWidget* control, const QWidget* window) {
  return QRect(control->mapTo(window, QPoint(0, 0)), control->size());
}

inline bool isAncestor(const QWidget* ancestor, const QWidget* widget) {
  for (const QWidget* w = widget->parentWidget(); w != nullptr; w = w->parentWidget()) {
    if (w == ancestor) return true;
  }
  return false;
}

// With OMBREL_SCREENSHOT_DIR set, saves the window there under `name`: what
// the X server shows when running on one, else what Qt paints.
inline void saveScreenshot(QWidget& window, const std::string& name) {
  const QByteArray dir = qgetenv("OMBREL_SCREENSHOT_DIR");
  if (dir.isEmpty()) return;
  QPixmap shot;
  if (QGuiApplication::platformName() == "xcb") {
    QApplication::sync();
    shot = window.screen()->grabWindow(0, window.frameGeometry().x(), window.frameGeometry().y(),
                                       window.frameGeometry().width(), window.frameGeometry().height());
  } else {
    shot = window.grab();
  }
  ASSERT_TRUE(shot.save(QString::fromUtf8(dir) + "/" + QString::fromStdString(name)));
}

}  // namespace ombrel::gui_test
