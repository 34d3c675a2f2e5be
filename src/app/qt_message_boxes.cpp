#include "app/qt_message_boxes.h"

#include <QApplication>
#include <QMessageBox>

#include "app/app_identity.h"

namespace ombrel::app {

namespace {
void show(QMessageBox::Icon icon, const std::string& text) {
  QMessageBox box(icon, messageBoxTitle(), QString::fromStdString(text),
                  QMessageBox::Ok, QApplication::activeWindow());
  box.exec();
}
}  // namespace

void QtMessageBoxes::information(const std::string& text) { show(QMessageBox::Information, text); }
void QtMessageBoxes::warning(const std::string& text) { show(QMessageBox::Warning, text); }
void QtMessageBoxes::error(const std::string& text) { show(QMessageBox::Critical, text); }

}  // namespace ombrel::app
