// The device, infrared and black-mark Set buttons from ombrelctl against the
// virtual printer over UDP, and the production line: serial numbers and the
// provisioning log.

#include <sstream>

#include "e2e/ctl_fixture.h"
#include "e2e/serial_line_log.h"
#include "texts/ini_file.h"

namespace ombrel::test_support {
namespace {

class DeviceSettings : public SettingsActionTest {
 protected:
  std::string logFile() const { return dir() + "/provisioning.jsonl"; }
  std::string serialNumber() const {
    return IniFile(dir() + "/sysconfig.ini").readString("ParaDefault", "DeviceSerialNo", "");
  }
  std::vector<std::string> logLines() const {
    std::vector<std::string> lines;
    std::istringstream in(fileContent(logFile()));
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }
};

TEST_F(DeviceSettings, EachButtonSendsItsBytes) {
  expectEachSends({
      {{"--set", "DeviceName=ABCDEFGHIJKLMNOPQRST", "--set", "DeviceSerialNo=0099", "btn_SetDevicePara"},
       "frame: 02 00 85 00 00 00 00 00 00 00 00 00 28 00 AF 00 41 42 43 44 45 46 47 48 49 4A 4B 4C 4D 4E 4F 50 51 52 "
       "53 54 30 30 39 39 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00",
       "设置设备参数成功"},
      {{"--set", "InfraredBaurate=38400", "--set", "irdaProtecl=IRDA", "btn_SetInfraredPara"},
       "frame: 02 00 84 00 00 00 00 00 00 00 00 00 03 00 85 00 02 01 01",
       "设置红外参数成功"},
      // The black-mark settings' raw bytes: the raw actions' table (raw_actions.cpp).
  });
}

TEST_F(DeviceSettings, BlackMarkOnASerialLineReopensThePortAtThePrintersRate) {
  // The printer listens at 19200: at any other rate its log would show noise.
  VirtualPrinter printer(OnPty{}, {"--baud", "19200"});
  const auto run = ctl({"--link", printer.link(), "--dev-baud", "19200", "--set", "Printeropto=12",
                        "bt_printer_opto_set", "bt_Set_black_mode"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(lineLog(printer), concat({{"open"},
                                      answered(kSerialIdentify, kIdentity),
                                      {"rx raw: 1B 28 46 04 00 01 00 0C 00", "close", "open"},
                                      answered(kSerialIdentify, kIdentity),
                                      {"rx raw: 1F 1B 1F 80 04 05 06 44", "close"}}));
}

TEST_F(DeviceSettings, ThreeWritesGiveThreeConsecutiveNumbersAndThreeLogLines) {
  VirtualPrinter printer;
  for (int i = 0; i < 3; ++i) {
    std::vector<std::string> arguments{"--link", printer.link(), "--log", logFile()};
    if (i == 0)
      arguments.insert(arguments.end(),
                       {"--set", "DeviceName=Kasse 3", "--set", "DeviceSerialNo=1704269998", "--set", "calculate=1"});
    arguments.push_back("btn_SetDevicePara");
    const auto run = ctl(arguments);
    ASSERT_EQ(run.exitCode, 0) << run.err;
  }
  EXPECT_EQ(serialNumber(), "1704270001");
  const auto lines = logLines();
  ASSERT_EQ(lines.size(), 3u);
  for (int i = 0; i < 3; ++i) {
    const std::string& line = lines[static_cast<std::size_t>(i)];
    const auto link = line.find("\"link\"");
    EXPECT_EQ(line.substr(link, line.find(",\"row_id\"") - link),
              "\"link\":\"" + printer.link() +
                  "\",\"printer\":\"OMB80\",\"device_name\":\"Kasse 3\",\"serial_number\":\"" +
                  std::to_string(1704269998 + i) + "\",\"outcome\":\"written\",\"error\":\"\"")
        << line;
  }
}

TEST_F(DeviceSettings, TheNumberStepsOnceThePrinterAcknowledgedTheWrite) {
  struct Case {
    const char* name;
    bool onPty;
    std::vector<std::string> faults;
    const char* serialAfter;
    const char* outcome;  // the log line's end
    const char* err;
  };
  const Case cases[] = {
      {"no answer to the write",
       false,
       {"--ignore", "133"},
       "500",
       R"("outcome":"failed","error":"Download Data Failed",)",
       "Download Data Failed\n"},
      // Answers the switch to the task's rate, identification and the write,
      // then not the switch back to the printer's rate.
      {"the rate's restore fails after the write",
       true,
       {"--silent-after", "3"},
       "499",
       R"("outcome":"written","error":"Set Baudrate Failed",)",
       "Set Baudrate Failed\n"},
  };
  useSerialTimeScale();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove(logFile());
    const auto printer =
        c.onPty ? std::make_unique<VirtualPrinter>(OnPty{}, c.faults) : std::make_unique<VirtualPrinter>(c.faults);
    const auto run = ctl({"--link", printer->link(), "--log", logFile(), "--set", "DeviceName=P", "--set",
                          "DeviceSerialNo=500", "--set", "calculate=0", "btn_SetDevicePara"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.err, c.err);
    EXPECT_EQ(serialNumber(), c.serialAfter);
    const auto lines = logLines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find(R"("printer":"OMB80","device_name":"P","serial_number":"500",)" + std::string(c.outcome)),
              std::string::npos)
        << lines[0];
  }
}

TEST_F(DeviceSettings, UnsteppableNumberOrOverlongNameWritesNothing) {
  const std::vector<std::vector<std::string>> cases = {
      {"--set", "DeviceName=P", "--set", "DeviceSerialNo=99999999999", "--set", "calculate=1"},
      {"--set", "DeviceName=ABCDEFGHIJKLMNOPQRSTU", "--set", "DeviceSerialNo=5"},
  };
  for (const auto& sets : cases) {
    VirtualPrinter printer;
    std::vector<std::string> arguments{"--link", printer.link(), "--log", logFile()};
    arguments.insert(arguments.end(), sets.begin(), sets.end());
    arguments.push_back("btn_SetDevicePara");
    const auto run = ctl(arguments);
    EXPECT_EQ(run.exitCode, 2) << sets[3];
    EXPECT_NE(run.err.find("未发送"), std::string::npos) << run.err;
    EXPECT_TRUE(printer.received().empty()) << sets[3];
  }
  const auto lines = logLines();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_NE(
      lines[0].find("\"printer\":\"\",\"device_name\":\"P\",\"serial_number\":\"99999999999\",\"outcome\":\"refused\""),
      std::string::npos)
      << lines[0];
}

}  // namespace
}  // namespace ombrel::test_support
