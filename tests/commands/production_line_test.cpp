// The production line's core: the recipe in its own section, the printers
// that count as arrived and their turns, a printer's run stopped or
// unplugged, and its row read back from the provisioning log.

#include <gtest/gtest.h>

#include "commands/printer_rows.h"
#include "commands/recipe.h"
#include "commands/recipe_run.h"
#include "commands/recipe_texts.h"
#include "commands/serial_allocator.h"
#include "protocol/codes.h"
#include "settings/para_control_state.h"
#include "settings/temp_dir.h"
#include "support/run_program.h"

namespace ombrel {
namespace {

TEST(Recipe, KeptInItsOwnSectionAndReadInTheTablesOrder) {
  testing::TempDir dir;
  const auto path = dir / "sysconfig.ini";
  const std::string paraDefault = "[ParaDefault]\r\nDeviceName=Kasse\r\n";
  testing::writeFile(path, paraDefault);
  IniFile file(path);
  saveRecipe(file, {{"btn_SetDevicePara", "btn_SetCodepage"}, "OMB"});
  file.save();
  EXPECT_EQ(test_support::fileContent(path.string()),
            paraDefault + "[ProductionLine]\r\nActions=btn_SetDevicePara,btn_SetCodepage\r\nOnlyIdentity=OMB\r\n");
  const Recipe loaded = loadRecipe(IniFile(path), 1);
  EXPECT_EQ(loaded.actions, (std::vector<std::string>{"btn_SetCodepage", "btn_SetDevicePara"}));
  EXPECT_TRUE(recipeTakes(loaded, "XOMB80"));
  EXPECT_FALSE(recipeTakes(loaded, "XP58"));

  // A name that is no recipe action (a save dialog's button, a typo) is refused, not dropped.
  for (const char* stored : {"btn_SetCodepage,btn_ReadFont", "btn_SetCodepage,btn_SetCodePage"}) {
    testing::writeFile(path, std::string("[ProductionLine]\r\nActions=") + stored + "\r\n");
    EXPECT_THROW(loadRecipe(IniFile(path), 1), std::invalid_argument) << stored;
  }
}

TEST(RecipeRun, StopsAfterTheRunningActionAndAFailedPrinterThatLeftIsRemoved) {
  const TaskOutcome passed{0, kTaskOk, FailureKind::None, "", "OMB80"};
  ParaControlState controls;
  const Recipe recipe{{"btn_SetCodepage", "btn_SetForcepaper"}, ""};
  RecipeRun stopped(recipe, controls, "net:10.0.0.7:5100", "/tmp/", 1);
  ASSERT_TRUE(stopped.next());  // identification
  stopped.ended(passed);
  ASSERT_TRUE(stopped.next());
  stopped.stop();
  stopped.ended(passed);
  EXPECT_FALSE(stopped.next());
  EXPECT_EQ(stopped.row().end, PrinterRow::End::Stopped);
  EXPECT_EQ(stopped.row().steps[1].result, RecipeStep::Result::NotRun);

  RecipeRun removed(recipe, controls, "usb:VID_0FE6&PID_811E", "/tmp/", 1);
  removed.next();
  removed.ended(passed);
  removed.next();
  removed.ended({0, kTaskFailedWithText, FailureKind::NoReply, "Received Failed", "OMB80"}, false);
  EXPECT_FALSE(removed.next());
  EXPECT_EQ(removed.row().end, PrinterRow::End::Removed);
  EXPECT_EQ(removed.row().steps[0].result, RecipeStep::Result::Removed);
}

TEST(RecipeRun, AnActionThatWouldRefuseStopsTheRecipeBeforeIdentification) {
  ParaControlState controls;
  controls.setText("edt_DeviceName", "");
  controls.setText("edt_DeviceSerialNo", "7");
  RecipeRun run({{"btn_SetCodepage", "btn_SetDevicePara"}, ""}, controls, "net:10.0.0.7:5100", "/tmp/", 1);
  EXPECT_FALSE(run.next());
  EXPECT_EQ(run.row().end, PrinterRow::End::Refused);
  EXPECT_EQ(run.row().steps[0].result, RecipeStep::Result::NotRun);
  EXPECT_EQ(run.row().steps[1].result, RecipeStep::Result::Refused);
  const auto write = run.takeDeviceWrite();
  ASSERT_TRUE(write);
  EXPECT_EQ(write->record().outcome, DeviceWriteRecord::Outcome::Refused);
  EXPECT_EQ(controls.text("edt_DeviceSerialNo"), "7");
}

TEST(RecipeRun, TakesItsNumberFromTheAllocatorAndGivesItItsEnd) {
  testing::TempDir dir;
  ParaControlState controls;
  controls.setText("edt_DeviceName", "Kasse");
  controls.setText("edt_DeviceSerialNo", "2147483644");
  controls.setChecked("rb_Plus", true);
  SerialAllocator numbers(dir.path().string() + "/", controls, 1);
  using Outcome = DeviceWriteRecord::Outcome;
  const struct {
    bool sent;
    bool acknowledged;
    const char* number;  // written into the payload
    Outcome record;
    const char* next;  // what DeviceSerialNo shows then
  } writes[] = {
      {false, false, "2147483644", Outcome::Failed, "2147483644"},  // never went out: given back
      {true, false, "2147483644", Outcome::Unknown, "2147483645"},  // went out unanswered: never again
      {true, true, "2147483645", Outcome::Written, "2147483646"},   // committed
      {true, true, "2147483646", Outcome::Written, "2147483647"},   // the last one
  };
  for (const auto& write : writes) {
    RecipeRun run({{"btn_SetDevicePara"}, ""}, controls, "usb:@1-1.2", dir.path().string() + "/", 1, "1-1.2");
    run.useSerialNumbers(numbers);
    run.next();
    run.ended({0, kTaskOk, FailureKind::None, "", "OMB80"});
    ASSERT_TRUE(run.next()) << run.row().text;
    EXPECT_EQ(controls.text("edt_DeviceSerialNo"), write.number);
    const TaskResult result = write.acknowledged ? kTaskOk : kTaskFailedWithText;
    run.ended({kTaskDeviceParameters, result, FailureKind::NoReply, "", "OMB80", write.sent, write.acknowledged});
    const auto record = run.takeDeviceWrite();
    ASSERT_TRUE(record);
    EXPECT_EQ(record->record().serialNumber, write.number);
    EXPECT_EQ(record->record().outcome, write.record) << write.number;
    EXPECT_FALSE(record->record().ownRow);  // a step of its printer's row, not a row of its own
    EXPECT_EQ(run.row().serialNumber, write.acknowledged ? write.number : "");
    EXPECT_EQ(run.row().port, "1-1.2");
    EXPECT_EQ(numbers.nextText(), write.next);
  }
  RecipeRun refused({{"btn_SetDevicePara"}, ""}, controls, "usb:@1-1.2", dir.path().string() + "/", 1);
  refused.useSerialNumbers(numbers);
  refused.next();
  refused.ended({0, kTaskOk, FailureKind::None, "", "OMB80"});
  EXPECT_FALSE(refused.next());
  EXPECT_EQ(refused.row().end, PrinterRow::End::Refused);
  EXPECT_EQ(refused.row().text, noSerialNumberLeftText(1));

  const ProvisioningLog log((dir / "log.jsonl").string());
  logAbandonedNumbers({41}, log, 1);
  EXPECT_NE(test_support::fileContent(log.path()).find(R"("serial_number":"41","outcome":"unknown")"),
            std::string::npos);
}

TEST(PrinterRows, TheDaysRowsComeBackFromTheLog) {
  testing::TempDir dir;
  const ProvisioningLog log((dir / "log.jsonl").string());
  PrinterRow row{"2026-12-08T09:10:11.012+0100",
                 "usb:VID_0FE6&PID_811E",
                 "OMB80",
                 "1704269998",
                 {{"btn_SetCodepage", RecipeStep::Result::Passed, ""},
                  {"btn_SetDevicePara", RecipeStep::Result::Failed, "Received Failed"}},
                 1.25,
                 PrinterRow::End::Failed,
                 "Received Failed",
                 "1-1.2",
                 "9c0e",
                 "2026-12-08T09:10:12.262+0100"};
  appendPrinterRow(log, row);
  log.append({"2026-12-08T09:10:11.000+0100", row.link, "OMB80", "Kasse", "1", DeviceWriteRecord::Outcome::Written, "",
              "9c0f", ""});
  log.appendLine("{\"result\":");
  PrinterRow yesterday = row;
  yesterday.time = "2026-12-07T23:59:59.999+0100";
  appendPrinterRow(log, yesterday);
  // A row written before rows kept the port.
  log.appendLine(R"({"time":"2026-12-08T10:00:00.000+0100","link":"usb:VID_0FE6&PID_811E","printer":"OMB80",)"
                 R"("serial_number":"","result":"passed","error":"","seconds":1,"actions":[]})");

  const auto rows = printerRowsOfDay(log.path(), "2026-12-08");
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(printerRowLine(rows[0]), printerRowLine(row));
  EXPECT_EQ(rows[1].end, PrinterRow::End::Passed);
  EXPECT_EQ(rows[1].port, "");
}

}  // namespace
}  // namespace ombrel
