// The Set buttons clicked in the parameters window, against the virtual
// printer over UDP: what only the window shows or holds back (success texts
// in the status bar, refusals, questions, the new printer rate in the main
// window, the wifi box). What each button sends is the same-bytes test's,
// which proves it equal to what ombrelctl sends, and ombrelctl's bytes are
// asserted at the wire by the end-to-end tests.

#include <fstream>
#include <functional>

#include "app/app_texts.h"
#include "gui/para_window_fixture.h"
#include "settings/para_settings.h"
#include "texts/ini_file.h"

namespace ombrel::gui_test {
namespace {

using test_support::VirtualPrinter;

class ParaButtons : public ParaWindowTest {
 protected:
  // Opens the window on a fresh printer, lets `choose` set the controls,
  // clicks `button` and returns what the printer received once the task ended.
  std::vector<std::string> click(
      const char* button, const std::function<void()>& choose = [] {}, std::size_t expectedUnits = 1) {
    VirtualPrinter printer;
    if (!window_) start();
    linkTo(printer);
    showPara();
    choose();
    control<QPushButton>(button)->click();
    started_ = paraStatus();
    EXPECT_TRUE(waitUntilIdle());
    EXPECT_TRUE(waitFor([&] { return received(printer).size() >= expectedUnits; }, std::chrono::seconds(2)));
    status_ = paraStatus();
    closePara();
    return received(printer);
  }

  std::string status_;
  std::string started_;  // the status right after the click
};

// Each button ends with its own success text, having sent one frame.
TEST_F(ParaButtons, EachSetButtonEndsWithItsOwnText) {
  writeSettings("[ParaDefault]\nBlueToolthName=Kasse\n");
  const struct {
    const char* button;
    std::string ended;
  } rows[] = {{"btn_SetAllPara", "设置所有参数成功"},     {"btn_SetForcepaper", "设置设备开关选项成功"},
              {"btn_SetRptTime", "设置票据回收时间成功"}, {"btn_flowcontrol", "设置流控成功"},
              {"btn_SetlyPara", "设置蓝牙参数成功"},      {"btn_SetIpPara", "设置WIFI IP成功"}};
  for (const auto& row : rows) {
    EXPECT_EQ(click(row.button).size(), 1u) << row.button;
    EXPECT_EQ(status_, row.ended);
  }
}

// A running task says so from its start, and every task ends with a word:
// its own success text, "sent" for raw bytes, "download complete".
class TaskStatus : public ParaButtons, public ::testing::WithParamInterface<int> {};

TEST_P(TaskStatus, FromStartToEndInTheChosenLanguage) {
  const bool english = GetParam() == 1;
  installLanguageFiles();
  writeSettings(english ? "[MainDefault]\nLanguage=1\n" : "");
  start();
  const std::string font = dir_.path().string() + "/font.bin";
  std::ofstream(font, std::ios::binary) << std::string(300, 'F');
  const struct {
    const char* button;
    std::string ended;
  } rows[] = {{"btn_SetCodepage", english ? "Code page set" : "设置代码页成功"},
              {"btn_SetPaperType", english ? "Sent" : "已发送"},
              {"btn_UpdateFont", english ? "Download complete" : "下载完成"}};
  for (const auto& row : rows) {
    click(row.button, [&] { controls().setText("edt_FontFile", font); });
    EXPECT_EQ(started_, control<QPushButton>(row.button)->text().toStdString() + "…");
    EXPECT_EQ(status_, row.ended);
  }
}

INSTANTIATE_TEST_SUITE_P(Languages, TaskStatus, ::testing::Values(0, 1));

TEST_F(ParaButtons, RestoringDefaultsAndClosingDuringATransferAskFirst) {
  VirtualPrinter printer({"--delay", "100"});
  openOn(printer, 2);  // replies are waited for longer than they are delayed
  boxes_.answerNo();
  control<QPushButton>("btn_SetReset")->click();
  EXPECT_EQ(boxes_.shown().back(), "question: " + app::restoreDefaultsQuestion(0));
  EXPECT_FALSE(window_->engine().isBusy());

  const std::string font = dir_.path().string() + "/font.bin";
  std::ofstream(font, std::ios::binary) << std::string(2000, 'F');
  controls().setText("edt_FontFile", font);
  control<QPushButton>("btn_UpdateFont")->click();
  ASSERT_TRUE(waitFor([&] { return para_->progressBar()->value() > 0; }));
  boxes_.answerNo();
  closePara();
  EXPECT_TRUE(para_->isVisible());
  EXPECT_EQ(boxes_.shown().back(), "question: " + app::closeDuringTransferQuestion(0));
  ASSERT_TRUE(waitUntilIdle());
  closePara();
  // Shown again, nothing of the last transfer stays.
  showPara();
  EXPECT_EQ(para_->statusPanel(1)->text().toStdString(), "");
  EXPECT_EQ(para_->progressBar()->value(), 0);
  closePara();
  EXPECT_EQ(received(printer).size(), 8u) << "no restore, all eight blocks";
}

TEST_F(ParaButtons, TheNewPrinterRateReachesTheMainWindow) {
  EXPECT_EQ(click("btn_SetBauRate", [&] { controls().setText("cbb_BauRate", "38400"); }).size(), 1u);
  EXPECT_EQ(status_, "设置波特率成功");
  EXPECT_EQ(ui().cbb_DevBauRate->currentText().toStdString(), "38400");
  EXPECT_EQ(window_->linkSettings().devBaud, 38400);
}

TEST_F(ParaButtons, AListWithoutAChoiceStartsNothingAndSaysNothing) {
  EXPECT_TRUE(click(
                  "btn_SetBauRate", [&] { controls().setText("cbb_BauRate", "14400"); }, 0)
                  .empty());
  EXPECT_TRUE(click(
                  "btn_SetPaperType", [&] { controls().setIndex("cbb_PaperType", -1); }, 0)
                  .empty());
  EXPECT_TRUE(boxes_.shown().empty());
  EXPECT_EQ(status_, "");
}

TEST_F(ParaButtons, ButtonsThatReadTheLinkAgainStopOnABadRateBox) {
  openPara();
  ui().cbb_DevBauRate->lineEdit()->clear();
  control<QPushButton>("btn_SetCodepage")->click();
  EXPECT_EQ(boxes_.shown(), std::vector<std::string>{"warning: " + app::notWholeNumberText(0, "波特率", "")});
  EXPECT_FALSE(window_->engine().isBusy());
  closePara();
}

TEST_F(ParaButtons, ARequestWhileATaskRunsIsRefusedWithTheShortText) {
  VirtualPrinter printer({"--delay", "400"});
  openOn(printer, 1);
  control<QPushButton>("btn_SetReset")->click();
  ASSERT_TRUE(waitFor([&] { return window_->engine().linkOpen(); }));
  control<QPushButton>("btn_SetCodepage")->click();
  EXPECT_EQ(paraStatus(), app::taskRunningText(0));
  waitUntilIdle();
  EXPECT_EQ(paraStatus(), app::taskRunningText(0)) << "the restore's word waits for the notice's time";
  EXPECT_EQ(received(printer).size(), 1u) << "the restore alone";
  closePara();
}

TEST_F(ParaButtons, OnlyTheOperatorsClickSwitchesWifi) {
  VirtualPrinter printer;
  openOn(printer);
  auto* wifiOff = control<QCheckBox>("Chb_CloseWifi");
  ASSERT_TRUE(wifiOff->isChecked());
  wifiOff->click();
  waitUntilIdle();
  EXPECT_TRUE(control<QWidget>("edt_NetworkPsw")->isEnabled());
  wifiOff->click();
  waitUntilIdle();
  EXPECT_FALSE(control<QWidget>("edt_NetworkPsw")->isEnabled());
  ASSERT_TRUE(waitFor([&] { return received(printer).size() >= 2; }, std::chrono::seconds(2)));
  EXPECT_EQ(received(printer), (std::vector<std::string>{"raw: 8D 01", "raw: 8D 00"}));
  closePara();
}

// The box shows what the printer has: a click that sent nothing (the engine
// busy, an address box left holding no address) is undone, and the controls
// it enables follow.
TEST_F(ParaButtons, AWifiClickThatSendsNothingIsUndone) {
  VirtualPrinter printer({"--delay", "400"});
  openOn(printer, 1);
  para_->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(para_.get()));
  auto* wifiOff = control<QCheckBox>("Chb_CloseWifi");
  control<QPushButton>("btn_SetReset")->click();
  ASSERT_TRUE(waitFor([&] { return window_->engine().linkOpen(); }));
  wifiOff->click();
  EXPECT_TRUE(wifiOff->isChecked());
  EXPECT_FALSE(control<QWidget>("edt_NetworkPsw")->isEnabled());
  waitUntilIdle();

  tabs()->setCurrentWidget(control<QWidget>("tab_Wifi"));
  auto* address = control<QLineEdit>("edt_IPaddress");
  address->setFocus();
  address->setText("10.0.0.300");
  QTest::mouseClick(wifiOff, Qt::LeftButton);
  settle(std::chrono::milliseconds(100));
  EXPECT_TRUE(wifiOff->isChecked());
  EXPECT_FALSE(control<QWidget>("edt_NetworkPsw")->isEnabled());
  EXPECT_EQ(boxes_.shown(),
            (std::vector<std::string>{"question: " + app::restoreDefaultsQuestion(0), "warning: IP 地址不正确"}));
  EXPECT_TRUE(address->hasFocus());
  ASSERT_TRUE(waitFor([&] { return !received(printer).empty(); }, std::chrono::seconds(2)));
  EXPECT_EQ(received(printer).size(), 1u) << "the restore alone";
  closePara();
}

// A raw action that no printer answered fails as a framed task does: its
// text in the status bar, nothing sent; the WiFi box goes back and its state
// is saved as it was.
TEST_F(ParaButtons, RawActionsWithoutAnAnswerFailAndTheWifiBoxGoesBack) {
  VirtualPrinter printer({"--silent"});
  openOn(printer);
  auto* wifiOff = control<QCheckBox>("Chb_CloseWifi");
  ASSERT_TRUE(wifiOff->isChecked());
  wifiOff->click();
  EXPECT_FALSE(wifiOff->isChecked());
  waitUntilIdle();
  EXPECT_TRUE(wifiOff->isChecked());
  EXPECT_FALSE(control<QWidget>("edt_NetworkPsw")->isEnabled());
  EXPECT_EQ(paraStatus(), "Received Failed");
  control<QPushButton>("btn_Netport")->click();
  waitUntilIdle();
  EXPECT_EQ(paraStatus(), "Received Failed");
  EXPECT_TRUE(received(printer).empty());
  closePara();
  EXPECT_EQ(IniFile(dir_ / "sysconfig.ini").readString(kParaSection, "WifiSEEK", ""), "1");
}

// The window logs each device write beside its settings and says where; the
// stepped number is saved at once, before the window closes.
TEST_F(ParaButtons, DeviceWritesAreLoggedAndTheNextNumberIsKeptAtOnce) {
  writeSettings("[ParaDefault]\nDeviceName=Kasse 3\nDeviceSerialNo=41\ncalculate=1\n");
  const std::string log = (dir_ / "provisioning.jsonl").string();
  // The first click writes, the second is refused.
  EXPECT_EQ(click("btn_SetDevicePara",
                  [&] {
                    EXPECT_EQ(control<QLabel>("lbl_ProvisioningLog")->toolTip().toStdString(), log);
                    control<QPushButton>("btn_SetDevicePara")->click();
                    EXPECT_TRUE(waitUntilIdle());
                    EXPECT_NE(settings().find("DeviceSerialNo=42"), std::string::npos) << settings();
                    controls().setText("edt_DeviceName", "");
                  })
                .size(),
            1u);
  EXPECT_EQ(boxes_.shown(), std::vector<std::string>{"warning: 设备名称不能为空"});
  const std::string lines = test_support::fileContent(log);
  const std::string written = "\"device_name\":\"Kasse 3\",\"serial_number\":\"41\",\"outcome\":\"written\"";
  const std::string refused = "\"device_name\":\"\",\"serial_number\":\"42\",\"outcome\":\"refused\"";
  EXPECT_LT(lines.find(written), lines.find(refused)) << lines;
  EXPECT_NE(lines.find(refused), std::string::npos) << lines;
}

TEST_F(ParaButtons, ABrokenKeyRuleShowsItsWarningAndSendsNothing) {
  EXPECT_TRUE(click(
                  "btn_SetWifiPara",
                  [&] {
                    controls().setIndex("RadioGroup1", 2);
                    controls().setText("edt_NetworkPsw", "1234567");
                  },
                  0)
                  .empty());
  EXPECT_EQ(boxes_.shown(), std::vector<std::string>{"warning: AES和TPIK的密码要≥8位"});
  EXPECT_TRUE(click(
                  "btn_SetlyPara", [&] { controls().setText("edt_lyName", ""); }, 0)
                  .empty());
  EXPECT_EQ(boxes_.shown().size(), 1u);
}

TEST_F(ParaButtons, APortOutOfRangeShowsItsWarningAndSendsNothing) {
  EXPECT_TRUE(click(
                  "btn_Netport", [&] { controls().setText("edt_Netport", "1"); }, 0)
                  .empty());
  EXPECT_EQ(boxes_.shown(), std::vector<std::string>{"warning: 端口必须在 2 到 65535 之间"});
}

}  // namespace
}  // namespace ombrel::gui_test
