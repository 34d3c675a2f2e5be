// The parameters window without actions: its controls as the layout gives
// them, loading on show and saving on close, the status handler, and the
// controls that follow the operator's choices and keys.

#include <QButtonGroup>
#include <QStackedWidget>
#include <map>

#include "gui/para_window_fixture.h"
#include "texts/ini_file.h"
#include "settings/para_control_state.h"
#include "settings/para_settings.h"

namespace ombrel::gui_test {
namespace {

using test_support::VirtualPrinter;

using ParaWindow = ParaWindowTest;

TEST_F(ParaWindow, StartsWithEveryControlOfTheLayoutInItsInitialState) {
  start();
  EXPECT_EQ(para_->windowTitle().toStdString(), "Ombrel Setting Tool");
  const std::vector<std::string> tabTexts = {"基础设置", "蓝牙设置", "WIFI设置", "网络设置",
                                             "红外设置", "程序下载", "产品设置"};
  ASSERT_EQ(tabs()->count(), 7);
  for (int i = 0; i < 7; ++i) EXPECT_EQ(tabs()->tabText(i).toStdString(), tabTexts[static_cast<std::size_t>(i)]);

  // The command line's in-memory controls start from the same layout.
  const ParaControlState layout;
  for (const auto& entry : paraLayout()) {
    SCOPED_TRACE(entry.name);
    EXPECT_TRUE(entry.enabled || !control<QWidget>(entry.name.c_str())->isEnabled());
    switch (entry.kind) {
      case ControlKind::Edit:
        EXPECT_EQ(controls().text(entry.name), layout.text(entry.name));
        if (const auto* box = qobject_cast<QLineEdit*>(control<QWidget>(entry.name.c_str()))) {
          EXPECT_EQ(box->echoMode() == QLineEdit::Password, entry.typing == Typing::Password);
          EXPECT_EQ(box->isReadOnly(), entry.readOnly);
        }
        break;
      case ControlKind::List:
        EXPECT_EQ(controls().text(entry.name), layout.text(entry.name));
        EXPECT_EQ(controls().items(entry.name), layout.items(entry.name));
        EXPECT_EQ(controls().index(entry.name), layout.index(entry.name));
        break;
      case ControlKind::RadioGroup:
        EXPECT_EQ(controls().items(entry.name), layout.items(entry.name));
        EXPECT_EQ(controls().index(entry.name), layout.index(entry.name));
        break;
      case ControlKind::Radio:
      case ControlKind::Check:
        EXPECT_EQ(controls().checked(entry.name), layout.checked(entry.name));
        break;
      case ControlKind::Button:
        EXPECT_FALSE(control<QWidget>(entry.name.c_str())->isHidden());
        break;
    }
  }

  EXPECT_EQ(para_->statusPanel(0)->minimumWidth(), 250);

  // The basic, Bluetooth, WiFi, network, device, infrared and black-mark
  // settings, the program update, the font library and the logos act; the buttons of the other settings
  // wait for theirs, and two black-mark buttons have none.
  for (const char* acting : {"btn_SetBauRate",      "btn_flowcontrol",      "btn_SetCodepage",
                             "btn_SetForcepaper",   "btn_SetpoweroffTime",  "btn_SetAllPara",
                             "btn_SetReset",        "btn_SetUsbDeviceType", "btn_SetPaperType",
                             "btn_SetPrinterOrder", "btn_SetRptTime",       "btn_SetlyPara",
                             "btn_SendLYTxt",       "btn_lyWorkMode",       "btn_bluetooth",
                             "btn_SetWifiPara",     "btn_SetIpPara",        "btn_NetWorkSetIP",
                             "btn_Subnetmask",      "btn_gatewayt",         "btn_netgatewayt",
                             "btn_Netport",         "btn_OpenPrg",          "btn_UpdatePrg",
                             "bt_firmware",         "btn_SetDevicePara",    "btn_SetInfraredPara",
                             "bt_Set_black_mode",   "bt_Cance_black_mark",  "But_Black_look_dis_set",
                             "bt_Black_width_set",  "bt_printer_opto_set",  "bt_Lookup_black_mark",
                             "btn_OpenFont",        "btn_UpdateFont",       "btn_ReadFont",
                             "btn_OpenLogo",        "btn_DeleteLogo",       "btn_DownLogo",
                             "btn_PrintLogo"}) {
    EXPECT_TRUE(control<QPushButton>(acting)->isEnabled()) << acting;
  }
  for (const char* waiting : {"bt_cutter_optocoupler_set", "bt_Cutting_paper"}) {
    EXPECT_FALSE(control<QPushButton>(waiting)->isEnabled()) << waiting;
  }
}

TEST_F(ParaWindow, ShowingLoadsTheStoredSettings) {
  writeSettings(
      "[ParaDefault]\nDark=高浓度\nIpType=0\nBlueToolthMode=7\nWifiCheckMode=1\nInfraredType=0\n"
      "Updatafirmware=0\nBaudRate=14400\nWifiSEEK=0\nDeviceSerialNo=42\ncalculate=0\nsleepTime=1234\n");
  start();
  tabs()->setCurrentIndex(3);
  para_->statusPanel(0)->setText("old");
  showPara();

  EXPECT_EQ(tabs()->currentIndex(), 0);
  EXPECT_EQ(paraStatus(), "");
  EXPECT_EQ(controls().index("cbb_Dark"), 3);
  EXPECT_EQ(controls().text("cbb_Dark"), "高浓度");
  EXPECT_EQ(controls().index("rg_lyMode"), 2);
  EXPECT_EQ(controls().index("cbb_BauRate"), -1);
  EXPECT_EQ(controls().text("cbb_BauRate"), "");
  EXPECT_EQ(controls().text("edt_sleepTime"), "1234");
  EXPECT_EQ(controls().text("edt_DeviceSerialNo"), "42");
  EXPECT_TRUE(controls().checked("rb_Minus"));
  // Dynamic address: the address boxes are off, the port stays.
  EXPECT_TRUE(controls().checked("rb_AutoIp"));
  EXPECT_FALSE(control<QWidget>("edt_IPaddress")->isEnabled());
  EXPECT_FALSE(control<QWidget>("edt_Gateway")->isEnabled());
  EXPECT_TRUE(control<QWidget>("edt_Port")->isEnabled());
  // Shared authentication: its cipher group stands where rg_1 stood.
  EXPECT_FALSE(control<QWidget>("rg_2")->isHidden());
  EXPECT_TRUE(control<QWidget>("rg_1")->isHidden());
  EXPECT_TRUE(control<QWidget>("rg_3")->isHidden());
  EXPECT_FALSE(controls().checked("Chb_CloseWifi"));
  EXPECT_TRUE(control<QWidget>("RadioGroup1")->isEnabled());
  EXPECT_FALSE(control<QWidget>("cbb_InfraredBaurate")->isEnabled());
  EXPECT_FALSE(control<QWidget>("cbb_irdaProtecl")->isEnabled());
  EXPECT_FALSE(control<QWidget>("btn_UpdatePrg")->isHidden());
  EXPECT_TRUE(control<QWidget>("bt_firmware")->isHidden());
}

TEST_F(ParaWindow, WithoutAFileTheDefaultsShowAndNothingReachesThePrinter) {
  VirtualPrinter printer;
  openOn(printer);
  settle(std::chrono::milliseconds(300));

  EXPECT_EQ(controls().text("edt_sleepTime"), "600");
  EXPECT_EQ(controls().text("cbb_Dark"), "正常");
  EXPECT_EQ(controls().text("cbb_Flowcontrol"), "硬件流控");
  EXPECT_EQ(controls().text("Cbx_Bluetooth"), "取消蓝牙隐身");
  EXPECT_EQ(controls().text("edt_NetWorkPort"), "1345678");
  EXPECT_EQ(controls().text("edt_DeviceSerialNo"), "");
  EXPECT_TRUE(controls().checked("rb_Plus"));
  EXPECT_TRUE(control<QWidget>("btn_UpdatePrg")->isHidden());
  EXPECT_FALSE(control<QWidget>("bt_firmware")->isHidden());
  // The default WifiSEEK ticks the box and locks the key controls, but only
  // the operator's click switches the printer's WiFi.
  EXPECT_TRUE(controls().checked("Chb_CloseWifi"));
  for (const char* locked : {"RadioGroup1", "rg_1", "rg_2", "edt_NetworkPsw"}) {
    EXPECT_FALSE(control<QWidget>(locked)->isEnabled()) << locked;
  }
  EXPECT_TRUE(control<QWidget>("rg_3")->isEnabled());
  EXPECT_TRUE(control<QWidget>("edt_NetworkName")->isEnabled());
  EXPECT_FALSE(window_->engine().isBusy());
  EXPECT_TRUE(printer.received().empty());

  closePara();
  EXPECT_TRUE(window_->isVisible());
  EXPECT_FALSE(window_->connected());
  const IniFile saved(dir_ / "sysconfig.ini");
  std::vector<std::string> savedKeys;
  for (const auto& key : paraKeys()) {
    if (key.saved) savedKeys.emplace_back(key.key);
  }
  ASSERT_EQ(savedKeys.size(), 55u);
  EXPECT_EQ(saved.keys(kParaSection), savedKeys);
  EXPECT_EQ(saved.readString(kParaSection, "WifiSEEK", ""), "1");
  EXPECT_EQ(saved.readString(kParaSection, "sleepTime", ""), "600");
  EXPECT_TRUE(printer.received().empty());
}

TEST_F(ParaWindow, ClosingSavesTheChoicesAndGivesTheEngineMessagesBack) {
  VirtualPrinter printer;
  openOn(printer);
  ASSERT_TRUE(window_->engine().StartTask(6, 0, 0));
  waitUntilIdle();
  EXPECT_EQ(paraStatus(), "设置代码页成功");
  EXPECT_EQ(status(), "");

  controls().setIndex("cbb_Dark", 0);
  controls().setIndex("cbb_Flowcontrol", 0);
  controls().setText("edt_lyName", "Printer-7");
  closePara();
  para_->statusPanel(0)->clear();
  ASSERT_TRUE(window_->engine().StartTask(6, 0, 0));
  waitUntilIdle();
  EXPECT_EQ(status(), "设置代码页成功");
  EXPECT_EQ(paraStatus(), "");

  const IniFile saved(dir_ / "sysconfig.ini");
  EXPECT_EQ(saved.readString(kParaSection, "Dark", ""), "微淡");
  EXPECT_EQ(saved.readString(kParaSection, "BlueToolthName", ""), "Printer-7");
  // The flow control choice is read, never written.
  EXPECT_EQ(saved.readString(kParaSection, "Flowcontrol", "<none>"), "<none>");
  showPara();
  EXPECT_EQ(controls().text("cbb_Dark"), "微淡");
  EXPECT_EQ(controls().text("cbb_Flowcontrol"), "硬件流控");
  closePara();
}

TEST_F(ParaWindow, AnUnwritableSettingsFileIsReportedAndTheMainWindowComesBack) {
  start();
  std::filesystem::create_directory(dir_ / "sysconfig.ini");  // cannot be replaced by a file
  showPara();
  EXPECT_EQ(controls().text("edt_sleepTime"), "600");
  closePara();
  ASSERT_EQ(boxes_.shown().size(), 1u);
  EXPECT_EQ(boxes_.shown()[0].rfind("warning: Unable to write to ", 0), 0u) << boxes_.shown()[0];
  EXPECT_TRUE(para_->isHidden());
  EXPECT_TRUE(window_->isVisible());
  EXPECT_TRUE(ui().btn_SetPara->isEnabled());
}

TEST_F(ParaWindow, ADeviceWriteThePrinterTookStepsTheSerialNumberAndSavesItAtOnce) {
  writeSettings("[ParaDefault]\nDeviceName=P\nDeviceSerialNo=1704269998\ncalculate=1\n");
  const auto saved = [&] { return IniFile(dir_ / "sysconfig.ini").readString("ParaDefault", "DeviceSerialNo", ""); };
  VirtualPrinter printer;
  openOn(printer);
  control<QPushButton>("btn_SetDevicePara")->click();
  waitUntilIdle();
  EXPECT_EQ(paraStatus(), "设置设备参数成功");
  EXPECT_EQ(controls().text("edt_DeviceSerialNo"), "1704269999");
  EXPECT_EQ(saved(), "1704269999");

  control<QRadioButton>("rb_Minus")->click();
  control<QPushButton>("btn_SetDevicePara")->click();
  waitUntilIdle();
  EXPECT_EQ(controls().text("edt_DeviceSerialNo"), "1704269998");

  // The success text alone steps nothing; nor does a write the printer did not answer.
  para_->engineMessage(kStatusChanged, 0, "设置设备参数成功");
  VirtualPrinter refusing({"--ignore", "133"});
  linkTo(refusing);
  control<QPushButton>("btn_SetDevicePara")->click();
  waitUntilIdle();
  EXPECT_NE(paraStatus(), "设置设备参数成功");
  EXPECT_EQ(controls().text("edt_DeviceSerialNo"), "1704269998");
  EXPECT_TRUE(boxes_.shown().empty());
}

TEST_F(ParaWindow, ASerialNumberBeyond32BitsIsReportedAndKept) {
  writeSettings("[ParaDefault]\nDeviceName=P\nDeviceSerialNo=5\ncalculate=1\n");
  VirtualPrinter printer;
  openOn(printer);
  control<QPushButton>("btn_SetDevicePara")->click();
  // Typed while the write runs: its end is handled only once events are.
  control<QLineEdit>("edt_DeviceSerialNo")->setText("99999999999");
  waitUntilIdle();
  EXPECT_EQ(paraStatus(), "设置设备参数成功");
  EXPECT_EQ(controls().text("edt_DeviceSerialNo"), "99999999999");
  EXPECT_EQ(boxes_.shown(), std::vector<std::string>{"error: '99999999999' is not a valid integer value"});
  closePara();
}

TEST_F(ParaWindow, AddressBoxesFollowTheAddressingMode) {
  openPara();
  const auto enabled = [&](const char* name) { return control<QWidget>(name)->isEnabled(); };
  control<QRadioButton>("rb_AutoIp")->click();
  EXPECT_FALSE(enabled("edt_IPaddress") || enabled("edt_Mask") || enabled("edt_Gateway"));
  EXPECT_TRUE(enabled("edt_Port"));
  control<QRadioButton>("rb_WifiAp")->click();
  EXPECT_FALSE(enabled("edt_IPaddress") || enabled("edt_Mask") || enabled("edt_Gateway") || enabled("edt_Port"));
  control<QRadioButton>("rb_StaticIP")->click();
  EXPECT_TRUE(enabled("edt_IPaddress") && enabled("edt_Mask") && enabled("edt_Gateway") && enabled("edt_Port"));
  EXPECT_FALSE(controls().checked("rb_AutoIp") || controls().checked("rb_WifiAp"));
  closePara();
}

TEST_F(ParaWindow, InfraredListsAreOpenOnlyWithInfrared) {
  openPara();
  control<QRadioButton>("rb_notInfrared")->click();
  EXPECT_FALSE(control<QWidget>("cbb_InfraredBaurate")->isEnabled());
  EXPECT_FALSE(control<QWidget>("cbb_irdaProtecl")->isEnabled());
  control<QRadioButton>("rb_Infrared")->click();
  EXPECT_TRUE(control<QWidget>("cbb_InfraredBaurate")->isEnabled());
  EXPECT_TRUE(control<QWidget>("cbb_irdaProtecl")->isEnabled());
  closePara();
}

TEST_F(ParaWindow, TheCipherGroupOfTheAuthenticationIsShownInOnePlace) {
  writeSettings("[ParaDefault]\nWifiSEEK=0\n");
  openPara();
  tabs()->setCurrentIndex(2);
  QButtonGroup* authentication = control<QButtonGroup>("RadioGroup1");
  const QPoint place = control<QWidget>("rg_1")->mapTo(para_.get(), QPoint(0, 0));
  const std::vector<const char*> shownFor = {"rg_1", "rg_2", "rg_3", "rg_3"};
  for (int option = 3; option >= 0; --option) {
    authentication->button(option)->click();
    settle(std::chrono::milliseconds(20));
    for (const char* group : {"rg_1", "rg_2", "rg_3"}) {
      const bool shown = group == shownFor[static_cast<std::size_t>(option)];
      EXPECT_EQ(control<QWidget>(group)->isVisible(), shown) << "option " << option << ": " << group;
      if (shown) {
        EXPECT_EQ(control<QWidget>(group)->mapTo(para_.get(), QPoint(0, 0)), place) << group;
      }
    }
  }
  closePara();
}

TEST_F(ParaWindow, BoxesTakeOnlyTheirCharacters) {
  openPara();
  controls().setChecked("Chb_CloseWifi", false);  // opens the WiFi key box
  const auto typed = [&](QLineEdit* box, const std::string& keys) {
    box->clear();
    QTest::keyClicks(box, QString::fromStdString(keys));
    return box->text().toStdString();
  };
  const std::map<Typing, std::string> passes = {
      {Typing::Any, "3a.0 -5"}, {Typing::Password, "3a.0 -5"}, {Typing::Digits, "305"}, {Typing::Address, "3.05"}};
  for (const ControlSpec& row : paraLayout()) {
    auto* box = row.kind == ControlKind::Edit ? qobject_cast<QLineEdit*>(control<QWidget>(row.name.c_str())) : nullptr;
    if (box == nullptr) continue;
    SCOPED_TRACE(row.name);
    EXPECT_EQ(typed(box, "3a.0 -5"), row.readOnly ? "" : passes.at(row.typing));
    if (row.maxLength == 0) continue;
    // Lengths limit typing; a stored text is shown whole, as ombrelctl sends it.
    EXPECT_EQ(typed(box, std::string(row.maxLength + 2, '1')), std::string(row.maxLength, '1'));
    controls().setText(row.name, std::string(row.maxLength + 2, '2'));
    EXPECT_EQ(controls().text(row.name), std::string(row.maxLength + 2, '2'));
  }
  auto* serial = control<QLineEdit>("edt_DeviceSerialNo");
  serial->setText("17042");
  QTest::keyClick(serial, Qt::Key_Backspace);
  EXPECT_EQ(serial->text().toStdString(), "1704");
  closePara();
}

TEST_F(ParaWindow, LeavingAnAddressBoxThatHoldsNoAddressWarnsAndKeepsTheFocusThere) {
  openPara();
  para_->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(para_.get()));
  tabs()->setCurrentWidget(control<QWidget>("tab_Network"));
  const auto leave = [&](const char* name, const char* text) {
    auto* box = control<QLineEdit>(name);
    box->setFocus();
    box->setText(QString::fromUtf8(text));
    QTest::keyClick(box, Qt::Key_Tab);
    settle(std::chrono::milliseconds(30));
    return box->hasFocus();
  };
  EXPECT_TRUE(leave("edt_NetIPAddress", "300.1.1.1"));
  EXPECT_EQ(boxes_.shown(), std::vector<std::string>{"warning: IP 地址不正确"});
  EXPECT_FALSE(leave("edt_NetIPAddress", "10.0.0.5"));
  EXPECT_FALSE(leave("edt_gatewayt", "300.1.1.1"));  // this box has no such check
  EXPECT_EQ(boxes_.shown().size(), 1u);

  tabs()->setCurrentWidget(control<QWidget>("tab_Wifi"));
  EXPECT_TRUE(leave("edt_Mask", "255.255.255.255"));
  EXPECT_EQ(boxes_.shown().back(), "warning: 子网掩码不正确");

  // Left for another tab, the box is shown again with its warning.
  auto* box = control<QLineEdit>("edt_Gateway");
  box->setFocus();
  box->setText("1.2.3.4.5");
  QTest::keyClick(box, Qt::Key_Tab);
  tabs()->setCurrentWidget(control<QWidget>("tab_Network"));
  settle(std::chrono::milliseconds(30));
  EXPECT_EQ(boxes_.shown().back(), "warning: 网关不正确");
  EXPECT_EQ(tabs()->currentWidget(), control<QWidget>("tab_Wifi"));
  EXPECT_TRUE(box->hasFocus());
  closePara();
}

TEST_F(ParaWindow, ASetButtonClickedToLeaveABadAddressBoxDoesNotAct) {
  VirtualPrinter printer;
  openOn(printer);
  para_->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(para_.get()));
  tabs()->setCurrentWidget(control<QWidget>("tab_Network"));
  auto* box = control<QLineEdit>("edt_NetIPAddress");
  box->setFocus();
  box->setText("192.168.1.300");
  QTest::mouseClick(control<QPushButton>("btn_NetWorkSetIP"), Qt::LeftButton);
  settle(std::chrono::milliseconds(200));
  EXPECT_EQ(boxes_.shown(), std::vector<std::string>{"warning: IP 地址不正确"});
  EXPECT_TRUE(box->hasFocus());
  EXPECT_TRUE(printer.received().empty());
  closePara();
}

TEST_F(ParaWindow, DistanceBoxesTestTheirNumberOnEnterAndEnterPressesNoButton) {
  VirtualPrinter printer;
  openOn(printer);
  tabs()->setCurrentIndex(6);
  const auto enter = [&](QLineEdit* box, const std::string& text) {
    box->setText(QString::fromStdString(text));
    control<QLineEdit>("edt_DeviceName")->setFocus();
    QTest::keyClick(box, Qt::Key_Return);
    return box->text().toStdString();
  };
  for (const ControlSpec& row : paraLayout()) {
    if (row.check != BoxCheck::RangeOnEnter) continue;
    SCOPED_TRACE(row.name);
    auto* box = control<QLineEdit>(row.name.c_str());
    const auto [low, high] = *row.range;
    const std::pair<int, bool> entries[] = {{high, true}, {low, true}, {low - 1, false}, {high + 1, false}};
    for (const auto& [number, kept] : entries) {
      EXPECT_EQ(enter(box, std::to_string(number)), kept ? std::to_string(number) : "") << number;
    }
    EXPECT_EQ(para_->focusWidget(), box);
  }
  EXPECT_TRUE(boxes_.shown().empty());
  EXPECT_EQ(enter(control<QLineEdit>("ed_Black_width"), ""), "");
  EXPECT_EQ(boxes_.shown(), std::vector<std::string>{"error: '' is not a valid integer value"});

  // Enter in any other box sends nothing either.
  QTest::keyClick(control<QLineEdit>("edt_DeviceName"), Qt::Key_Return);
  QTest::keyClick(control<QLineEdit>("edt_lyName"), Qt::Key_Enter);
  settle(std::chrono::milliseconds(100));
  EXPECT_FALSE(window_->engine().isBusy());
  EXPECT_TRUE(printer.received().empty());
  EXPECT_TRUE(para_->isVisible());
  closePara();
}

TEST_F(ParaWindow, ListsChooseTheItemWhoseTextIsTyped) {
  openPara();
  auto* rates = control<QComboBox>("cbb_BauRate");
  rates->lineEdit()->clear();
  QTest::keyClicks(rates->lineEdit(), "19200");
  EXPECT_EQ(controls().index("cbb_BauRate"), 4);
  QTest::keyClick(rates->lineEdit(), Qt::Key_Backspace);
  EXPECT_EQ(controls().text("cbb_BauRate"), "1920");
  EXPECT_EQ(controls().index("cbb_BauRate"), -1);
  controls().setText("cbb_BauRate", "38400");
  EXPECT_EQ(controls().index("cbb_BauRate"), 5);
  controls().setIndex("cbb_BauRate", -1);
  EXPECT_EQ(controls().text("cbb_BauRate"), "");
  // New item texts keep the chosen position.
  controls().setItems("cbb_Dark", {"a", "b", "c", "d"});
  EXPECT_EQ(controls().text("cbb_Dark"), "b");
  closePara();
}

}  // namespace
}  // namespace ombrel::gui_test
