// The desktop program's pieces that need no window: MainDefault, the link
// boxes' numbers, idle lines and the command line.

#include <gtest/gtest.h>

#include <filesystem>

#include "app/app_options.h"
#include "app/idle_lines.h"
#include "app/link_text.h"
#include "app/usb_choice.h"
#include "settings/main_defaults.h"
#include "settings/temp_dir.h"

namespace ombrel::app {
namespace {

using ombrel::testing::readFile;
using ombrel::testing::TempDir;
using ombrel::testing::writeFile;

TEST(MainDefaultsTest, DefaultsWithoutAFileAndStoredValuesBackAgain) {
  TempDir dir;
  const MainDefaults none = loadMainDefaults(IniFile(dir / "sysconfig.ini"));
  EXPECT_EQ(none.ipAddress, "192.168.1.87");
  EXPECT_EQ(none.language, 0);
  EXPECT_EQ(none.tranMode, 0);

  // Another section's keys stay; key names match whatever their case.
  writeFile(dir / "sysconfig.ini", "[ParaDefault]\r\nBaudRate=9600\r\n[maindefault]\r\ntranmode=7\r\n");
  EXPECT_EQ(loadMainDefaults(IniFile(dir / "sysconfig.ini")).tranMode, 7);
  IniFile file(dir / "sysconfig.ini");
  storeMainDefaults(file, {"10.0.0.9", 1, 2, "/dev/ttyUSB1", "19200", "115200", "VID_0FE6&PID_811E"});
  file.save();
  EXPECT_EQ(readFile(dir / "sysconfig.ini"),
            "[ParaDefault]\r\nBaudRate=9600\r\n[maindefault]\r\ntranmode=2\r\nIP Address=10.0.0.9\r\n"
            "Language=1\r\nComName=/dev/ttyUSB1\r\nDevBaudRate=19200\r\nTranBaudRate=115200\r\n"
            "UsbDevice=VID_0FE6&PID_811E\r\n");
  const MainDefaults back = loadMainDefaults(IniFile(dir / "sysconfig.ini"));
  EXPECT_EQ(back.ipAddress, "10.0.0.9");
  EXPECT_EQ(back.language, 1);
  EXPECT_EQ(back.tranMode, 2);
  EXPECT_EQ(back.usbDevice, "VID_0FE6&PID_811E");
}

TEST(LinkTextTest, WholeNumbersOnly) {
  EXPECT_EQ(parseWholeNumber("115200"), 115200);
  EXPECT_EQ(parseWholeNumber("+9600"), 9600);
  EXPECT_EQ(parseWholeNumber("-1"), -1);
  for (const char* text : {"", "96 00", "9600 ", "0x10", "12.5", "abc", "99999999999", "+", "-"}) {
    EXPECT_FALSE(parseWholeNumber(text)) << text;
  }
  EXPECT_EQ(hostPortFromText("9100"), 9100);
  EXPECT_EQ(hostPortFromText("port"), 5100);
  EXPECT_EQ(hostPortFromText(""), 5100);
}

TEST(UsbChoiceTest, AChoiceNamesThePrinterAtItsPortAStoredOneFallsBackToItsIdentity) {
  const std::vector<UsbDeviceName> present{
      {"VID_0FE6&PID_811E", "1-1"}, {"VID_0FE6&PID_811E", "1-2"}, {"VID_0483&PID_811E", "1-3"}};
  const std::optional<std::size_t> none;
  const struct {
    const char* choice;
    std::optional<std::size_t> chosen, stored;
  } rows[] = {
      {"VID_0FE6&PID_811E", 0, 0},
      {"VID_0FE6&PID_811E@1-2", 1, 1},
      {"VID_0FE6&PID_811E@1-9", none, 0},
      {"VID_0483&PID_811E@1-2", none, 2},
      {"@1-3", 2, 2},
      {"VID_1111&PID_811E", none, none},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(chosenUsbPrinter(present, row.choice), row.chosen) << row.choice;
    EXPECT_EQ(storedUsbPrinter(present, row.choice), row.stored) << row.choice;
  }
}

TEST(UsbChoiceTest, ThePortIsToldThePortWhereTheIdentityAloneWouldOpenAnother) {
  const UsbDeviceName printer{"VID_0483&PID_811E", "1-3"};
  EXPECT_EQ(usbPortChoice({{"VID_0483&PID_8120", "1-1"}, printer}, printer), "VID_0483&PID_811E");
  // The port picks by product id: another vendor's printer would be taken as well as a twin.
  EXPECT_EQ(usbPortChoice({{"VID_0FE6&PID_811E", "1-1"}, printer}, printer), "VID_0483&PID_811E@1-3");
}

TEST(IdleLinesTest, LineFeedsEndLinesAndCarriageReturnsVanish) {
  EXPECT_EQ(idleDataLines({'o', 'k', '\r', '\n', '\n', 'b', '\r', 'y'}), (std::vector<std::string>{"ok", "", "by"}));
  EXPECT_EQ(idleDataLines({'\r'}), std::vector<std::string>{});
  // GBK text from the printer reads as Chinese.
  EXPECT_EQ(idleDataLines({0xD6, 0xD0, 0xCE, 0xC4, '\n'}), std::vector<std::string>{"中文"});
}

TEST(AppOptionsTest, DirectoryAndMistakes) {
  EXPECT_EQ(parseAppOptions({"--dir", "/tmp/x"}).dir, "/tmp/x");
  EXPECT_EQ(parseAppOptions({"--dir=/tmp/y"}).dir, "/tmp/y");
  EXPECT_TRUE(parseAppOptions({}).error.empty());
  EXPECT_EQ(parseAppOptions({"--dir"}).error, "--dir needs a directory");
  EXPECT_EQ(parseAppOptions({"--link", "net:1.2.3.4"}).error, "unknown argument: --link");
}

}  // namespace
}  // namespace ombrel::app
