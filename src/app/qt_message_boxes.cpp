#include "app/qt_message_boxes.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QStringList>

#include "app/app_identity.h"

namespace ombrel::app {

namespace {
void show(QMessageBox::Icon icon, const std::string& text) {
  QMessageBox box(icon, messageBoxTitle(), QString::fromStdString(text), QMessageBox::Ok, QApplication::activeWindow());
  box.exec();
}
}  // namespace

void QtMessageBoxes::information(const std::string& text) { show(QMessageBox::Information, text); }
void QtMessageBoxes::warning(const std::string& text) { show(QMessageBox::Warning, text); }
void QtMessageBoxes::error(const std::string& text) { show(QMessageBox::Critical, text); }

bool QtMessageBoxes::question(const std::string& text) {
  QMessageBox box(QMessageBox::Question, messageBoxTitle(), QString::fromStdString(text),
                  QMessageBox::Yes | QMessageBox::No, QApplication::activeWindow());
  box.setDefaultButton(QMessageBox::No);
  return box.exec() == QMessageBox::Yes;
}

std::optional<std::string> QtMessageBoxes::openFile(const std::string& title, const std::string& filter) {
  const QString filters = qtFileFilter(filter);
  QString chosenFilter = filters.section(QStringLiteral(";;"), 0, 0);
  const QString path = QFileDialog::getOpenFileName(QApplication::activeWindow(), QString::fromStdString(title),
                                                    QString(), filters, &chosenFilter);
  if (path.isEmpty()) return std::nullopt;
  return path.toStdString();
}

std::optional<std::string> QtMessageBoxes::saveFile(const std::string& filter) {
  const QString filters = qtFileFilter(filter);
  QString chosenFilter = filters.section(QStringLiteral(";;"), 0, 0);
  const QString path =
      QFileDialog::getSaveFileName(QApplication::activeWindow(), QString(), QString(), filters, &chosenFilter);
  if (path.isEmpty()) return std::nullopt;
  return path.toStdString();
}

QString qtFileFilter(const std::string& filter) {
  const QStringList parts = QString::fromStdString(filter).split(QLatin1Char('|'));
  QStringList entries;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QString patterns = parts[i + 1];
    patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
    entries << parts[i] + QStringLiteral(" (") + patterns + QLatin1Char(')');
  }
  return entries.join(QStringLiteral(";;"));
}

}  // namespace ombrel::app
