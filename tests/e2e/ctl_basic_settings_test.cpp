// The basic settings' Set buttons from ombrelctl, against the virtual
// printer over UDP: a list without a choice and the new printer rate; their
// bytes are rows of the Set buttons' table.

#include "e2e/ctl_fixture.h"
#include "texts/ini_file.h"

namespace ombrel::test_support {
namespace {

class BasicSettings : public SettingsActionTest {};

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
