#include "texts/language_file.h"

#include <gtest/gtest.h>

#include "settings/temp_dir.h"
#include "texts/fake_window.h"

namespace ombrel {
namespace {

using testing::FakeWindow;
using testing::TempDir;
using testing::writeFile;

// The two windows with a few of their controls, and private text tables so
// that tests do not disturb each other.
class LanguageFileTest : public ::testing::Test {
 protected:
  LanguageFileTest() {
    main.add("GroupBox1", "选择通讯端口");
    main.add("btn_Test", "测试通讯");
    main.add("edt_Port", "5100");
    main.add("cbb_Lpt", "");
    para.add("btn_SetBauRate", "设置", "发送波特率");
    para.add("chk_buzzer", "蜂鸣器");
  }

  void apply(int index) { applyLanguage(index, {dir.path()}, {&main, &para}, items, messages); }

  TempDir dir;
  FakeWindow main{"FrmMain", "Ombrel Setting Tool V1.0"};
  FakeWindow para{"FrmPara", "Ombrel Setting Tool"};
  ItemTexts items;
  MessageTexts messages;
  const ItemTexts builtInItems;
  const MessageTexts builtInMessages;
};

TEST_F(LanguageFileTest, WithoutLanguageFilesNothingChanges) {
  apply(1);
  apply(0);
  EXPECT_EQ(main.caption(), "Ombrel Setting Tool V1.0");
  EXPECT_EQ(main.control("btn_Test").text, "测试通讯");
  EXPECT_EQ(main.captionSets() + main.control("btn_Test").sets + para.control("btn_SetBauRate").sets, 0);
  EXPECT_EQ(messages.all(), builtInMessages.all());
  EXPECT_EQ(items.items(ItemList::TransMode), builtInItems.items(ItemList::TransMode));
}

TEST_F(LanguageFileTest, IndexOneChoosesEnglishAnyOtherChinese) {
  EXPECT_EQ(languageFileName(1), "English.lng");
  EXPECT_EQ(languageFileName(0), "Chinese.lng");
  EXPECT_EQ(languageFileName(2), "Chinese.lng");
  EXPECT_EQ(languageFileName(-1), "Chinese.lng");

  writeFile(dir / "English.lng", "[String]\nsConnectOKstr=Connected\n");
  writeFile(dir / "Chinese.lng", "[String]\nsConnectOKstr=已连接\n");
  apply(2);
  EXPECT_EQ(messages.text("sConnectOKstr"), "已连接");
  apply(1);
  EXPECT_EQ(messages.text("sConnectOKstr"), "Connected");
}

TEST_F(LanguageFileTest, ASingleKeyChangesOnlyThatText) {
  writeFile(dir / "English.lng", "[FrmMain]\nbtn_Test.Caption=Test link\n");
  apply(1);
  EXPECT_EQ(main.control("btn_Test").text, "Test link");
  EXPECT_EQ(main.control("btn_Test").sets, 1);
  EXPECT_EQ(main.control("GroupBox1").text, "选择通讯端口");
  EXPECT_EQ(main.control("GroupBox1").sets, 0);
  EXPECT_EQ(main.caption(), "Ombrel Setting Tool V1.0");
  EXPECT_EQ(para.control("btn_SetBauRate").text, "设置");
  EXPECT_EQ(para.control("btn_SetBauRate").hint, "发送波特率");
  EXPECT_EQ(messages.all(), builtInMessages.all());
  for (ItemList list : kAllItemLists) EXPECT_EQ(items.items(list), builtInItems.items(list));
}

TEST_F(LanguageFileTest, AppliesCaptionsHintsItemsAndMessages) {
  writeFile(dir / "English.lng",
            "[FrmMain]\nCaption=Setting Tool\nGroupBox1.Caption=Port\n"
            "[FrmPara]\nbtn_SetBauRate.Caption=Set\nbtn_SetBauRate.Hint=Send the baud rate\n"
            "[Trans Mode]\n0=Serial port selected\n3=Parallel port selected\n4=no such item\n"
            "[Dark description]\n1=Normal\n"
            "[String]\nsMsg25=Flow control set\nsNoSuchKey=ignored\n");
  apply(1);
  EXPECT_EQ(main.caption(), "Setting Tool");
  EXPECT_EQ(main.control("GroupBox1").text, "Port");
  EXPECT_EQ(para.control("btn_SetBauRate").text, "Set");
  EXPECT_EQ(para.control("btn_SetBauRate").hint, "Send the baud rate");
  EXPECT_EQ(items.items(ItemList::TransMode), (std::vector<std::string>{"Serial port selected", "当前选择以太网",
                                                                        "当前选择USB", "Parallel port selected"}));
  EXPECT_EQ(items.item(ItemList::Dark, 1), "Normal");
  EXPECT_EQ(messages.text("sMsg25"), "Flow control set");
  EXPECT_EQ(messages.all().size(), builtInMessages.all().size());
}

TEST_F(LanguageFileTest, ChineseFileLackingKeysKeepsTheEnglishTexts) {
  writeFile(dir / "English.lng",
            "[FrmMain]\nbtn_Test.Caption=Test link\nGroupBox1.Caption=Port\n"
            "[Paper Type]\n0=Receipt paper\n1=Label paper\n"
            "[String]\nsConnectOKstr=Connected\nsMsg1=Enter a device name\n");
  writeFile(dir / "Chinese.lng",
            "[FrmMain]\nbtn_Test.Caption=测试通讯\n"
            "[Paper Type]\n0=热敏票据纸\n"
            "[String]\nsConnectOKstr=连接成功\n");
  apply(1);
  apply(0);
  EXPECT_EQ(main.control("btn_Test").text, "测试通讯");
  EXPECT_EQ(main.control("GroupBox1").text, "Port");
  EXPECT_EQ(items.items(ItemList::PaperType), (std::vector<std::string>{"热敏票据纸", "Label paper"}));
  EXPECT_EQ(messages.text("sConnectOKstr"), "连接成功");
  EXPECT_EQ(messages.text("sMsg1"), "Enter a device name");
}

TEST_F(LanguageFileTest, SectionAndKeyNamesMatchWhateverTheirCase) {
  writeFile(dir / "English.lng",
            "[frmmain]\nBTN_TEST.CAPTION=Test link\ncaption=Tool\n"
            "[TRANS MODE]\n1=Ethernet selected\n"
            "[string]\nSCONNECTOKSTR=Connected\n");
  apply(1);
  EXPECT_EQ(main.control("btn_Test").text, "Test link");
  EXPECT_EQ(main.caption(), "Tool");
  EXPECT_EQ(items.item(ItemList::TransMode, 1), "Ethernet selected");
  EXPECT_EQ(messages.text("sConnectOKstr"), "Connected");
}

TEST_F(LanguageFileTest, EmptyTextsAndHintsAreNeverChangedAndEditsCountTheirText) {
  writeFile(dir / "English.lng",
            "[FrmMain]\ncbb_Lpt.Caption=LPT1\ncbb_Lpt.Hint=Parallel port\nbtn_Test.Hint=Press to test\n"
            "edt_Port.Caption=9100\n");
  apply(1);
  EXPECT_EQ(main.control("cbb_Lpt").text, "");
  EXPECT_EQ(main.control("cbb_Lpt").hint, "");
  EXPECT_EQ(main.control("btn_Test").hint, "");
  EXPECT_EQ(main.control("edt_Port").text, "9100");
}

TEST_F(LanguageFileTest, AWindowWithoutCaptionKeepsIt) {
  FakeWindow untitled{"FrmMain", ""};
  writeFile(dir / "English.lng", "[FrmMain]\nCaption=Setting Tool\n");
  applyLanguage(1, {dir.path()}, {&untitled}, items, messages);
  EXPECT_EQ(untitled.caption(), "");
  EXPECT_EQ(untitled.captionSets(), 0);
}

TEST_F(LanguageFileTest, TextsAreSetOnlyWhenTheyChange) {
  writeFile(dir / "Chinese.lng", "[FrmMain]\nbtn_Test.Caption=测试通讯\nCaption=Ombrel Setting Tool V1.0\n");
  apply(0);
  EXPECT_EQ(main.control("btn_Test").sets, 0);
  EXPECT_EQ(main.captionSets(), 0);
}

TEST_F(LanguageFileTest, GbkEncodedFileLoads) {
  // "[FrmMain] btn_Test.Caption=测试" and "[String] sConnectOKstr=中文" in code page 936.
  writeFile(dir / "Chinese.lng",
            "[FrmMain]\r\nbtn_Test.Caption=\xB2\xE2\xCA\xD4\r\n[String]\r\nsConnectOKstr=\xD6\xD0\xCE\xC4\r\n");
  apply(0);
  EXPECT_EQ(main.control("btn_Test").text, "测试");
  EXPECT_EQ(messages.text("sConnectOKstr"), "中文");
}

TEST_F(LanguageFileTest, TheFirstDirectoryHoldingTheFileWins) {
  TempDir beside;
  writeFile(beside / "English.lng", "[String]\nsConnectOKstr=from beside the program\nsMsg1=beside\n");
  applyLanguage(1, {dir.path(), beside.path()}, {&main}, items, messages);
  EXPECT_EQ(messages.text("sConnectOKstr"), "from beside the program");

  writeFile(dir / "English.lng", "[String]\nsConnectOKstr=from the program directory\n");
  applyLanguage(1, {dir.path(), beside.path()}, {&main}, items, messages);
  EXPECT_EQ(messages.text("sConnectOKstr"), "from the program directory");
}

}  // namespace
}  // namespace ombrel
