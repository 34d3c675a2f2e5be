#pragma once

// Geometry checks and screenshots shared by the windows' layout tests.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPixmap>
#include <QScreen>
#include <QWidget>
#include <string>
#include <vector>

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

// A control as a failure names it: its name, else an option's caption, else its class.
inline std::string describe(const QWidget* widget) {
  if (!widget->objectName().isEmpty()) return widget->objectName().toStdString();
  if (auto* button = qobject_cast<const QAbstractButton*>(widget)) return "option " + button->text().toStdString();
  return widget->metaObject()->className();
}

// Each control inside `window`, whole, and covering no other. Captions need
// their full size, and so do lists when `wholeLists`; other boxes their smallest.
inline void expectWhole(const std::vector<QWidget*>& controls, const QWidget* window, bool wholeLists) {
  const QRect area = window->rect();
  for (std::size_t i = 0; i < controls.size(); ++i) {
    const QWidget* control = controls[i];
    const QRect rect = inWindow(control, window);
    EXPECT_TRUE(area.contains(rect)) << describe(control) << " leaves the window";
    const bool whole = qobject_cast<const QLabel*>(control) || qobject_cast<const QAbstractButton*>(control) ||
                       (wholeLists && qobject_cast<const QComboBox*>(control));
    const QSize needed = whole ? control->sizeHint() : control->minimumSizeHint();
    EXPECT_GE(rect.width(), needed.width()) << describe(control) << " is cut off";
    EXPECT_GE(rect.height(), needed.height()) << describe(control) << " is cut off";
    for (std::size_t j = i + 1; j < controls.size(); ++j) {
      const QWidget* other = controls[j];
      if (isAncestor(control, other) || isAncestor(other, control)) continue;
      EXPECT_FALSE(rect.intersects(inWindow(other, window))) << describe(control) << " overlaps " << describe(other);
    }
  }
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
