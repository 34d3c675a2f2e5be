// The main window without a printer: its controls, the port list, the
// language list, MainDefault at start-up and the rate boxes.

#include <QTest>

#include "app/app_texts.h"
#include "gui/main_window_fixture.h"

namespace ombrel::gui_test {
namespace {

std::string text(const QWidget* widget) {
  if (auto* label = qobject_cast<const QLabel*>(widget)) return label->text().toStdString();
  if (auto* button = qobject_cast<const QAbstractButton*>(widget)) return button->text().toStdString();
  if (auto* group = qobject_cast<const QGroupBox*>(widget)) return group->title().toStdString();
  if (auto* edit = qobject_cast<const QLineEdit*>(widget)) return edit->text().toStdString();
  if (auto* list = qobject_cast<const QComboBox*>(widget)) return list->currentText().toStdString();
  return {};
}

std::string named(const QWidget& window, const char* name) {
  const auto* widget = window.findChild<QWidget*>(QString::fromLatin1(name));
  return widget == nullptr ? "<missing>" : text(widget);
}

TEST_F(MainWindowTest, StartsWithTheControlsOfTheWindowDefinition) {
  auto& window = start();
  EXPECT_EQ(window.windowTitle().toStdString(), "Ombrel Setting Tool V1.0");
  const std::vector<std::pair<const char*, std::string>> expected = {{"GroupBox1", "选择通讯端口"},
                                                                     {"RadioButton1", "串口"},
                                                                     {"RadioButton2", "网口"},
                                                                     {"RadioButton3", "USB"},
                                                                     {"RadioButton4", "并口"},
                                                                     {"cbb_Comname", "/dev/ttyUSB0"},
                                                                     {"Label1", "波特率"},
                                                                     {"cbb_DevBauRate", "9600"},
                                                                     {"Label4", "->"},
                                                                     {"cbb_TranBauRate", "115200"},
                                                                     {"Label2", "校验"},
                                                                     {"cbb_Check", "NONE"},
                                                                     {"edt_Ipaddress", "192.168.1.87"},
                                                                     {"Label3", "端口"},
                                                                     {"edt_Port", "5100"},
                                                                     {"cbb_UsbDeviceList", ""},
                                                                     {"cbb_Lpt", ""},
                                                                     {"lbl_language", "选择语言"},
                                                                     {"cbb_Language", "中文"},
                                                                     {"lbl_TranMsg", "当前选择串口"},
                                                                     {"btn_Test", "测试通讯"},
                                                                     {"btn_SetPara", "设置参数"},
                                                                     {"but_bootIn", "进入BOOT模式"},
                                                                     {"but_bootOut", "退出BOOT模式"},
                                                                     {"StatusBar1", ""},
                                                                     {"Memo1", ""}};
  for (const auto& [name, caption] : expected) EXPECT_EQ(named(window, name), caption) << name;

  EXPECT_TRUE(ui().transportRadios[0]->isChecked());
  EXPECT_FALSE(ui().transportRadios[3]->isEnabled());
  EXPECT_EQ(ui().cbb_DevBauRate->currentIndex(), 3);
  EXPECT_EQ(ui().cbb_TranBauRate->currentIndex(), 7);
  EXPECT_EQ(ui().cbb_DevBauRate->count(), 9);
  EXPECT_EQ(ui().cbb_Language->count(), 2);
  EXPECT_TRUE(ui().lbl_TranMsg->font().bold());
  EXPECT_TRUE(ui().Memo1->isHidden());
  const auto* timer = window.findChild<QTimer*>("Timer1");
  ASSERT_NE(timer, nullptr);
  EXPECT_FALSE(timer->isActive());
  EXPECT_EQ(ui().statusPanels[0]->minimumWidth(), 150);
  EXPECT_EQ(ui().statusPanels[1]->width(), 50);
  EXPECT_FALSE(window.connected());
}

TEST_F(MainWindowTest, WithoutSerialPortsTheListOffersCom1ToCom30AndSelectsNone) {
  start(20, [] { return std::vector<std::string>{}; });
  ASSERT_EQ(ui().cbb_Comname->count(), 30);
  EXPECT_EQ(ui().cbb_Comname->itemText(0).toStdString(), "COM1");
  EXPECT_EQ(ui().cbb_Comname->itemText(29).toStdString(), "COM30");
  EXPECT_EQ(ui().cbb_Comname->currentIndex(), -1);
}

TEST_F(MainWindowTest, TheSerialListLooksAgainWhenItDropsDown) {
  std::vector<std::string> present{"/dev/ttyS0"};
  start(20, [&present] { return present; });
  present = {"/dev/ttyUSB3", "/dev/serial/by-id/usb-FTDI-port0"};
  ui().cbb_Comname->showPopup();
  ui().cbb_Comname->hidePopup();
  ASSERT_EQ(ui().cbb_Comname->count(), 2);
  EXPECT_EQ(ui().cbb_Comname->currentText().toStdString(), "/dev/ttyUSB3");
}

TEST_F(MainWindowTest, StoredUsbLinkAndEnglishAreShownAtStart) {
  installLanguageFiles();
  writeSettings("[MainDefault]\nIP Address=10.1.2.3\nLanguage=1\nTranMode=2\n");
  auto& window = start();
  EXPECT_TRUE(ui().transportRadios[2]->isChecked());
  EXPECT_EQ(ui().lbl_TranMsg->text().toStdString(), "USB selected");
  EXPECT_EQ(ui().edt_Ipaddress->text().toStdString(), "10.1.2.3");
  EXPECT_EQ(ui().cbb_Language->currentIndex(), 1);
  EXPECT_EQ(ui().btn_Test->text().toStdString(), "Test link");
  EXPECT_EQ(window.windowTitle().toStdString(), "Ombrel Setting Tool V1.0");
  // Showing the window reads the file; it writes nothing.
  EXPECT_EQ(settings(), "[MainDefault]\nIP Address=10.1.2.3\nLanguage=1\nTranMode=2\n");
}

TEST_F(MainWindowTest, TheRememberedLinkComesBackWhilePresent) {
  writeSettings(
      "[MainDefault]\nComName=/dev/ttyUSB1\nDevBaudRate=19200\nTranBaudRate=14400\nUsbDevice=VID_0FE6&PID_811E\n");
  start(20, [] { return std::vector<std::string>{"/dev/ttyUSB0", "/dev/ttyUSB1"}; });
  EXPECT_EQ(ui().cbb_Comname->currentText().toStdString(), "/dev/ttyUSB1");
  EXPECT_EQ(ui().cbb_DevBauRate->currentText().toStdString(), "19200");
  EXPECT_EQ(ui().cbb_TranBauRate->currentText().toStdString(), "14400");
  EXPECT_NE(ui().cbb_UsbDeviceList->currentText().toStdString(), "VID_0FE6&PID_811E") << "no such printer now";
}

TEST_F(MainWindowTest, UnknownTranModeKeepsTheSerialLink) {
  writeSettings("[MainDefault]\nTranMode=9\n");
  start();
  EXPECT_TRUE(ui().transportRadios[0]->isChecked());
  EXPECT_EQ(ui().lbl_TranMsg->text().toStdString(), "当前选择串口");
}

TEST_F(MainWindowTest, LanguageSwitchChangesCaptionsAndTheTransportText) {
  installLanguageFiles();
  start();
  ui().transportRadios[1]->click();
  EXPECT_EQ(ui().lbl_TranMsg->text().toStdString(), "当前选择以太网");

  QTest::keyClick(ui().cbb_Language, Qt::Key_Down);
  EXPECT_EQ(ui().cbb_Language->currentIndex(), 1);
  EXPECT_EQ(ui().btn_Test->text().toStdString(), "Test link");
  EXPECT_EQ(ui().GroupBox1->title().toStdString(), "Communication port");
  EXPECT_EQ(ui().lbl_TranMsg->text().toStdString(), "Ethernet selected");
  EXPECT_EQ(para_->windowTitle().toStdString(), "Ombrel Setting Tool");
  // Boxes whose text is a value keep it.
  EXPECT_EQ(ui().edt_Port->text().toStdString(), "5100");
  EXPECT_EQ(ui().cbb_DevBauRate->currentText().toStdString(), "9600");

  QTest::keyClick(ui().cbb_Language, Qt::Key_Up);
  EXPECT_EQ(ui().btn_Test->text().toStdString(), "测试通讯");
  EXPECT_EQ(ui().lbl_TranMsg->text().toStdString(), "当前选择以太网");
}

TEST_F(MainWindowTest, RateBoxesTakeDigitsOnlyAndRefuseAnEmptyRate) {
  start();
  QLineEdit* rate = ui().cbb_DevBauRate->lineEdit();
  rate->clear();
  QTest::keyClicks(rate, "19x2a00");
  EXPECT_EQ(rate->text().toStdString(), "19200");

  rate->clear();
  ui().btn_Test->click();
  EXPECT_EQ(boxes_.shown(), std::vector<std::string>{"warning: " + app::notWholeNumberText(0, "波特率", "")});
  EXPECT_FALSE(window_->engine().isBusy());
  ui().btn_SetPara->click();
  ui().but_bootIn->click();
  EXPECT_EQ(boxes_.shown().size(), 3u);
  EXPECT_FALSE(ui().Timer1->isActive());
  EXPECT_TRUE(ui().btn_Test->isEnabled());
  EXPECT_TRUE(para_->isHidden());
}

TEST_F(MainWindowTest, ParallelLinkFailsTheLinkTestPlainly) {
  writeSettings("[MainDefault]\nTranMode=3\n");
  start();
  EXPECT_TRUE(ui().transportRadios[3]->isChecked());
  EXPECT_EQ(ui().lbl_TranMsg->text().toStdString(), "当前选择并口");
  ui().btn_Test->click();
  ASSERT_TRUE(waitFor([&] { return !boxes_.shown().empty(); }));
  EXPECT_EQ(boxes_.shown(), std::vector<std::string>{"error: 通讯失败，请选择正确的端口和波特率"});
  EXPECT_EQ(status(), "Connecting Failed");
}

TEST_F(MainWindowTest, IdleBytesBecomeLinesOfTheHiddenMemo) {
  start();
  window_->showIdleData({'A', 'B', '\r', '\n', 'C'});
  window_->showIdleData({'D', '\n'});
  EXPECT_EQ(ui().Memo1->toPlainText().toStdString(), "AB\nC\nD");
}

TEST_F(MainWindowTest, UsbListKeepsTheChosenPrinterWhileItIsPresentAtItsPort) {
  start();
  app::UsbPrinterList* list = ui().cbb_UsbDeviceList;
  const UsbDeviceName a{"VID_0483&PID_811E", "1-1"}, b{"VID_0483&PID_811E", "1-2"}, c{"VID_1234&PID_811E", "1-3"};
  window_->usbDevicesChanged({a, b});
  EXPECT_EQ(list->itemText(1).toStdString(), "VID_0483&PID_811E");
  EXPECT_EQ(list->currentPrinter(), a);
  list->setCurrentIndex(1);
  window_->usbDevicesChanged({c, a, b});
  EXPECT_EQ(list->currentPrinter(), b);
  // The chosen printer left: its twin at another port is not taken for it,
  // nothing is chosen until the operator picks one.
  window_->usbDevicesChanged({c, a});
  EXPECT_EQ(list->currentIndex(), -1);
  window_->usbDevicesChanged({c, a, b});
  EXPECT_EQ(list->currentIndex(), -1);
  window_->usbDevicesChanged({});
  EXPECT_EQ(list->count(), 0);
}

TEST_F(MainWindowTest, TheStoredUsbPrinterIsChosenAtItsPortOnceListed) {
  writeSettings("[MainDefault]\nTranMode=2\nUsbDevice=VID_0483&PID_811E@1-2\n");
  start();
  window_->usbDevicesChanged({{"VID_0483&PID_811E", "1-1"}, {"VID_0483&PID_811E", "1-2"}});
  EXPECT_EQ(ui().cbb_UsbDeviceList->currentIndex(), 1);
  // The production line may name a printer by its port.
  EXPECT_TRUE(window_->useUsbPrinter("VID_0483&PID_811E@1-1"));
  EXPECT_EQ(window_->linkSettings().usbDevice, "VID_0483&PID_811E@1-1");
}

TEST_F(MainWindowTest, TheNewPrinterRateIsUsedByLaterTasks) {
  start();
  window_->devBaudChanged(115200);
  EXPECT_EQ(ui().cbb_DevBauRate->currentIndex(), 7);
  window_->devBaudChanged(14400);
  EXPECT_EQ(ui().cbb_DevBauRate->currentText().toStdString(), "14400");
  EXPECT_EQ(window_->linkSettings().devBaud, 14400);
}

}  // namespace
}  // namespace ombrel::gui_test
