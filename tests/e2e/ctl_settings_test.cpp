// ombrelctl and the parameters window's settings file.

#include "e2e/ctl_fixture.h"
#include "texts/ini_file.h"

namespace ombrel::test_support {
namespace {

using CtlSettings = CtlTest;

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
  EXPECT_EQ(saved.keys("ParaDefault").size(), 54u);
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
