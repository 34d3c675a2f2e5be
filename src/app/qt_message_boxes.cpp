#include "app/qt_message_boxes.h"

#include <QApplication>
#include <QMessageBox>

namespace ombrel::app {

namespace {
void show(QMessageBox::Icon icon, const std::string& text) {
  QMessageBox box(icon, QApplication::applicationDisplayName(), QString::fromStdString(text),
                  QMessageBox::Ok, QApplication::activeWindow());
  box.exec();
}
}  // namespace

void QtMessageBoxes::information(const std::string& text) { show(QMessageBox::Information, text); }
void QtMessageBoxes::warning(const std::string& text) { show(QMessageBox::Warning, text); }
void QtMessageBoxes::error(const std::string& text) { show(QMessageBox::Critical, text); }

}  // namespace ombrel::app
