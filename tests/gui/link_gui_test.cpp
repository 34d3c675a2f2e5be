// The test and parameters buttons against the virtual printer on UDP.

#include "app/app_texts.h"
#include "e2e/virtual_printer.h"
#include "gui/main_window_fixture.h"

namespace ombrel::gui_test {
namespace {

using test_support::VirtualPrinter;

constexpr int kIdentifyCommand = 48;

int framesOf(const VirtualPrinter& printer, int command) {
  int count = 0;
  for (const auto& unit : printer.received()) count += unit.command == command ? 1 : 0;
  return count;
}

using LinkTestButton = MainWindowTest;

TEST_F(LinkTestButton, FindsThePrinterAndSaysSo) {
  VirtualPrinter printer;
  start();
  chooseNetwork(printer.port());
  ui().btn_Test->click();
  ASSERT_TRUE(waitFor([&] { return !boxes_.shown().empty(); }));
  EXPECT_EQ(boxes_.shown(), std::vector<std::string>{"information: 连接成功"});
  EXPECT_TRUE(window_->connected());
  waitUntilIdle();
  EXPECT_EQ(status(), "127.0.0.1:" + std::to_string(printer.port()) + " Found");
  EXPECT_EQ(framesOf(printer, kIdentifyCommand), 1);
  // A link test writes no settings.
  EXPECT_FALSE(settingsExist());
  // Another click on a transport asks for a new test before the parameters window.
  ui().transportRadios[1]->click();
  EXPECT_FALSE(window_->connected());
}

TEST_F(LinkTestButton, NoAnswerShowsTheFailureBoxAndTheErrorText) {
  installLanguageFiles();
  VirtualPrinter printer({"--silent"});
  start();
  QTest::keyClick(ui().cbb_Language, Qt::Key_Down);
  chooseNetwork(printer.port());
  ui().btn_Test->click();
  ASSERT_TRUE(waitFor([&] { return !boxes_.shown().empty(); }));
  EXPECT_EQ(boxes_.shown(), std::vector<std::string>{"error: Link failed: choose the right port and baud rate"});
  EXPECT_FALSE(window_->connected());
  waitUntilIdle();
  EXPECT_EQ(status(), "Connecting Failed");
}

TEST_F(LinkTestButton, ASecondPressWhileTheLinkIsOpenIsIgnored) {
  VirtualPrinter printer({"--delay", "400"});
  start(1);
  chooseNetwork(printer.port());
  ui().btn_Test->click();
  ASSERT_TRUE(waitFor([&] { return window_->engine().linkOpen(); }));
  ui().btn_Test->click();
  EXPECT_NE(status(), app::taskRunningText(0));
  ASSERT_TRUE(waitFor([&] { return !boxes_.shown().empty(); }));
  waitUntilIdle();
  EXPECT_EQ(boxes_.shown(), std::vector<std::string>{"information: 连接成功"});
  EXPECT_EQ(framesOf(printer, kIdentifyCommand), 1);
}

TEST_F(LinkTestButton, ARequestWhileATaskRunsIsRefusedWithAShortText) {
  VirtualPrinter printer({"--delay", "400"});
  start(1);
  chooseNetwork(printer.port());
  ASSERT_TRUE(window_->ReadLinkSettings());
  ASSERT_TRUE(window_->engine().StartTask(6, 0, 0));
  ASSERT_TRUE(waitFor([&] { return window_->engine().linkOpen(); }));
  // The button still waits for a link test of its own; the refusal shows
  // meanwhile.
  bool refusalShown = false;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] { refusalShown |= status() == app::taskRunningText(0); });
  poll.start(5);
  ui().btn_SetPara->click();
  EXPECT_TRUE(refusalShown);
  EXPECT_TRUE(para_->isHidden());
  waitUntilIdle();
}

using ParametersButton = MainWindowTest;

TEST_F(ParametersButton, TestsFirstThenSavesMainDefaultAndOpensTheParametersWindow) {
  installLanguageFiles();
  VirtualPrinter printer;
  start(1);
  QTest::keyClick(ui().cbb_Language, Qt::Key_Down);
  chooseNetwork(printer.port());

  bool paraShown = false;
  bool mainHidden = false;
  std::string savedWhileOpen;
  whileParaShown([&] {
    paraShown = true;
    mainHidden = window_->isHidden();
    savedWhileOpen = settings();
  });
  ui().btn_SetPara->click();

  EXPECT_TRUE(paraShown);
  EXPECT_TRUE(mainHidden);
  EXPECT_EQ(savedWhileOpen,
            "[MainDefault]\r\nIP Address=127.0.0.1\r\nLanguage=1\r\nTranMode=1\r\nComName=/dev/ttyUSB0\r\n"
            "DevBaudRate=9600\r\nTranBaudRate=115200\r\nUsbDevice=\r\n");
  // No success box for the parameters button's own test.
  EXPECT_TRUE(boxes_.shown().empty());
  EXPECT_TRUE(window_->isVisible());
  EXPECT_FALSE(window_->connected());
  waitUntilIdle();

  // The next start reads it back.
  stop();
  start();
  EXPECT_TRUE(ui().transportRadios[1]->isChecked());
  EXPECT_EQ(ui().edt_Ipaddress->text().toStdString(), "127.0.0.1");
  EXPECT_EQ(ui().btn_SetPara->text().toStdString(), "Settings");
  EXPECT_EQ(ui().lbl_TranMsg->text().toStdString(), "Ethernet selected");
}

TEST_F(ParametersButton, OpensAtOnceAfterASuccessfulTestAndTakesTheEngineMessages) {
  VirtualPrinter printer;
  start();
  chooseNetwork(printer.port());
  ui().btn_Test->click();
  ASSERT_TRUE(waitFor([&] { return window_->connected(); }));
  waitUntilIdle();

  std::string statusInPara;
  whileParaShown([&] {
    // A task started now reports to the parameters window.
    window_->engine().StartTask(6, 0, 0);
    waitUntilIdle();
    statusInPara = para_->statusPanel(0)->text().toStdString();
  });
  const std::string mainStatus = status();
  ui().btn_SetPara->click();
  EXPECT_EQ(statusInPara, "设置代码页成功");
  EXPECT_EQ(status(), mainStatus);
  EXPECT_EQ(framesOf(printer, kIdentifyCommand), 2);  // the test button's and task 6's
}

TEST_F(ParametersButton, StaysClosedWhenThePrinterDoesNotAnswer) {
  VirtualPrinter printer({"--silent"});
  start(5);
  chooseNetwork(printer.port());
  ui().btn_SetPara->click();
  EXPECT_TRUE(para_->isHidden());
  EXPECT_TRUE(window_->isVisible());
  ASSERT_TRUE(waitFor([&] { return !boxes_.shown().empty(); }));
  EXPECT_EQ(boxes_.shown(), std::vector<std::string>{"error: 通讯失败，请选择正确的端口和波特率"});
  waitUntilIdle();
  EXPECT_FALSE(settingsExist());
}

TEST_F(ParametersButton, AnUnwritableSettingsFileIsReportedAndTheWindowStillOpens) {
  VirtualPrinter printer;
  start(1);
  chooseNetwork(printer.port());
  std::filesystem::create_directory(dir_ / "sysconfig.ini");  // cannot be replaced by a file
  bool paraShown = false;
  whileParaShown([&] { paraShown = true; });
  ui().btn_SetPara->click();
  EXPECT_TRUE(paraShown);
  // MainDefault as the window opens, ParaDefault as it closes.
  ASSERT_EQ(boxes_.shown().size(), 2u);
  for (const auto& shown : boxes_.shown()) EXPECT_EQ(shown.rfind("warning: Unable to write to ", 0), 0u) << shown;
  EXPECT_TRUE(window_->isVisible());
}

}  // namespace
}  // namespace ombrel::gui_test
