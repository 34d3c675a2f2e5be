// The "close WiFi" box from ombrelctl: its new state, the switch sequence on
// the wire after the identification, and the state kept in the settings,
// which a switch that no printer answered leaves as it was.

#include "e2e/ctl_fixture.h"
#include "e2e/serial_line_log.h"
#include "texts/ini_file.h"

namespace ombrel::test_support {
namespace {

using WifiSwitch = CtlTest;

TEST_F(WifiSwitch, TickingSwitchesWifiOffAndClearingSwitchesItOn) {
  VirtualPrinter printer;
  const auto run = ctl({"--link", printer.link(), "Chb_CloseWifi=1", "Chb_CloseWifi=0"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(wire(printer), (std::vector<std::string>{kIdentify, "raw: 8D 00", kIdentify, "raw: 8D 01"}));
  EXPECT_EQ(IniFile(dir() + "/sysconfig.ini").readString("ParaDefault", "WifiSEEK", ""), "0");
}

TEST_F(WifiSwitch, ASwitchNoPrinterAnsweredKeepsTheStoredState) {
  VirtualPrinter printer({"--silent"});
  const auto run = ctl({"--link", printer.link(), "Chb_CloseWifi=0"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err, "Received Failed\n");
  EXPECT_EQ(IniFile(dir() + "/sysconfig.ini").readString("ParaDefault", "WifiSEEK", ""), "1");
}

TEST_F(WifiSwitch, TheBoxNeedsItsNewState) {
  VirtualPrinter printer;
  for (const char* action : {"Chb_CloseWifi", "Chb_CloseWifi=yes"}) {
    const auto run = ctl({"--link", printer.link(), action});
    EXPECT_EQ(run.exitCode, 2) << action;
    EXPECT_NE(run.err.find("Chb_CloseWifi=1"), std::string::npos) << run.err;
  }
  EXPECT_TRUE(printer.received().empty());
}

}  // namespace
}  // namespace ombrel::test_support
