// ombrelctl --recipe against the virtual printer over UDP: the recipe saved
// in its own section runs in the table's order after the identification,
// is checked whole before anything is sent, passes over a printer it does
// not take, and logs each printer's row beside its device writes.

#include <sstream>

#include "e2e/ctl_fixture.h"
#include "texts/ini_file.h"

namespace ombrel::test_support {
namespace {

constexpr int kIdentifyCommand = 48;

TEST(CtlRecipe, RunsTheSavedRecipeInTheTablesOrderAndLogsThePrinter) {
  struct Case {
    std::string name;    // DeviceName
    std::string filter;  // OnlyIdentity
    int exitCode;
    bool identified;            // anything reached the printer
    std::vector<int> commands;  // the frames after the link test, identification left out
    std::string serialAfter;
    std::string rowStart;  // the printer's row, from its identity; no row when refused before the run
  };
  const std::vector<Case> cases = {
      {"Kasse",
       "omb",
       0,
       true,
       {128, 133},
       "101",
       R"("OMB80","serial_number":"100","result":"passed","error":"","seconds":)"},
      // The device write refuses the empty name before the code page goes out.
      {"", "", 2, false, {}, "100", ""},
      {"Kasse",
       "XP58",
       2,
       true,
       {},
       "100",
       R"("OMB80","serial_number":"","result":"not matched","error":"","seconds":)"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.filter + "/" + c.name);
    testing::TempDir dir;
    VirtualPrinter printer;
    // Stored out of order: the table's order is the one that runs.
    const std::string stored = "[ParaDefault]\r\nDeviceName=" + c.name +
                               "\r\nDeviceSerialNo=100\r\ncalculate=1\r\n[ProductionLine]\r\n"
                               "Actions=btn_SetDevicePara, btn_SetCodepage\r\nOnlyIdentity=" +
                               c.filter + "\r\n";
    testing::writeFile(dir.path() / "sysconfig.ini", stored);
    const std::string log = dir.path().string() + "/line.jsonl";
    const auto run = runProgram(builtProgram("ombrelctl"),
                                {"--dir", dir.path().string(), "--link", printer.link(), "--log", log, "--recipe"},
                                {{"OMBREL_TIME_SCALE", "20"}});
    EXPECT_EQ(run.exitCode, c.exitCode) << run.err;
    if (c.name.empty()) {
      EXPECT_NE(run.err.find("设备名称不能为空"), std::string::npos) << run.err;
    }

    std::vector<int> commands;
    int identifications = 0;
    for (const auto& unit : printer.received()) {
      if (unit.command == kIdentifyCommand) {
        ++identifications;
      } else {
        commands.push_back(unit.command);
      }
    }
    EXPECT_EQ(identifications > 0, c.identified);
    EXPECT_EQ(commands, c.commands);
    // Refused before anything ran: not even the settings file is written back.
    EXPECT_EQ(fileContent((dir.path() / "sysconfig.ini").string()) == stored, !c.identified);
    const IniFile settings(dir.path() / "sysconfig.ini");
    EXPECT_EQ(settings.readString("ParaDefault", "DeviceSerialNo", ""), c.serialAfter);
    EXPECT_EQ(settings.readString("ProductionLine", "Actions", ""), "btn_SetDevicePara, btn_SetCodepage");

    std::istringstream lines(fileContent(log));
    std::string line;
    if (c.name.empty()) {
      EXPECT_FALSE(std::getline(lines, line)) << line;
      continue;
    }
    if (c.exitCode == 0) {
      ASSERT_TRUE(std::getline(lines, line));
      EXPECT_NE(line.find(R"("serial_number":"100","outcome":"written")"), std::string::npos) << line;
    }
    ASSERT_TRUE(std::getline(lines, line));
    EXPECT_NE(line.find(R"("printer":)" + c.rowStart), std::string::npos) << line;
    EXPECT_FALSE(std::getline(lines, line)) << line;
  }
}

}  // namespace
}  // namespace ombrel::test_support
