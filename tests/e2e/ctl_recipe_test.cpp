// ombrelctl --recipe against the virtual printer over UDP: the recipe saved
// in its own section runs in the table's order after the identification,
// stops at a refusal, passes over a printer it does not take, and logs each
// printer's row beside its device writes.

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
    std::vector<int> commands;  // the frames after the link test, identification left out
    std::string serialAfter;
    std::string rowStart;  // the printer's row, from "result"
  };
  const std::vector<Case> cases = {
      {"Kasse", "omb", 0, {128, 133}, "101", R"("serial_number":"100","result":"passed","error":"","seconds":)"},
      {"", "", 2, {128}, "100", R"("serial_number":"","result":"refused","error":"设备名称不能为空","seconds":)"},
      {"Kasse", "XP58", 2, {}, "100", R"("serial_number":"","result":"not matched","error":"","seconds":)"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.filter + "/" + c.name);
    testing::TempDir dir;
    VirtualPrinter printer;
    // Stored out of order: the table's order is the one that runs.
    testing::writeFile(dir.path() / "sysconfig.ini", "[ParaDefault]\r\nDeviceName=" + c.name +
                                                         "\r\nDeviceSerialNo=100\r\ncalculate=1\r\n[ProductionLine]\r\n"
                                                         "Actions=btn_SetDevicePara, btn_SetCodepage\r\nOnlyIdentity=" +
                                                         c.filter + "\r\n");
    const std::string log = dir.path().string() + "/line.jsonl";
    const auto run = runProgram(builtProgram("ombrelctl"),
                                {"--dir", dir.path().string(), "--link", printer.link(), "--log", log, "--recipe"},
                                {{"OMBREL_TIME_SCALE", "20"}});
    EXPECT_EQ(run.exitCode, c.exitCode) << run.err;

    std::vector<int> commands;
    for (const auto& unit : printer.received()) {
      if (unit.command != kIdentifyCommand) commands.push_back(unit.command);
    }
    EXPECT_EQ(commands, c.commands);
    const IniFile settings(dir.path() / "sysconfig.ini");
    EXPECT_EQ(settings.readString("ParaDefault", "DeviceSerialNo", ""), c.serialAfter);
    EXPECT_EQ(settings.readString("ProductionLine", "Actions", ""), "btn_SetDevicePara, btn_SetCodepage");

    std::istringstream lines(fileContent(log));
    std::string line;
    if (c.name.empty()) {
      ASSERT_TRUE(std::getline(lines, line));
      EXPECT_NE(line.find(R"("outcome":"refused")"), std::string::npos) << line;
    } else if (c.exitCode == 0) {
      ASSERT_TRUE(std::getline(lines, line));
      EXPECT_NE(line.find(R"("serial_number":"100","outcome":"written")"), std::string::npos) << line;
    }
    ASSERT_TRUE(std::getline(lines, line));
    EXPECT_NE(line.find(R"("printer":"OMB80",)" + c.rowStart), std::string::npos) << line;
    EXPECT_FALSE(std::getline(lines, line)) << line;
  }
}

}  // namespace
}  // namespace ombrel::test_support
