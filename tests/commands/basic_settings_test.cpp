#include "commands/basic_settings.h"

#include <gtest/gtest.h>

#include "settings/para_control_state.h"
#include "settings/para_layout.h"

namespace ombrel {
namespace {

TaskStart started(const ActionOutcome& outcome) {
  EXPECT_TRUE(std::holds_alternative<TaskStart>(outcome));
  return std::holds_alternative<TaskStart>(outcome) ? std::get<TaskStart>(outcome) : TaskStart{};
}

TEST(CodePageValue, EndsOfTheListAndTheSpecialItems) {
  const auto& items = codePageItems();
  ASSERT_EQ(items.size(), 53u);
  const std::pair<const char*, int> table[] = {
      {"CP932 SHIFT_JIS", 252},         {"UNICODE UCS-2", 253}, {"CP950:BIG5", 254}, {"CP936:GBK", 255},
      {"CP437:USA/Standard Europe", 0}, {"CP874:Thai", 47},     {"EUC-KR", 250},     {"CP1252:Latin1", 16}};
  for (const auto& [name, value] : table) {
    const auto found = std::find(items.begin(), items.end(), name);
    ASSERT_NE(found, items.end()) << name;
    EXPECT_EQ(codePageValue(static_cast<int>(found - items.begin())), value) << name;
  }
}

TEST(BaudRateItems, MapToThePrintersRateCodes) {
  const int expected[] = {5, 6, 7, 0, 1, 2, 3, 4, 8};
  for (int item = 0; item < 9; ++item) EXPECT_EQ(baudIndexOfItem(item), expected[item]) << item;
}

TEST(SwitchOptions, PackDensityFontCutterAndBuzzer) {
  EXPECT_EQ(switchOptions(1, 1, true, true), 0xE4);    // normal, 12x24, cutter, buzzer
  EXPECT_EQ(switchOptions(0, 0, false, false), 0x00);  // light, 9x17
  EXPECT_EQ(switchOptions(3, 3, false, false), 0xC9);  // dark (0x81), 16x18 (0x48)
  EXPECT_EQ(switchOptions(2, 2, false, true), 0x0D);   // 0x01 | 0x08 | 0x04
  EXPECT_EQ(switchOptions(-1, 0, false, false), 0xFF);
  EXPECT_EQ(switchOptions(-1, 2, false, false), 0xFF);
  EXPECT_EQ(switchOptions(0, -1, true, false), 0x20);
}

TEST(BasicPayloads, TimesAndTheirFallBacks) {
  ParaControlState controls;
  controls.setText("edt_sleepTime", "600");
  controls.setText("edt_poweroffTime", "7200");
  EXPECT_EQ(toHex(timesPayload(controls)), "58 02 00 00 20 1C 00 00");
  controls.setText("edt_sleepTime", "ten");
  controls.setText("edt_poweroffTime", "");
  EXPECT_EQ(toHex(timesPayload(controls)), "E8 03 00 00 B8 0B 00 00");
}

TEST(BasicPayloads, RecycleTimeIsItsLowByte) {
  ParaControlState controls;
  controls.setText("edt_RptTime", "300");
  EXPECT_EQ(toHex(recycleTimePayload(controls)), "2C");
  controls.setText("edt_RptTime", "x");
  EXPECT_EQ(toHex(recycleTimePayload(controls)), "1E");
}

TEST(BasicPayloads, AllParametersWithAndWithoutChoices) {
  ParaControlState controls;  // the window's layout: CP437, 9600, normal, 12x24, both boxes
  controls.setText("edt_sleepTime", "600");
  EXPECT_EQ(toHex(allParametersPayload(controls)), "00 00 E4 00 58 02 00 00 20 1C 00 00");
  controls.setIndex("cbb_Codepage", -1);
  controls.setIndex("cbb_BauRate", -1);
  controls.setIndex("cbb_Dark", -1);
  controls.setIndex("cbb_Forcepaper", -1);
  EXPECT_EQ(toHex(allParametersPayload(controls)), "FF 00 FF FF 58 02 00 00 20 1C 00 00");
}

TEST(BasicActions, StartTheirTasks) {
  ParaControlState controls;
  controls.setText("cbb_BauRate", "230400");
  EXPECT_EQ(started(btn_SetBauRateClick(controls)).a, 8);
  controls.setText("cbb_Codepage", "EUC-KR");
  const TaskStart codePage = started(btn_SetCodepageClick(controls));
  EXPECT_EQ(codePage.code, 6);
  EXPECT_EQ(codePage.a, 250);
  controls.setIndex("cbb_Flowcontrol", 0);
  EXPECT_EQ(started(btn_flowcontrolClick(controls)).code, 42);
  controls.setIndex("cbb_Flowcontrol", 1);
  EXPECT_EQ(started(btn_flowcontrolClick(controls)).code, 43);
  controls.setIndex("cbb_PrinterOrder", 0);
  const TaskStart order = started(btn_SetPrinterOrderClick(controls));
  EXPECT_EQ((std::vector<int>{order.code, order.a, order.b}), (std::vector<int>{23, 2, 0}));
  EXPECT_EQ(started(btn_SetForcepaperClick(controls)).payload, (Bytes{0xE4, 0x00}));
  EXPECT_EQ(started(btn_SetResetClick(controls)).code, 10);
}

TEST(BasicActions, NeedAChoiceInTheirList) {
  ParaControlState controls;
  controls.setText("cbb_BauRate", "14400");
  controls.setIndex("cbb_PaperType", -1);
  for (const auto& [outcome, list] :
       {std::pair{btn_SetBauRateClick(controls), "cbb_BauRate"},
        std::pair{btn_flowcontrolClick(controls), "cbb_Flowcontrol"},  // no item in the layout
        std::pair{btn_SetPaperTypeClick(controls), "cbb_PaperType"}}) {
    ASSERT_TRUE(std::holds_alternative<Refusal>(outcome)) << list;
    EXPECT_EQ(std::get<Refusal>(outcome).kind, Refusal::Kind::NoChoice);
    EXPECT_EQ(std::get<Refusal>(outcome).text, list);
  }
}

}  // namespace
}  // namespace ombrel
