#pragma once

// The controls of the main window, under the names the language files use.

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTimer>
#include <array>
#include <vector>

#include "app/drop_down_combo_box.h"
#include "app/usb_printer_list.h"

namespace ombrel::app {

struct MainControls {
  QGroupBox* GroupBox1 = nullptr;
  // Serial, network, USB, parallel: the order of TranMode.
  std::array<QRadioButton*, 4> transportRadios{};
  DropDownComboBox* cbb_Comname = nullptr;
  QLabel* Label1 = nullptr;
  QComboBox* cbb_DevBauRate = nullptr;
  QLabel* Label4 = nullptr;
  QComboBox* cbb_TranBauRate = nullptr;
  QLabel* Label2 = nullptr;
  QComboBox* cbb_Check = nullptr;
  QLineEdit* edt_Ipaddress = nullptr;
  QLabel* Label3 = nullptr;
  QLineEdit* edt_Port = nullptr;
  UsbPrinterList* cbb_UsbDeviceList = nullptr;
  QComboBox* cbb_Lpt = nullptr;
  QLabel* lbl_language = nullptr;
  QComboBox* cbb_Language = nullptr;
  QLabel* lbl_TranMsg = nullptr;
  QPushButton* btn_Test = nullptr;
  QPushButton* btn_SetPara = nullptr;
  QPushButton* but_bootIn = nullptr;
  QPushButton* but_bootOut = nullptr;
  QStatusBar* StatusBar1 = nullptr;
  std::array<QLabel*, 2> statusPanels{};
  QLabel* replyNotice = nullptr;  // shown while the printer's replies go unchecked
  QPlainTextEdit* Memo1 = nullptr;
  QTimer* Timer1 = nullptr;  // the window sets its interval
};

// Creates the controls in their initial state inside `window`, laid out, and
// lists the visual ones in `captionControls` in creation order.
MainControls createMainControls(QMainWindow& window, std::vector<QWidget*>& captionControls);

}  // namespace ombrel::app
