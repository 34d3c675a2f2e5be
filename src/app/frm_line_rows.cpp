// The production line window's table, one row per printer, and the large
// mark and the counts of the latest printers.

#include <QHeaderView>

#include "app/app_texts.h"
#include "app/frm_line.h"
#include "app/frm_main.h"
#include "app/frm_para.h"
#include "commands/printer_rows.h"
#include "commands/rows_report.h"
#include "platform/file_replace.h"

namespace ombrel::app {

namespace {

constexpr int kEnglish = 1;
const QColor kPassedRow(0xe3, 0xf4, 0xe4);
const QColor kFailedRow(0xfb, 0xe3, 0xe3);
constexpr int kTimeStart = 11;  // "2026-12-08T21:14:14.123+0100": the time of day
constexpr int kTimeLength = 8;
constexpr const char* kUsbPrefix = "usb:";
constexpr const char* kRowsFilter = "CSV(*.csv)|*.csv";

QString shownText(const std::string& text) { return QString::fromStdString(text); }

QString exportingText(int language) {
  return language == kEnglish ? QStringLiteral("Exporting the day's rows…") : QStringLiteral("正在导出当天的记录…");
}

}  // namespace

void TFrmLine::btn_LineExportClick() {
  const auto path = mainWindow_.messageBoxes().saveFile(kRowsFilter);
  if (!path) return;
  // Reading the rows (from a server that may be slow to answer) and writing
  // the file hold up the worker, never the window.
  exportButton_->setEnabled(false);
  const QString exporting = exportingText(language());
  showState(exporting);
  background_.run(
      [settingsPath = mainWindow_.appDir() + "sysconfig.ini", logPath = provisioningLogPath(mainWindow_.appDir()),
       day = dayOf(localTimestamp()), path = *path]() -> std::optional<std::string> {
        try {
          replaceFileWith(path, printerRowsCsv(rowsOfDay(rowsSourceOf(settingsPath, logPath), day)));
        } catch (const std::exception& error) {
          return error.what();
        }
        return std::nullopt;
      },
      [this, exporting](const std::optional<std::string>& failure) {
        exportButton_->setEnabled(true);
        if (state_->text() == exporting) showState(QString());
        if (failure) mainWindow_.messageBoxes().warning(*failure);
      });
}

void TFrmLine::showDayRows() {
  table_->setRowCount(0);
  done_ = 0;
  failed_ = 0;
  passMark_->hide();
  failMark_->hide();
  for (const PrinterRow& row : printerRowsOfDay(provisioningLogPath(mainWindow_.appDir()), dayOf(localTimestamp()))) {
    showRow(addRow(), row);
    showOutcome(row);
  }
}

int TFrmLine::addRow() {
  const int row = table_->rowCount();
  table_->insertRow(row);
  return row;
}

int TFrmLine::actionColumn(const std::string& action) {
  const auto found = std::find(columns_.begin(), columns_.end(), action);
  if (found != columns_.end()) return static_cast<int>(found - columns_.begin());
  // A new action goes before the seconds and the result.
  const int column = static_cast<int>(columns_.size()) - 2;
  columns_.insert(columns_.begin() + column, action);
  table_->insertColumn(column);
  showHeaders();
  return column;
}

void TFrmLine::showHeaders() {
  QStringList captions;
  for (const std::string& column : columns_) {
    const auto fixed = headers_.find(column);
    captions << (fixed != headers_.end() ? shownText(fixed->second) : actionCaption(column));
  }
  table_->setHorizontalHeaderLabels(captions);
  for (int column = 0; column < table_->columnCount(); ++column) {
    table_->horizontalHeaderItem(column)->setToolTip(captions[column]);
  }
}

std::string TFrmLine::endText(const PrinterRow& printer) const {
  switch (printer.end) {
    case PrinterRow::End::Removed:
      return removedDuringRecipeText(language());
    case PrinterRow::End::Stopped:
      return stoppedText(language());
    case PrinterRow::End::NotMatched:
      return notMatchedText(language());
    case PrinterRow::End::Running:
    case PrinterRow::End::Passed:
    case PrinterRow::End::Failed:
    case PrinterRow::End::Refused:
      break;
  }
  return printer.text;
}

void TFrmLine::showRow(int row, const PrinterRow& printer) {
  const auto put = [&](int column, const QString& text) {
    auto* item = new QTableWidgetItem(text);
    item->setToolTip(text);
    if (printer.end != PrinterRow::End::Running) item->setBackground(printer.passed() ? kPassedRow : kFailedRow);
    table_->setItem(row, column, item);
  };
  const std::string& link = printer.link;
  const bool usb = link.rfind(kUsbPrefix, 0) == 0;
  for (const RecipeStep& step : printer.steps) actionColumn(step.action);
  for (int column = 0; column < table_->columnCount(); ++column) put(column, QString());
  put(0, shownText(printer.time.substr(kTimeStart, kTimeLength)));
  put(1, shownText(usb ? link.substr(std::string(kUsbPrefix).size()) : link));
  put(2, printer.port.empty() ? QString() : portText(printer.port));
  put(3, shownText(printer.printerIdentity));
  put(4, shownText(printer.serialNumber));
  for (const RecipeStep& step : printer.steps) {
    QString text;
    switch (step.result) {
      case RecipeStep::Result::NotRun:
        break;
      case RecipeStep::Result::Passed:
        text = QStringLiteral("✓");
        break;
      case RecipeStep::Result::Removed:
        text = QStringLiteral("✗ ") + shownText(removedDuringRecipeText(language()));
        break;
      case RecipeStep::Result::Failed:
      case RecipeStep::Result::Refused:
        text = QStringLiteral("✗ ") + shownText(step.text);
        break;
    }
    put(actionColumn(step.action), text);
  }
  const int columns = static_cast<int>(columns_.size());
  if (printer.end == PrinterRow::End::Running) return;
  put(columns - 2, QString::number(printer.seconds, 'f', 1));
  const QString mark = printer.passed() ? passMark_->text() : failMark_->text();
  put(columns - 1, printer.passed() ? mark : mark + QStringLiteral(": ") + shownText(endText(printer)));
  table_->scrollToItem(table_->item(row, 0));
}

void TFrmLine::showOutcome(const PrinterRow& printer) {
  (printer.passed() ? done_ : failed_) += 1;
  passMark_->setVisible(printer.passed());
  failMark_->setVisible(!printer.passed());
  doneCount_->setNum(done_);
  failedCount_->setNum(failed_);
}

}  // namespace ombrel::app
