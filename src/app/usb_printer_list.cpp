#include "app/usb_printer_list.h"

#include <QHeaderView>
#include <QStylePainter>
#include <QTableView>

namespace ombrel::app {

UsbPrinterList::UsbPrinterList(QWidget* parent) : QComboBox(parent), model_(new QStandardItemModel(0, 2, this)) {
  setModel(model_);
  auto* view = new QTableView(this);
  view->horizontalHeader()->hide();
  view->horizontalHeader()->setStretchLastSection(true);
  view->verticalHeader()->hide();
  view->setSelectionBehavior(QAbstractItemView::SelectRows);
  view->setShowGrid(false);
  view->setWordWrap(false);
  setView(view);
}

void UsbPrinterList::setPrinters(const std::vector<UsbDeviceName>& printers) {
  clear();
  for (const auto& printer : printers) {
    model_->appendRow({new QStandardItem(QString::fromStdString(printer.identity)),
                       new QStandardItem(QString::fromStdString(printer.port))});
  }
  setCurrentIndex(-1);
  auto* table = static_cast<QTableView*>(view());
  table->resizeColumnToContents(0);
  table->resizeRowsToContents();
}

std::vector<UsbDeviceName> UsbPrinterList::printers() const {
  std::vector<UsbDeviceName> printers;
  for (int row = 0; row < count(); ++row) printers.push_back({itemText(row).toStdString(), portAt(row).toStdString()});
  return printers;
}

std::optional<UsbDeviceName> UsbPrinterList::currentPrinter() const {
  const int row = currentIndex();
  if (row < 0) return std::nullopt;
  return UsbDeviceName{itemText(row).toStdString(), portAt(row).toStdString()};
}

QString UsbPrinterList::portAt(int row) const {
  const QStandardItem* item = model_->item(row, kPortColumn);
  return item == nullptr ? QString() : item->text();
}

void UsbPrinterList::paintEvent(QPaintEvent*) {
  // As QComboBox paints itself, with the chosen printer's port after its identity.
  QStylePainter painter(this);
  QStyleOptionComboBox option;
  initStyleOption(&option);
  const QString port = portAt(currentIndex());
  if (!port.isEmpty()) option.currentText = QStringLiteral("%1    %2").arg(option.currentText, port);
  painter.drawComplexControl(QStyle::CC_ComboBox, option);
  painter.drawControl(QStyle::CE_ComboBoxLabel, option);
}

}  // namespace ombrel::app
