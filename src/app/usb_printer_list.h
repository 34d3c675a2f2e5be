#pragma once

#include <QComboBox>
#include <QStandardItemModel>
#include <optional>
#include <vector>

#include "platform/usb_device_name.h"

namespace ombrel::app {

// The list of present USB printers. Each item's text is the printer's
// identity; the port it is plugged in at stands beside it, in a second
// column of the dropped-down list and after the identity in the closed box,
// so that identical printers are told apart.
class UsbPrinterList final : public QComboBox {
 public:
  explicit UsbPrinterList(QWidget* parent);

  // Shows `printers` in their order, none of them chosen.
  void setPrinters(const std::vector<UsbDeviceName>& printers);
  std::vector<UsbDeviceName> printers() const;
  std::optional<UsbDeviceName> currentPrinter() const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  static constexpr int kPortColumn = 1;

  QString portAt(int row) const;

  QStandardItemModel* model_;
};

}  // namespace ombrel::app
