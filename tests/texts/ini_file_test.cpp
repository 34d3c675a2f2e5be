#include "texts/ini_file.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <climits>

#include "settings/temp_dir.h"
#include "texts/text_codec.h"

namespace ombrel {
namespace {

using testing::readFile;
using testing::TempDir;
using testing::writeFile;

// "测试" and "中文" in code page 936.
constexpr std::string_view kGbkTest = "\xB2\xE2\xCA\xD4";
constexpr std::string_view kGbkChinese = "\xD6\xD0\xCE\xC4";

// `text` written to `name` in `dir`, and that file opened.
IniFile iniWith(const TempDir& dir, const char* name, const std::string& text) {
  writeFile(dir / name, text);
  return IniFile(dir / name);
}

std::size_t countFilesIn(const std::filesystem::path& directory) {
  std::size_t count = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(directory)) ++count;
  return count;
}

TEST(IniFileRead, NamesMatchWhateverTheirCaseAndBlanksAroundThemAreDropped) {
  TempDir dir;
  const IniFile file = iniWith(dir, "sysconfig.ini", "[MainDefault]\r\n  IP Address =  10.0.0.5  \r\nLanguage=1\r\n");

  EXPECT_EQ(file.readString("maindefault", "ip address", "x"), "10.0.0.5");
  EXPECT_EQ(file.readString("MAINDEFAULT", "IP ADDRESS", "x"), "10.0.0.5");
  EXPECT_EQ(file.readInteger("MainDefault", "LANGUAGE", 0), 1);
}

TEST(IniFileRead, MissingFileSectionOrKeyGivesTheDefault) {
  TempDir dir;
  const IniFile file = iniWith(dir, "a.ini", "[One]\nkey=1\n");
  EXPECT_EQ(file.readString("One", "other", "default"), "default");
  EXPECT_EQ(file.readString("Two", "key", "default"), "default");
  EXPECT_EQ(file.readInteger("Two", "key", 42), 42);
  EXPECT_TRUE(file.readBool("Two", "key", true));

  const IniFile missing(dir / "none.ini");
  EXPECT_EQ(missing.readString("One", "key", "d"), "d");
  EXPECT_TRUE(missing.sections().empty());

  // A directory where the file should be reads as an empty file.
  std::filesystem::create_directory(dir / "dir.ini");
  EXPECT_EQ(IniFile(dir / "dir.ini").readInteger("One", "key", 7), 7);
}

TEST(IniFileRead, KeysOutsideTheirSectionDoNotMatch) {
  TempDir dir;
  writeFile(dir / "a.ini", "key=outside\n[A]\nx=1\n[B]\nkey=in B\n; key=comment\n");
  const IniFile file(dir / "a.ini");
  EXPECT_EQ(file.readString("A", "key", "d"), "d");
  EXPECT_EQ(file.readString("B", "key", "d"), "in B");
  EXPECT_EQ(file.keys("B"), (std::vector<std::string>{"key"}));
}

TEST(IniFileRead, FirstSectionAndFirstKeyOfANameWin) {
  TempDir dir;
  const IniFile file = iniWith(dir, "a.ini", "[S]\nk=first\nK=second\n[s]\nk=third\n");
  EXPECT_EQ(file.readString("S", "k", ""), "first");
  EXPECT_EQ(file.sections(), (std::vector<std::string>{"S"}));
}

TEST(IniFileRead, IntegersAcceptDecimalAndBothHexFormsWithSign) {
  struct Case {
    const char* text;
    std::int32_t expected;
  };
  const Case cases[] = {
      {"12", 12},
      {"-7", -7},
      {"+5", 5},
      {"$1F", 31},
      {"0x1f", 31},
      {"0X10", 16},
      {"-$10", -16},
      {"-0x10", -16},
      {"$FFFFFFFF", -1},
      {"2147483647", INT_MAX},
      {"-2147483648", INT_MIN},
      {"  42  ", 42},
      {"007", 7},
      // Not integers: the default, 99.
      {"2147483648", 99},
      {"-2147483649", 99},
      {"$100000000", 99},
      {"12a", 99},
      {"1.5", 99},
      {"", 99},
      {"$", 99},
      {"0x", 99},
      {"-", 99},
      {"$G", 99},
      {"1 2", 99},
      {"x10", 99},
  };
  TempDir dir;
  std::string text = "[N]\n";
  for (std::size_t i = 0; i < std::size(cases); ++i) text += "k" + std::to_string(i) + "=" + cases[i].text + "\n";
  const IniFile file = iniWith(dir, "n.ini", text);
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(file.readInteger("N", "k" + std::to_string(i), 99), cases[i].expected) << '"' << cases[i].text << '"';
  }
}

TEST(IniFileRead, BooleansAreIntegers) {
  TempDir dir;
  const IniFile file = iniWith(dir, "b.ini", "[B]\nyes=1\nno=0\nfive=5\nword=true\n");
  EXPECT_TRUE(file.readBool("B", "yes", false));
  EXPECT_FALSE(file.readBool("B", "no", true));
  EXPECT_TRUE(file.readBool("B", "five", false));
  EXPECT_FALSE(file.readBool("B", "word", false));
  EXPECT_TRUE(file.readBool("B", "word", true));
}

TEST(IniFileRead, ValuesAreCutAt2047CharactersNotBytes) {
  TempDir dir;
  std::string chinese;
  for (int i = 0; i < 3000; ++i) chinese += "中";
  const IniFile file = iniWith(
      dir, "l.ini",
      "[L]\nascii=" + std::string(3000, 'a') + "\nexact=" + std::string(2047, 'b') + "\nchinese=" + chinese + "\n");
  EXPECT_EQ(file.readString("L", "ascii", ""), std::string(2047, 'a'));
  EXPECT_EQ(file.readString("L", "exact", ""), std::string(2047, 'b'));
  EXPECT_EQ(file.readString("L", "chinese", ""), chinese.substr(0, 2047 * 3));
}

TEST(IniFileRead, EnclosingQuotesAreDropped) {
  TempDir dir;
  const IniFile file = iniWith(dir, "q.ini", "[Q]\na=\"quoted text\"\nb='single'\nc=\"unbalanced\nd=\"\n");
  EXPECT_EQ(file.readString("Q", "a", ""), "quoted text");
  EXPECT_EQ(file.readString("Q", "b", ""), "single");
  EXPECT_EQ(file.readString("Q", "c", ""), "\"unbalanced");
  EXPECT_EQ(file.readString("Q", "d", ""), "\"");
}

TEST(IniFileEncoding, Utf8FileWithByteOrderMarkIsReadAndWrittenBackUnchanged) {
  TempDir dir;
  const std::string content = "\xEF\xBB\xBF[FrmMain]\r\nbtn_Test.Caption=测试通讯\r\n";
  const IniFile file = iniWith(dir, "u.lng", content);
  EXPECT_EQ(file.encoding(), IniFile::Encoding::Utf8);
  EXPECT_EQ(file.readString("FrmMain", "btn_Test.Caption", ""), "测试通讯");
  file.save();
  EXPECT_EQ(readFile(dir / "u.lng"), content);
}

TEST(IniFileEncoding, GbkFileIsReadAsGbkAndWrittenBackByteForByte) {
  TempDir dir;
  // An invalid GBK pair in a comment must survive as well.
  const std::string content = "; \x81\x20 comment\r\n[FrmMain]\r\nbtn_Test.Caption=" + std::string(kGbkTest) +
                              "\r\nlast=" + std::string(kGbkChinese);
  IniFile file = iniWith(dir, "g.lng", content);
  EXPECT_EQ(file.encoding(), IniFile::Encoding::Gbk);
  EXPECT_EQ(file.readString("FrmMain", "btn_Test.Caption", ""), "测试");
  EXPECT_EQ(file.readString("FrmMain", "LAST", ""), "中文");
  file.save();
  EXPECT_EQ(readFile(dir / "g.lng"), content);

  // Written values stay GBK; what GBK cannot hold becomes '?'.
  file.writeString("FrmMain", "new", "中文 한");
  file.save();
  EXPECT_EQ(readFile(dir / "g.lng"), content + "\r\nnew=" + std::string(kGbkChinese) + " ?\r\n");
  EXPECT_EQ(IniFile(dir / "g.lng").readString("FrmMain", "new", ""), "中文 ?");
}

TEST(IniFileWrite, KeepsOrderCommentsAndLineEndsAndAppendsWhereTheRulesSay) {
  TempDir dir;
  writeFile(
      dir / "w.ini",
      "; settings\r\n[MainDefault]\r\nIP Address=1.2.3.4\r\nLanguage=0\r\n\r\n[ParaDefault]\r\nBaudRate=9600\r\n");
  IniFile file(dir / "w.ini");
  file.writeString("maindefault", "LANGUAGE", "1");
  file.writeInteger("MainDefault", "TranMode", 2);
  file.writeBool("ParaDefault", "buzzer", true);
  file.writeString("New Section", "key", "value");
  file.save();
  EXPECT_EQ(readFile(dir / "w.ini"),
            "; settings\r\n[MainDefault]\r\nIP Address=1.2.3.4\r\nLanguage=1\r\nTranMode=2\r\n\r\n"
            "[ParaDefault]\r\nBaudRate=9600\r\nbuzzer=1\r\n[New Section]\r\nkey=value\r\n");
  const IniFile reread(dir / "w.ini");
  EXPECT_EQ(reread.readInteger("MainDefault", "TranMode", 0), 2);
  EXPECT_EQ(reread.readString("new section", "KEY", ""), "value");
}

// Chinese values as a program that reads the file as GBK only sees them.
TEST(IniFileEncoding, NewAndAsciiFilesAreWrittenAsGbkAndUtf8FilesStayUtf8) {
  struct Case {
    const char* name;
    std::string before;  // empty: no file yet
    bool gbk;
    std::string after;  // as text, whatever the file's encoding
  };
  const Case cases[] = {
      {"new", "", true, "[ParaDefault]\r\nDark=正常\r\nUsbDeviceTpe=USB打印口\r\n"},
      {"ascii", "[ParaDefault]\nDark=Normal\nRptTime=30", true,
       "[ParaDefault]\nDark=正常\nRptTime=30\nUsbDeviceTpe=USB打印口\n"},
      {"utf8", "[ParaDefault]\r\nDeviceName=打印机\r\n", false,
       "[ParaDefault]\r\nDeviceName=打印机\r\nDark=正常\r\nUsbDeviceTpe=USB打印口\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    const auto path = dir / "sysconfig.ini";
    if (!c.before.empty()) writeFile(path, c.before);
    IniFile file(path);
    file.writeString("ParaDefault", "Dark", "正常");
    file.writeString("ParaDefault", "UsbDeviceTpe", "USB打印口");
    file.save();
    const std::string bytes = readFile(path);
    EXPECT_EQ(TextCodec::isValidUtf8(bytes), !c.gbk);
    EXPECT_EQ(c.gbk ? TextCodec::gbkToUtf8(bytes) : bytes, c.after);
    EXPECT_EQ(IniFile(path).readString("ParaDefault", "Dark", ""), "正常");
  }
}

// A file is UTF-8 with a byte-order mark, the program's marker, or non-ASCII
// text that is UTF-8 of CJK and punctuation only; a saved file keeps its
// encoding, whatever it now holds.
TEST(IniFileEncoding, DetectionAndSavedFilesKeepTheirEncoding) {
  struct Case {
    const char* name;
    std::string content;
    IniFile::Encoding encoding;
    std::string value;
  };
  const Case cases[] = {
      {"GBK that is valid UTF-8", "[S]\r\nName=\xD7\xA8\xD2\xB5\r\n", IniFile::Encoding::Gbk, "专业"},
      {"UTF-8 Chinese", "[S]\nName=专业，“好”\n", IniFile::Encoding::Utf8, "专业，“好”"},
      {"byte-order mark", "\xEF\xBB\xBF[S]\nName=Café\n", IniFile::Encoding::Utf8, "Café"},
      {"marker", "; 编码: UTF-8\n[S]\nName=Café\n", IniFile::Encoding::Utf8, "Café"},
      {"ASCII", "[S]\nName=plain\n", IniFile::Encoding::Gbk, "plain"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir dir;
    const IniFile file = iniWith(dir, "e.ini", c.content);
    EXPECT_EQ(file.encoding(), c.encoding);
    EXPECT_EQ(file.readString("S", "Name", ""), c.value);
  }
  TempDir dir;
  IniFile file = iniWith(dir, "e.ini", "[S]\nName=专业\n");
  file.writeString("S", "Name", "Café");
  file.save();
  EXPECT_EQ(readFile(dir / "e.ini"), "[S]\nName=Café\n; 编码: UTF-8\n");
  EXPECT_EQ(IniFile(dir / "e.ini").readString("S", "Name", ""), "Café");
}

// Reading drops blanks and enclosing quotes, and takes a file whose text is
// UTF-8 of Chinese as UTF-8: values that would lose either, or GBK bytes that
// happen to be such UTF-8, are written so that they read back as written.
TEST(IniFileWrite, ValuesReadBackAsWritten) {
  struct Case {
    std::string value;
    std::string line;  // as stored in the (GBK) file
  };
  const Case cases[] = {
      {" home ", "Ssid=\" home \""},
      {"'quoted'", "Ssid=\"'quoted'\""},
      {"\"\"", "Ssid=\"\"\"\""},
      {"plain 'inner' text", "Ssid=plain 'inner' text"},
      {"专业", "Ssid=\xD7\xA8\xD2\xB5"},
      // GBK bytes that are the UTF-8 of "测试" get the GBK marker line.
      {"娴嬭瘯", "Ssid=\xE6\xB5\x8B\xE8\xAF\x95\r\n; \xB1\xE0\xC2\xEB: GBK"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    TempDir dir;
    IniFile file = iniWith(dir, "q.ini", "[S]\r\n");
    file.writeString("S", "Ssid", c.value);
    EXPECT_EQ(file.readString("S", "Ssid", ""), c.value);
    file.save();
    EXPECT_EQ(readFile(dir / "q.ini"), "[S]\r\n" + c.line + "\r\n");
    const IniFile reread(dir / "q.ini");
    EXPECT_EQ(reread.encoding(), IniFile::Encoding::Gbk);
    EXPECT_EQ(reread.readString("S", "Ssid", ""), c.value);
  }
}

TEST(IniFileWrite, ValuesCannotAddLinesAndUnreadableNamesAreRefused) {
  TempDir dir;
  IniFile file(dir / "v.ini");
  file.writeString("S", "name", "evil\r\n[Other]\nkey=1");
  file.save();
  const IniFile reread(dir / "v.ini");
  EXPECT_EQ(reread.readString("S", "name", ""), "evil  [Other] key=1");
  EXPECT_EQ(reread.sections(), (std::vector<std::string>{"S"}));

  EXPECT_THROW(file.writeString("S", "a=b", "1"), std::invalid_argument);
  EXPECT_THROW(file.writeString("S", "  ", "1"), std::invalid_argument);
  EXPECT_THROW(file.writeString("S]", "a", "1"), std::invalid_argument);
  EXPECT_THROW(file.writeString("S", "line\nbreak", "1"), std::invalid_argument);
  EXPECT_THROW(file.writeString("S", " ;comment", "1"), std::invalid_argument);
}

TEST(IniFileSave, KeepsPermissionsAndWritesThroughASymbolicLink) {
  TempDir dir;
  writeFile(dir / "real.ini", "[A]\nx=1\n");
  std::filesystem::permissions(dir / "real.ini", std::filesystem::perms(0640));
  std::filesystem::create_symlink("real.ini", dir / "link.ini");
  IniFile file(dir / "link.ini");
  file.writeString("A", "x", "2");
  file.save();
  EXPECT_TRUE(std::filesystem::is_symlink(dir / "link.ini"));
  EXPECT_EQ(readFile(dir / "real.ini"), "[A]\nx=2\n");
  EXPECT_EQ(std::filesystem::status(dir / "real.ini").permissions(), std::filesystem::perms(0640));
  EXPECT_EQ(countFilesIn(dir.path()), 2u);
}

TEST(IniFileSave, ReadOnlyDirectoryLeavesTheOldFileAndReportsFailure) {
  TempDir dir;
  const std::string old = "[A]\nx=1\n";
  IniFile file = iniWith(dir, "s.ini", old);
  file.writeString("A", "x", "2");
  std::filesystem::permissions(dir.path(), std::filesystem::perms(0555));
  if (access(dir.path().c_str(), W_OK) == 0) GTEST_SKIP() << "a privileged user writes into read-only directories";

  try {
    file.save();
    FAIL() << "save reported success";
  } catch (const EIniWriteError& error) {
    EXPECT_EQ(std::string(error.what()), "Unable to write to " + (dir / "s.ini").string());
  }
  EXPECT_EQ(readFile(dir / "s.ini"), old);
  EXPECT_EQ(countFilesIn(dir.path()), 1u);
}

TEST(IniFileSave, FailedRenameRemovesTheTemporaryFile) {
  TempDir dir;
  // A directory in the file's place: the new file is written but cannot replace it.
  std::filesystem::create_directory(dir / "s.ini");
  writeFile(dir / "s.ini" / "inside", "x");
  IniFile file(dir / "s.ini");
  file.writeString("A", "x", "1");
  EXPECT_THROW(file.save(), EIniWriteError);
  EXPECT_EQ(countFilesIn(dir.path()), 1u);
  EXPECT_EQ(readFile(dir / "s.ini" / "inside"), "x");
}

TEST(IniFileSave, WriteThatStopsHalfwayLeavesTheOldFileWhole) {
  TempDir dir;
  const std::string old = "[A]\nx=1\n";
  IniFile file = iniWith(dir, "s.ini", old);
  file.writeString("A", "big", std::string(2000, 'z'));

  // The file size limit stops the write after 1024 bytes, also for root.
  rlimit saved{};
  getrlimit(RLIMIT_FSIZE, &saved);
  const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved;
  small.rlim_cur = 1024;
  setrlimit(RLIMIT_FSIZE, &small);
  EXPECT_THROW(file.save(), EIniWriteError);
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, previousHandler);

  EXPECT_EQ(readFile(dir / "s.ini"), old);
  EXPECT_EQ(countFilesIn(dir.path()), 1u);
}

}  // namespace
}  // namespace ombrel
