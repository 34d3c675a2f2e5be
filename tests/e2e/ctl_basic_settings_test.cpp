// The basic settings' Set buttons from ombrelctl, against the virtual
// printer over UDP: the exact frames and raw bytes that reached it.

#include "e2e/ctl_fixture.h"
#include "texts/ini_file.h"

namespace ombrel::test_support {
namespace {

class BasicSettings : public SettingsActionTest {};

TEST_F(BasicSettings, EachButtonSendsItsCommand) {
  expectEachSends({
      {{"--set", "BaudRate=230400", "btn_SetBauRate"},
       "frame: 02 00 81 00 00 00 00 00 00 00 00 00 01 00 82 00 08",
       "设置波特率成功"},
      {{"--set", "CodePage=CP874:Thai", "btn_SetCodepage"},
       "frame: 02 00 80 00 00 00 00 00 00 00 00 00 01 00 83 00 2F",
       "设置代码页成功"},
      {{"--set", "CodePage=CP936:GBK", "btn_SetCodepage"},
       "frame: 02 00 80 00 00 00 00 00 00 00 00 00 01 00 83 00 FF",
       "设置代码页成功"},
      {{"--set", "Dark=微淡", "--set", "FontValue=9x17", "--set", "buzzer=0", "--set", "CutPaper=0", "--set",
        "ForcePaper=0X0D", "btn_SetForcepaper"},
       "frame: 02 00 82 00 00 00 00 00 00 00 00 00 02 00 82 00 00 01",
       "设置设备开关选项成功"},
      {{"--set", "sleepTime=600", "--set", "poweroffTime=7200", "btn_SetpoweroffTime"},
       "frame: 02 00 86 00 00 00 00 00 00 00 00 00 08 00 8C 00 58 02 00 00 20 1C 00 00",
       "设置休眠时间，关机时间成功"},
      {{"--set", "sleepTime=600", "btn_SetAllPara"},
       "frame: 02 00 88 00 00 00 00 00 00 00 00 00 0C 00 86 00 00 00 E4 00 58 02 00 00 20 1C 00 00",
       "设置所有参数成功"},
      {{"btn_SetReset"}, "frame: 02 00 79 00 00 00 00 00 00 00 00 00 00 00 7B 00", "设置默认参数成功"},
      {{"--set", "RptTime=300", "btn_SetRptTime"},
       "frame: 02 00 8C 00 00 00 00 00 00 00 00 00 01 00 8F 00 2C",
       "设置票据回收时间成功"},
  });
}

TEST_F(BasicSettings, FlowControlIsWrittenRawAndReportedWithoutAReply) {
  EXPECT_EQ(sent({"--set", "Flowcontrol=硬件流控", "btn_flowcontrol"}),
            (std::vector<std::string>{"frame: 02 00 8D 00 00 00 00 00 00 00 00 00 01 00 8E 00 01 01"}));
  EXPECT_EQ(last.out, "设置流控成功\n");
  EXPECT_EQ(sent({"--set", "Flowcontrol=软件流控", "btn_flowcontrol"}),
            (std::vector<std::string>{"frame: 02 00 8D 00 00 00 00 00 00 00 00 00 01 00 8E 00 00 00"}));
}

TEST_F(BasicSettings, HardwareSettingsAreThreeRawBytesAfterIdentification) {
  EXPECT_EQ(sent({"--set", "UsbDeviceTpe=USB虚拟串口", "btn_SetUsbDeviceType"}),
            (std::vector<std::string>{"raw: 12 55 00"}));
  EXPECT_EQ(sent({"--set", "PaperType=热敏标签纸", "btn_SetPaperType"}), (std::vector<std::string>{"raw: 1F 41 01"}));
  EXPECT_EQ(sent({"--set", "PrinterOrder=倒序", "btn_SetPrinterOrder"}), (std::vector<std::string>{"raw: 1B 7B F1"}));
  EXPECT_EQ(last.out, "");
}

// A stored rate that is no item leaves the list empty (typed, it is refused).
TEST_F(BasicSettings, MissingChoiceStartsNothingAndSaysWhichList) {
  const std::string file = dir() + "/stored.ini";
  testing::writeFile(file, "[ParaDefault]\r\nBaudRate=14400\r\n");
  EXPECT_TRUE(sent({"--settings", file, "btn_SetBauRate"}, 2).empty());
  EXPECT_EQ(last.err, "No item is chosen in cbb_BauRate\n");
}

TEST_F(BasicSettings, NewPrinterRateIsTheDevBaudOfTheFollowingActions) {
  // After the printer moved to 38400 the next task ends by putting it back on
  // 38400, a rate the serial port is not yet on, so command 49 goes out.
  const auto units = sent({"--set", "BaudRate=38400", "btn_SetBauRate", "btn_SetReset"});
  EXPECT_EQ(units, (std::vector<std::string>{"frame: 02 00 81 00 00 00 00 00 00 00 00 00 01 00 82 00 02",
                                             "frame: 02 00 79 00 00 00 00 00 00 00 00 00 00 00 7B 00",
                                             "frame: 02 00 31 00 02 00 00 00 00 00 00 00 00 00 31 00"}));
}

TEST_F(BasicSettings, FailedCommandReportsNoSuccessAndKeepsTheSettings) {
  VirtualPrinter printer({"--ignore", "128"});
  const auto run = ctl({"--link", printer.link(), "--set", "CodePage=Thai", "btn_SetCodepage"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "Download Data Failed\n");
  EXPECT_EQ(IniFile(dir() + "/sysconfig.ini").readString("ParaDefault", "CodePage", ""), "Thai");
}

}  // namespace
}  // namespace ombrel::test_support
