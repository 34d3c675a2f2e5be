// ombrelctl --each-arrival under the USB test bed: printers that arrive one
// after the other are each set up with the next serial number, each logged,
// and the settings keep the number for the printer after them.

#include <csignal>
#include <sstream>

#include "e2e/ctl_fixture.h"
#include "e2e/serial_line_log.h"
#include "support/child_process.h"
#include "settings/temp_dir.h"
#include "texts/ini_file.h"
#include "usb/usb_testbed.h"

namespace ombrel::test_support {
namespace {

using namespace std::chrono_literals;

// The device frame's data: "Kasse" and the serial number, each in 20 bytes.
std::string deviceData(const std::string& serial) {
  std::string hex = "4B 61 73 73 65";
  for (int i = 5; i < 20; ++i) hex += " 00";
  for (const char digit : serial) hex += " 3" + std::string(1, digit);
  for (std::size_t i = serial.size(); i < 20; ++i) hex += " 00";
  return hex;
}

bool receivedDeviceWrite(VirtualPrinter& printer, const std::string& serial) {
  const std::string frame = "rx frame: 02 00 85 00 00 00 00 00 00 00 00 00 28 00 AF 00 " + deviceData(serial);
  for (const auto& line : lineLog(printer)) {
    if (line.rfind(frame, 0) == 0) return true;
  }
  return false;
}

// The three lines of one printer set up with the device write.
void expectSetUp(ChildProcess& line, const std::string& identity) {
  for (const std::string& expected :
       {"USB 打印机 " + identity + " 已插入", std::string("设置设备参数成功"), "USB 打印机 " + identity + " 已设置"}) {
    EXPECT_EQ(line.readLine(20s), expected);
  }
}

using EachArrival = CtlTest;

TEST_F(EachArrival, PrintersArrivingOneAfterTheOtherGetConsecutiveNumbers) {
  UsbTestbed bed;
  // Both listen at the rate the tool leaves on the terminal behind the node.
  VirtualPrinter first(OnPty{}, {"--baud", "38400"});
  VirtualPrinter second(OnPty{}, {"--baud", "38400"});
  const std::string log = dir() + "/line.jsonl";
  ChildProcess line(builtProgram("ombrelctl"),
                    {"--dir", dir(), "--each-arrival", "--log", log, "--set", "DeviceName=Kasse", "--set",
                     "DeviceSerialNo=1704269998", "--set", "calculate=1", "btn_SetDevicePara"},
                    {{"OMBREL_TIME_SCALE", "20"}});
  ASSERT_EQ(line.readLine(20s), "等待 USB 打印机；按 Ctrl-C 结束");

  const std::string one = bed.addDevice("1-1", "0fe6", "811e", 0, first.ptyPath());
  expectSetUp(line, "VID_0FE6&PID_811E");
  // The test bed announces a removal before the device leaves its tree, so
  // the list read on that notice may still hold it: the next printer is of
  // another make, which no such list can hide.
  bed.removeDevice(one);
  bed.addDevice("1-2", "0483", "811e", 1, second.ptyPath());
  expectSetUp(line, "VID_0483&PID_811E");
  line.sendSignal(SIGINT);
  const auto ended = line.waitForExit(20s);
  ASSERT_TRUE(ended.has_value());
  EXPECT_TRUE(ended->exited);
  EXPECT_EQ(ended->code, 0);

  EXPECT_TRUE(receivedDeviceWrite(first, "1704269998"));
  EXPECT_TRUE(receivedDeviceWrite(second, "1704269999"));
  EXPECT_EQ(IniFile(dir() + "/sysconfig.ini").readString("ParaDefault", "DeviceSerialNo", ""), "1704270000");
  std::istringstream lines(fileContent(log));
  for (const auto& [identity, serial] :
       {std::pair{"VID_0FE6&PID_811E", "1704269998"}, std::pair{"VID_0483&PID_811E", "1704269999"}}) {
    std::string entry;
    ASSERT_TRUE(std::getline(lines, entry));
    EXPECT_NE(entry.find("\"link\":\"usb:" + std::string(identity) +
                         "\",\"printer\":\"OMB80\",\"device_name\":\"Kasse\","
                         "\"serial_number\":\"" +
                         serial + "\",\"outcome\":\"written\""),
              std::string::npos)
        << entry;
  }
}

TEST_F(EachArrival, TheSavedRecipeRunsOnAnArrivingPrinterAndItsRowIsLogged) {
  UsbTestbed bed;
  VirtualPrinter printer(OnPty{}, {"--baud", "38400"});
  testing::writeFile(dir() + "/sysconfig.ini",
                     "[ParaDefault]\r\nDeviceName=Kasse\r\nDeviceSerialNo=1704269998\r\ncalculate=1\r\n"
                     "[ProductionLine]\r\nActions=btn_SetDevicePara\r\nOnlyIdentity=omb\r\n");
  const std::string log = dir() + "/line.jsonl";
  ChildProcess line(builtProgram("ombrelctl"), {"--dir", dir(), "--each-arrival", "--recipe", "--log", log},
                    {{"OMBREL_TIME_SCALE", "20"}});
  ASSERT_EQ(line.readLine(20s), "等待 USB 打印机；按 Ctrl-C 结束");
  bed.addDevice("1-1", "0fe6", "811e", 0, printer.ptyPath());
  expectSetUp(line, "VID_0FE6&PID_811E");
  line.sendSignal(SIGINT);
  const auto ended = line.waitForExit(20s);
  ASSERT_TRUE(ended.has_value());
  EXPECT_EQ(ended->code, 0);

  EXPECT_TRUE(receivedDeviceWrite(printer, "1704269998"));
  std::istringstream lines(fileContent(log));
  std::string written;
  std::string row;
  ASSERT_TRUE(std::getline(lines, written));
  ASSERT_TRUE(std::getline(lines, row));
  EXPECT_NE(written.find(R"("serial_number":"1704269998","outcome":"written")"), std::string::npos) << written;
  EXPECT_NE(
      row.find(R"("link":"usb:VID_0FE6&PID_811E","printer":"OMB80","serial_number":"1704269998","result":"passed")"),
      std::string::npos)
      << row;
}

}  // namespace
}  // namespace ombrel::test_support
