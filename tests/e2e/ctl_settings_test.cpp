// ombrelctl and the parameters window's settings file.

#include "e2e/ctl_fixture.h"
#include "texts/ini_file.h"

namespace ombrel::test_support {
namespace {

using CtlSettings = CtlTest;

class ValueReadings : public SettingsActionTest {};

// A value means the same in the settings file and after --set; what the file
// would replace by the default is refused when typed, with one line and
// nothing sent or saved. Address boxes are checked when the action reads
// them, from either source.
TEST_F(ValueReadings, FileAndSetAgree) {
  // Replies get a busy machine's time, so that no frame goes out twice.
  useSerialTimeScale();
  struct Case {
    std::vector<std::string> values;
    const char* action;
    std::string wire;     // from both sources; empty: refused
    std::string refusal;  // typed (and, for addresses, stored)
  };
  const std::string switches = "frame: 02 00 82 00 00 00 00 00 00 00 00 00 02 00 82 00 ";
  const std::vector<Case> cases = {
      {{"buzzer=$0"}, "btn_SetForcepaper", switches + "E0 00", ""},
      {{"CutPaper=0x0"}, "btn_SetForcepaper", switches + "C4 00", ""},
      {{"Dark=Light"}, "btn_SetForcepaper", switches + "64 00", ""},  // English text, Chinese interface
      {{"InfraredType=0x0"},
       "btn_SetInfraredPara",
       "frame: 02 00 84 00 00 00 00 00 00 00 00 00 03 00 85 00 00 00 00",
       ""},
      {{"UsbDeviceTpe=USB virtual serial port"}, "btn_SetUsbDeviceType", "raw: 12 55 00", ""},
      {{"WifiCheckMode=0x3", "NetworkPsw=12345678"},
       "btn_SetWifiPara",
       "frame: 02 00 89 00 00 00 00 00 00 00 00 00 0C 00 87 00 00 03 03 08 31 32 33 34 35 36 37 38",
       ""},
      {{"IPaddress=10.0.0.300"}, "btn_NetWorkSetIP", "raw: 1F 49 C0 A8 01 57", ""},
      {{"buzzer=true"}, "btn_SetForcepaper", "", "buzzer: 'true' is not an integer (0 or 1)"},
      {{"WifiCheckMode=WPA2-PSK"},
       "btn_SetWifiPara",
       "",
       "WifiCheckMode: 'WPA2-PSK' is not an integer (0 to 3, -1 for none)"},
      {{"BlueToolthMode=3"}, "btn_SetlyPara", "", "BlueToolthMode: '3' is not an option (0 to 2, -1 for none)"},
      {{"IpType=3"}, "btn_SetIpPara", "", "IpType: '3' is not an option (0 to 2)"},
      {{"BluetoothSEEK=取消蓝牙隐身 "},
       "btn_bluetooth",
       "",
       "BluetoothSEEK: '取消蓝牙隐身 ' is not an item of the list (开启蓝牙隐身, 取消蓝牙隐身)"},
      {{"IPaddress=10.0.0.300"}, "btn_SetIpPara", "", "IP 地址不正确"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.values.front() + " " + c.action);
    const auto wire = c.wire.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.wire};
    const std::string err = c.wire.empty() ? c.refusal + "\n" : "";
    // A typed value's refusal names its key; an address warning is the
    // window's, for the file's text too.
    if (c.refusal.find(": '") == std::string::npos) {
      std::string file = "[ParaDefault]\r\n";
      for (const auto& value : c.values) file += value + "\r\n";
      testing::writeFile(dir() + "/stored.ini", file);
      EXPECT_EQ(sent({"--settings", dir() + "/stored.ini", c.action}, c.wire.empty() ? 2 : 0), wire);
      EXPECT_EQ(last.err, err);
    }
    std::vector<std::string> arguments;
    for (const auto& value : c.values) arguments.insert(arguments.end(), {"--set", value});
    arguments.push_back(c.action);
    EXPECT_EQ(sent(arguments, c.wire.empty() ? 2 : 0), wire);
    EXPECT_EQ(last.err, err);
    EXPECT_EQ(std::filesystem::exists(dir() + "/sysconfig.ini"), !c.wire.empty());
  }
}

TEST_F(CtlSettings, LoadingAndSavingAloneSendsNothingAndWritesEveryKey) {
  VirtualPrinter printer;
  const std::string file = dir() + "/mine.ini";
  const auto run = ctl({"--link", printer.link(), "--settings", file});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, "");
  // WifiSEEK defaults to a ticked "close WiFi" box; loading it must not switch
  // the printer's WiFi off.
  EXPECT_TRUE(printer.received().empty());
  const IniFile saved(file);
  EXPECT_EQ(saved.keys("ParaDefault").size(), 55u);
  EXPECT_EQ(saved.readString("ParaDefault", "WifiSEEK", ""), "1");
}

TEST_F(CtlSettings, SetChangesKeysAndIsSavedBack) {
  const std::string file = dir() + "/sysconfig.ini";
  auto run = ctl({"--set", "Dark=高浓度", "--set", "devicename=P-01", "--set", "IpType=0"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  const IniFile saved(file);
  EXPECT_EQ(saved.readString("ParaDefault", "Dark", ""), "高浓度");
  EXPECT_EQ(saved.readString("ParaDefault", "DeviceName", ""), "P-01");
  EXPECT_EQ(saved.readString("ParaDefault", "IpType", ""), "0");
  // The next run starts from what was saved.
  run = ctl({"--set", "BaudRate=38400"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(IniFile(file).readString("ParaDefault", "Dark", ""), "高浓度");
}

// Without --language ombrelctl speaks the main window's language, from the
// program directory's sysconfig.ini also with --settings; the language also
// chooses the list text saved back.
TEST_F(CtlSettings, SpeaksTheMainWindowsLanguageUnlessLanguageIsGiven) {
  const std::string other = dir() + "/other.ini";
  testing::writeFile(other, "[MainDefault]\r\nLanguage=1\r\n");
  using Case = std::tuple<std::string, std::vector<std::string>, bool>;  // MainDefault, arguments, English
  for (const auto& [mainDefault, arguments, english] :
       {Case{"Language=1", {}, true}, Case{"Language=1", {"--language", "0"}, false}, Case{"Language=0x1", {}, true},
        Case{"Language=2", {}, false}, Case{"Language=0", {"--language", "1"}, true},
        Case{"", {"--settings", other}, false}}) {
    SCOPED_TRACE(mainDefault + " " + (arguments.empty() ? "" : arguments.front()));
    testing::writeFile(dir() + "/sysconfig.ini", "[MainDefault]\r\n" + mainDefault + "\r\n");
    VirtualPrinter printer;
    std::vector<std::string> all = arguments;
    all.insert(all.end(), {"--link", printer.link(), "--set", "Dark=Light", "task", "6", "0"});
    const auto run = ctl(all);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, english ? "Code page set\n" : "设置代码页成功\n");
    const IniFile saved(arguments.empty() || arguments.front() != "--settings" ? dir() + "/sysconfig.ini" : other);
    EXPECT_EQ(saved.readString("ParaDefault", "Dark", ""), english ? "Light" : "微淡");
  }
}

TEST_F(CtlSettings, UnknownNamesAndBadValuesAreRefused) {
  for (const char* set : {"NoSuchKey=1", "chk_buzzer=yes", "rg_lyMode=3", "btn_UpdatePrg=1"}) {
    const auto run = ctl({"--set", set});
    EXPECT_EQ(run.exitCode, 2) << set;
    EXPECT_NE(run.err.find("--set"), std::string::npos) << run.err;
  }
}

TEST_F(CtlSettings, MainWindowActionsLeaveTheSettingsFileAlone) {
  VirtualPrinter printer;
  const auto run = ctl({"--link", printer.link(), "task", "10"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_FALSE(std::filesystem::exists(dir() + "/sysconfig.ini"));
}

TEST_F(CtlSettings, UnwritableSettingsFileIsReported) {
  const auto run = ctl({"--settings", "/nonexistent-dir/sysconfig.ini"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.err.find("Unable to write to"), std::string::npos) << run.err;
}

}  // namespace
}  // namespace ombrel::test_support
