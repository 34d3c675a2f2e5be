// The language files that ship with the program: complete, aligned with each
// other, and Chinese.lng holding exactly the built-in texts.

#include <gtest/gtest.h>
#include <strings.h>

#include <fstream>
#include <iterator>
#include <regex>
#include <set>

#include "support/run_program.h"
#include "texts/ini_file.h"
#include "texts/fake_window.h"
#include "texts/language_file.h"
#include "texts/text_codec.h"

namespace ombrel {
namespace {

std::filesystem::path languageDirectory() { return test_support::sourceDirectory() / "lang"; }

std::string lowered(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

class ShippedLanguageFile : public ::testing::TestWithParam<const char*> {
 protected:
  std::filesystem::path path() const { return languageDirectory() / GetParam(); }
};

// As the other system's own files are: GBK with CR LF (plain ASCII, the
// English file, is the same in GBK).
TEST_P(ShippedLanguageFile, IsCompleteGbkWithCrLf) {
  ASSERT_TRUE(std::filesystem::is_regular_file(path())) << path();
  const IniFile file(path());
  EXPECT_EQ(file.encoding(), IniFile::Encoding::Gbk);
  std::ifstream stream(path(), std::ios::binary);
  const std::string bytes{std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()};
  EXPECT_EQ(std::regex_replace(bytes, std::regex("\r\n"), "").find('\n'), std::string::npos);

  for (const char* window : {"FrmMain", "FrmPara", "FrmLine"}) {
    EXPECT_NE(file.readString(window, "Caption", ""), "") << window;
    std::set<std::string> seen;
    for (const std::string& key : file.keys(window)) {
      EXPECT_TRUE(seen.insert(lowered(key)).second) << window << ": " << key << " twice";
      EXPECT_TRUE(key == "Caption" || key.ends_with(".Caption") || key.ends_with(".Hint")) << key;
      EXPECT_NE(file.readString(window, key, ""), "") << window << ": " << key;
    }
  }

  for (ItemList list : kAllItemLists) {
    const std::string section(ItemTexts::sectionName(list));
    std::vector<std::string> expected;
    for (std::size_t i = 0; i < ItemTexts::itemCount(list); ++i) expected.push_back(std::to_string(i));
    EXPECT_EQ(file.keys(section), expected) << section;
  }

  std::vector<std::string> messageKeys;
  for (const auto& [key, text] : MessageTexts().all()) messageKeys.push_back(key);
  ASSERT_EQ(messageKeys.size(), 42u);
  EXPECT_EQ(file.keys("String"), messageKeys);
}

INSTANTIATE_TEST_SUITE_P(BothFiles, ShippedLanguageFile, ::testing::Values("Chinese.lng", "English.lng"));

TEST(ShippedLanguageFiles, EnglishHasAnEntryForEveryChineseKey) {
  const IniFile chinese(languageDirectory() / "Chinese.lng");
  const IniFile english(languageDirectory() / "English.lng");
  ASSERT_FALSE(chinese.sections().empty());
  EXPECT_EQ(english.sections(), chinese.sections());
  for (const std::string& section : chinese.sections()) {
    EXPECT_EQ(english.keys(section), chinese.keys(section)) << section;
  }
}

TEST(ShippedLanguageFiles, EnglishMessagesKeepTheFormatDirectives) {
  const IniFile chinese(languageDirectory() / "Chinese.lng");
  const IniFile english(languageDirectory() / "English.lng");
  const std::regex directive("%[-+ #0-9.]*[a-zA-Z%]");
  const auto directives = [&](const std::string& text) {
    std::vector<std::string> found;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), directive); it != std::sregex_iterator(); ++it) {
      found.push_back(it->str());
    }
    return found;
  };
  for (const std::string& key : chinese.keys("String")) {
    EXPECT_EQ(directives(english.readString("String", key, "")), directives(chinese.readString("String", key, "")))
        << key;
  }
  EXPECT_EQ(directives(chinese.readString("String", "sDnLogFileMsg", "")), (std::vector<std::string>{"%d"}));
}

TEST(ShippedLanguageFiles, ChineseRestoresEveryBuiltInTextAfterEnglish) {
  const ItemTexts builtInItems;
  const MessageTexts builtInMessages;
  ItemTexts items;
  MessageTexts messages;
  testing::FakeWindow main("FrmMain", "Ombrel Setting Tool V1.0");
  main.add("btn_Test", "测试通讯");
  main.add("RadioButton4", "并口");

  applyLanguage(1, {languageDirectory()}, {&main}, items, messages);
  EXPECT_EQ(main.control("btn_Test").text, "Test link");
  EXPECT_EQ(messages.text("sConnectErrorstr"), "Link failed: choose the right port and baud rate");
  for (const auto& [key, text] : messages.all()) EXPECT_TRUE(TextCodec::isValidUtf8(text)) << key;
  EXPECT_NE(messages.all(), builtInMessages.all());

  applyLanguage(0, {languageDirectory()}, {&main}, items, messages);
  EXPECT_EQ(main.control("btn_Test").text, "测试通讯");
  EXPECT_EQ(main.control("RadioButton4").text, "并口");
  EXPECT_EQ(messages.all(), builtInMessages.all());
  for (ItemList list : kAllItemLists) {
    EXPECT_EQ(items.items(list), builtInItems.items(list)) << ItemTexts::sectionName(list);
  }
}

}  // namespace
}  // namespace ombrel
