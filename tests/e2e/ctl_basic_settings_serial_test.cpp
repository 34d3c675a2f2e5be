// The basic settings' Set buttons from ombrelctl on a serial link: the exact
// frames on the line, with their data check bytes, and the printer's rate.

#include "e2e/ctl_fixture.h"
#include "e2e/serial_line_log.h"

namespace ombrel::test_support {
namespace {

using SerialBasicSettings = SerialCtlTest;

// The frames the printer received, without the identification.
Lines commandsReceived(VirtualPrinter& printer) {
  Lines out;
  for (const auto& line : lineLog(printer)) {
    if (line.rfind("rx ", 0) == 0 && line != "rx frame: " + kSerialIdentify) out.push_back(line);
  }
  return out;
}

TEST_F(SerialBasicSettings, EachButtonSendsItsFrameWithTheDataCheckByte) {
  struct Case {
    std::vector<std::string> arguments;
    std::string received;
  };
  const std::vector<Case> cases = {
      {{"--set", "CodePage=CP874:Thai", "btn_SetCodepage"},
       "rx frame: 02 00 80 00 00 00 00 00 00 00 00 00 01 00 83 00 2F 2F"},
      {{"--set", "sleepTime=600", "btn_SetAllPara"},
       "rx frame: 02 00 88 00 00 00 00 00 00 00 00 00 0C 00 86 00 00 00 E4 00 58 02 00 00 20 1C 00 00 82"},
      {{"--set", "Dark=微淡", "--set", "FontValue=9x17", "--set", "buzzer=0", "--set", "CutPaper=0", "--set",
        "ForcePaper=0X0D", "btn_SetForcepaper"},
       "rx frame: 02 00 82 00 00 00 00 00 00 00 00 00 02 00 82 00 00 01 01"},
      {{"--set", "sleepTime=600", "btn_SetpoweroffTime"},
       "rx frame: 02 00 86 00 00 00 00 00 00 00 00 00 08 00 8C 00 58 02 00 00 20 1C 00 00 66"},
      {{"--set", "RptTime=300", "btn_SetRptTime"}, "rx frame: 02 00 8C 00 00 00 00 00 00 00 00 00 01 00 8F 00 2C 2C"},
      {{"btn_SetReset"}, "rx frame: " + kRestoreDefaults},
      {{"--set", "PrinterOrder=倒序", "btn_SetPrinterOrder"}, "rx raw: 1B 7B F1"},
      {{"--set", "UsbDeviceTpe=USB打印口", "btn_SetUsbDeviceType"}, "rx raw: 12 55 01"},
      {{"--set", "Flowcontrol=软件流控", "btn_flowcontrol"},
       "rx frame: 02 00 8D 00 00 00 00 00 00 00 00 00 01 00 8E 00 00 00"},
  };
  for (const auto& c : cases) {
    std::filesystem::remove(dir() + "/sysconfig.ini");
    VirtualPrinter printer(OnPty{});
    std::vector<std::string> arguments{"--link", printer.link(), "--dev-baud", "9600", "--tran-baud", "9600"};
    arguments.insert(arguments.end(), c.arguments.begin(), c.arguments.end());
    const auto run = ctl(arguments);
    EXPECT_EQ(run.exitCode, 0) << c.arguments.back() << ": " << run.err;
    EXPECT_EQ(commandsReceived(printer), (Lines{c.received})) << c.arguments.back();
  }
}

TEST_F(SerialBasicSettings, NextTaskOpensAtTheNewRateAndSwitchesBackToIt) {
  VirtualPrinter printer(OnPty{});
  const auto run = ctl({"--link", printer.link(), "--dev-baud", "9600", "--tran-baud", "115200", "--set",
                        "BaudRate=38400", "btn_SetBauRate", "btn_SetReset"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, "设置波特率成功\n设置默认参数成功\n");
  const std::string toRate38400 = "02 00 31 00 02 00 00 00 00 00 00 00 00 00 31 00";
  const std::string newRate = "02 00 81 00 00 00 00 00 00 00 00 00 01 00 82 00 02 02";
  EXPECT_EQ(lineLog(printer), concat({// At 9600: to 115200, identify, the new rate; no switch back.
                                      {"open"},
                                      answered(kToRate115200, kToRate115200),
                                      {"rate 115200"},
                                      answered(kSerialIdentify, kIdentity),
                                      answered(newRate, "02 00 81 00 00 00 00 00 00 00 00 00 00 00 83 00"),
                                      {"rate 38400", "close"},
                                      // Opened at 38400: to 115200 and back to 38400.
                                      {"open"},
                                      answered(kToRate115200, kToRate115200),
                                      {"rate 115200"},
                                      answered(kSerialIdentify, kIdentity),
                                      answered(kRestoreDefaults, kRestoreDefaults),
                                      answered(toRate38400, toRate38400),
                                      {"rate 38400", "close"}}));
}

}  // namespace
}  // namespace ombrel::test_support
