// The serial ports offered for a link, from a fake sysfs tree.

#include <gtest/gtest.h>

#include <filesystem>

#include "ports/serial_port_list.h"
#include "settings/temp_dir.h"

namespace ombrel {
namespace {

namespace fs = std::filesystem;
using ombrel::testing::TempDir;
using ombrel::testing::writeFile;

class SerialPortListTest : public ::testing::Test {
 protected:
  SerialPortListTest() {
    sources_ = {dir_ / "class/tty", "/dev", dir_ / "by-id"};
    fs::create_directories(sources_.ttyClass);
  }
  // A terminal; with a device behind it unless `device` is false; with a
  // port type file when `type` is not empty.
  void terminal(const std::string& name, bool device = true, const std::string& type = {}) {
    fs::create_directories(sources_.ttyClass / name);
    if (device) fs::create_directories(sources_.ttyClass / name / "device");
    if (!type.empty()) writeFile(sources_.ttyClass / name / "type", type + "\n");
  }

  TempDir dir_;
  SerialPortSources sources_;
};

TEST_F(SerialPortListTest, DevicesInNaturalOrderThenStableNames) {
  terminal("ttyUSB10");
  terminal("ttyS1", true, "4");
  terminal("ttyUSB2");
  terminal("ttyACM0");
  terminal("tty5", false);       // a virtual console: no device
  terminal("ttyS3", true, "0");  // a UART slot with nothing in it
  fs::create_directories(sources_.byIdDir);
  writeFile(sources_.byIdDir / "usb-FTDI_FT232R-if00-port0", "");
  writeFile(sources_.byIdDir / "usb-1a86_CH340-if00-port0", "");

  EXPECT_EQ(listSerialPorts(sources_),
            (std::vector<std::string>{"/dev/ttyACM0", "/dev/ttyS1", "/dev/ttyUSB2", "/dev/ttyUSB10",
                                      (sources_.byIdDir / "usb-1a86_CH340-if00-port0").string(),
                                      (sources_.byIdDir / "usb-FTDI_FT232R-if00-port0").string()}));
}

TEST_F(SerialPortListTest, NothingFoundWhenTheDirectoriesAreMissingOrEmpty) {
  EXPECT_TRUE(listSerialPorts(sources_).empty());
  EXPECT_TRUE(listSerialPorts({dir_ / "none", "/dev", dir_ / "none"}).empty());
}

}  // namespace
}  // namespace ombrel
