#include "settings/para_settings.h"

#include <gtest/gtest.h>

#include <tuple>

#include "settings/para_control_state.h"
#include "settings/para_layout.h"
#include "temp_dir.h"
#include "texts/message_texts.h"
#include "texts/text_codec.h"

namespace ombrel {
namespace {

using testing::TempDir;
using testing::writeFile;

// Loads `content` as sysconfig.ini into fresh controls.
ParaControlState loaded(const TempDir& dir, std::string_view content, const ItemTexts& items = itemTexts()) {
  if (!content.empty()) writeFile(dir / "sysconfig.ini", content);
  ParaControlState controls(items);
  putItemTexts(controls, items);
  LoadParaSettings(IniFile(dir / "sysconfig.ini"), controls, items);
  return controls;
}

std::vector<std::string> savedKeys(const TempDir& dir, const ParaControls& controls) {
  IniFile file(dir / "sysconfig.ini");
  SaveParaSettings(file, controls);
  file.save();
  return IniFile(dir / "sysconfig.ini").keys(kParaSection);
}

// A row's columns fit together: a value for every item, a known warning for
// every address check, a range for every number check.
TEST(ParaLayout, RowsGiveEveryItemAValueAndEveryCheckWhatItNeeds) {
  const ParaControlState controls;
  for (const ControlSpec& row : paraLayout()) {
    EXPECT_TRUE(row.itemValues.empty() || row.itemValues.size() == controls.items(row.name).size()) << row.name;
    EXPECT_TRUE(row.check != BoxCheck::AddressOnLeave || messageTexts().text(row.checkWarning) != row.checkWarning)
        << row.name;
    EXPECT_TRUE(row.check != BoxCheck::RangeOnEnter || row.range) << row.name;
  }
}

TEST(ParaSettings, NoFileGivesEveryDefault) {
  TempDir dir;
  const auto controls = loaded(dir, "");
  EXPECT_EQ(controls.text("cbb_BauRate"), "9600");
  EXPECT_EQ(controls.index("cbb_BauRate"), 3);
  EXPECT_EQ(controls.index("cbb_Codepage"), 4);
  EXPECT_EQ(controls.text("cbb_Dark"), "正常");
  EXPECT_EQ(controls.text("edt_sleepTime"), "600");  // the key's default, not the layout's 60
  EXPECT_EQ(controls.text("edt_NetWorkPort"), "1345678");
  EXPECT_EQ(controls.text("edt_DeviceSerialNo"), "");
  EXPECT_EQ(controls.index("rg_lyMode"), 1);
  EXPECT_TRUE(controls.checked("Chb_CloseWifi"));
  EXPECT_TRUE(controls.checked("rb_StaticIP"));
  EXPECT_TRUE(controls.checked("rb_Plus"));
  EXPECT_EQ(controls.text("cbb_Flowcontrol"), "硬件流控");
  EXPECT_EQ(controls.text("Cbx_Bluetooth"), "取消蓝牙隐身");
  EXPECT_TRUE(controls.visible("bt_firmware"));
  EXPECT_FALSE(controls.visible("btn_UpdatePrg"));
}

TEST(ParaSettings, SaveWritesTheFiftyFiveKeysInTableOrder) {
  TempDir dir;
  const auto keys = savedKeys(dir, loaded(dir, ""));
  ASSERT_EQ(keys.size(), 55u);
  std::vector<std::string> expected;
  for (const auto& key : paraKeys()) {
    if (key.saved) expected.push_back(key.key);
  }
  EXPECT_EQ(keys, expected);
  EXPECT_EQ(IniFile(dir / "sysconfig.ini").readString(kParaSection, "Dark", ""), "正常");
}

TEST(ParaSettings, UnmatchedListTextsWithAndWithoutFallback) {
  TempDir dir;
  const auto controls = loaded(dir, "[ParaDefault]\nBaudRate=14400\nDark=Normal\nPaperType=nothing\n");
  EXPECT_EQ(controls.index("cbb_BauRate"), -1);
  EXPECT_EQ(controls.text("cbb_BauRate"), "");
  EXPECT_EQ(controls.text("cbb_Dark"), "微淡");  // first item
  EXPECT_EQ(controls.index("cbb_PaperType"), 0);
}

// A file saved under one interface language names the same items under the
// other; saving writes the current language's text.
TEST(ParaSettings, StoredTextsOfTheOtherLanguageChooseTheSameItem) {
  const std::pair<ItemList, std::vector<std::string>> englishLists[] = {
      {ItemList::Dark, {"Light", "Normal", "Dark", "Darkest"}},
      {ItemList::UsbDeviceType, {"USB virtual serial port", "USB printer port"}},
      {ItemList::PrinterOrder, {"Reverse", "Forward"}},
      {ItemList::BluetoothSeek, {"Hide Bluetooth", "Show Bluetooth"}},
  };
  // Both interfaces know the English file's texts; one shows them.
  ItemTexts chinese;
  ItemTexts english;
  for (const auto& [list, texts] : englishLists) {
    for (std::size_t i = 0; i < texts.size(); ++i) {
      chinese.addKnownItem(list, i, texts[i]);
      english.addKnownItem(list, i, texts[i]);
      english.setItem(list, i, texts[i]);
    }
  }
  const std::string chineseFile =
      "[ParaDefault]\nDark=正常\nUsbDeviceTpe=USB打印口\nPrinterOrder=正序\nBluetoothSEEK=取消蓝牙隐身\n";
  const std::string englishFile =
      "[ParaDefault]\nDark=Normal\nUsbDeviceTpe=USB printer port\nPrinterOrder=Forward\nBluetoothSEEK=Show "
      "Bluetooth\n";
  for (const auto& [language, file, saved] :
       {std::tuple{&english, chineseFile, "Normal"}, std::tuple{&chinese, englishFile, "正常"}}) {
    TempDir dir;
    auto controls = loaded(dir, file, *language);
    for (const char* control : {"cbb_Dark", "cbb_UsbDeviceTpe", "cbb_PrinterOrder", "Cbx_Bluetooth"}) {
      EXPECT_EQ(controls.index(control), 1) << control << " from " << file;
    }
    savedKeys(dir, controls);
    EXPECT_EQ(IniFile(dir / "sysconfig.ini").readString(kParaSection, "Dark", ""), saved);
  }
}

TEST(ParaSettings, RadioValuesOutOfRange) {
  TempDir dir;
  auto controls = loaded(dir, "[ParaDefault]\nBlueToolthMode=7\nBlueToolthCheck=-3\nIpType=5\ncalculate=9\n");
  EXPECT_EQ(controls.index("rg_lyMode"), 2);
  EXPECT_EQ(controls.index("rg_lyPswcheck"), -1);
  EXPECT_TRUE(controls.checked("rb_StaticIP"));  // unchanged from the layout
  EXPECT_FALSE(controls.checked("rb_Minus"));
  EXPECT_FALSE(controls.checked("rb_Plus"));
  savedKeys(dir, controls);
  const IniFile saved(dir / "sysconfig.ini");
  EXPECT_EQ(saved.readString(kParaSection, "BlueToolthCheck", ""), "-1");
  EXPECT_EQ(saved.readString(kParaSection, "IpType", ""), "1");
  EXPECT_EQ(saved.readString(kParaSection, "calculate", ""), "1");
}

TEST(ParaSettings, ReadOnlyKeysAreNeverWritten) {
  TempDir dir;
  auto controls = loaded(dir, "[ParaDefault]\nFlowcontrol=软件流控\nUpdatafirmware=0\n");
  EXPECT_EQ(controls.index("cbb_Flowcontrol"), 0);
  EXPECT_TRUE(controls.visible("btn_UpdatePrg"));
  EXPECT_FALSE(controls.visible("bt_firmware"));
  controls.setIndex("cbb_Flowcontrol", 1);
  savedKeys(dir, controls);
  const IniFile saved(dir / "sysconfig.ini");
  EXPECT_EQ(saved.readString(kParaSection, "Flowcontrol", ""), "软件流控");
  EXPECT_EQ(saved.readString(kParaSection, "Updatafirmware", ""), "0");
}

TEST(ParaSettings, GbkFileFromTheOriginalPlatformLoads) {
  TempDir dir;
  const std::string gbk = TextCodec::utf8ToGbk("[ParaDefault]\r\nDark=高浓度\r\nDeviceName=打印机\r\n");
  auto controls = loaded(dir, gbk);
  EXPECT_EQ(controls.index("cbb_Dark"), 3);
  EXPECT_EQ(controls.text("edt_DeviceName"), "打印机");
}

TEST(SerialNumberStep, FollowsTheChosenDirection) {
  EXPECT_EQ(steppedSerialNumber("1704269998", false, true), "1704269999");
  EXPECT_EQ(steppedSerialNumber("1704269998", true, false), "1704269997");
  EXPECT_EQ(steppedSerialNumber("0099", false, true), "100");
  EXPECT_EQ(steppedSerialNumber("1704269998", false, false), std::nullopt);
  EXPECT_EQ(steppedSerialNumber("", false, true), std::nullopt);
  EXPECT_THROW(steppedSerialNumber("2147483648", false, true), std::invalid_argument);
  EXPECT_THROW(steppedSerialNumber("12ab", false, true), std::invalid_argument);
}

}  // namespace
}  // namespace ombrel
