// ombrelctl on the USB link: fake USB printers that the real libudev sees,
// the printer's node leading to the virtual printer's pseudo-terminal, and
// the exact bytes that reached it.

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "e2e/ctl_fixture.h"
#include "e2e/serial_line_log.h"
#include "usb/usb_testbed.h"

namespace ombrel::test_support {
namespace {

const std::string kPrinterLink = "usb:VID_0FE6&PID_811E";
// A USB printer port has no line rate, and the tool leaves the rate of the
// pseudo-terminal behind the node at the kernel's 38400: the printer listens
// there, so that nothing it hears is line noise.
const std::vector<std::string> kBehindUsbNode = {"--baud", "38400"};

class UsbLink : public CtlTest {
 protected:
  // ombrelctl, first dropping to the user and groups that `drop` gives to
  // setpriv, when it gives any.
  ProgramRun runAs(const std::vector<std::string>& drop, std::vector<std::string> arguments) {
    if (drop.empty()) return ctl(std::move(arguments));
    std::vector<std::string> all = drop;
    all.insert(all.end(), {builtProgram("ombrelctl"), "--dir", dir()});
    all.insert(all.end(), arguments.begin(), arguments.end());
    return runProgram("/usr/bin/setpriv", all, {{"OMBREL_TIME_SCALE", "20"}});
  }

  UsbTestbed bed;
};

TEST_F(UsbLink, LinkTestIdentifiesThePrinterAndClosesOnlyAtTheEnd) {
  VirtualPrinter printer(OnPty{}, kBehindUsbNode);
  bed.addDevice("1-1", "0fe6", "811e", 0, printer.ptyPath());
  const auto run = ctl({"--link", kPrinterLink, "btn_Test"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "连接成功\n");
  EXPECT_EQ(lineLog(printer), concat({{"open"}, answered(kSerialIdentify, kIdentity), {"close"}}));
}

TEST_F(UsbLink, FramedThenRawTaskOnThePortThatStaysOpen) {
  VirtualPrinter printer(OnPty{}, kBehindUsbNode);
  bed.addDevice("1-1", "046d", "c52b");
  bed.addDevice("1-2", "0fe6", "811e", 0, printer.ptyPath());
  const auto run = ctl({"--link", kPrinterLink, "task", "6", "47", "task", "26"}, "1");
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out, "设置代码页成功\n");
  EXPECT_EQ(lineLog(printer), concat({{"open"},
                                      answered(kSerialIdentify, kIdentity),
                                      answered("02 00 80 00 00 00 00 00 00 00 00 00 01 00 83 00 2F 2F",
                                               "02 00 80 00 00 00 00 00 00 00 00 00 00 00 82 00"),
                                      answered(kSerialIdentify, kIdentity),
                                      {"rx raw: 8D 00", "close"}}));
}

// A raw task is the first of the run: the port is opened for it (the raw
// actions' table, tests/e2e/raw_actions.h), and an absent printer fails the
// task rather than the bytes going nowhere.
TEST_F(UsbLink, RawTaskInAFreshRunFailsWithoutThePrinter) {
  const auto run = ctl({"--link", kPrinterLink, "task", "26"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err.rfind("Error open USB DEVICE \n", 0), 0u) << run.err;
}

TEST_F(UsbLink, ListNamesTheSerialPortsAndTheUsbPrintersWithTheirPorts) {
  bed.addDevice("1-1", "046d", "c52b");
  bed.addDevice("1-2", "0fe6", "811e");
  bed.addDevice("1-3", "0fe6", "811E", 1, "/dev/null");
  const auto run = ctl({"--list"});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  // Serial ports first, if the machine has any.
  EXPECT_NE(("\n" + run.out).find("\nusb:VID_0FE6&PID_811E@1-2\nusb:VID_0FE6&PID_811E@1-3\n"), std::string::npos)
      << run.out;
  EXPECT_EQ(run.out.find("C52B"), std::string::npos) << run.out;
}

// Two identical printers: a port in the link reaches only the printer
// plugged in there, and a port with no printer opens none.
TEST_F(UsbLink, APortChoosesExactlyThePrinterPluggedInThere) {
  VirtualPrinter first(OnPty{}, kBehindUsbNode);
  VirtualPrinter second(OnPty{}, kBehindUsbNode);
  bed.addDevice("1-1", "0fe6", "811e", 0, first.ptyPath());
  bed.addDevice("1-2", "0fe6", "811e", 1, second.ptyPath());
  struct Row {
    std::string link;
    std::vector<std::string> actions;
    int exitCode;
    std::string errStart;
  };
  std::vector<std::string> expectedAtSecond;
  for (const Row& row :
       std::vector<Row>{{"usb:VID_0FE6&PID_811E@1-2", {"btn_Test"}, 0, "连接成功\n"},
                        {"usb:@1-2", {"btn_Test"}, 0, "连接成功\n"},
                        {"usb:VID_0FE6&PID_811E@1-9", {"task", "10"}, 1, "Error open USB DEVICE \n"}}) {
    std::vector<std::string> arguments = {"--link", row.link};
    arguments.insert(arguments.end(), row.actions.begin(), row.actions.end());
    // The link test's reply wait at scale 20 is too short for two printers
    // served on a loaded two-core machine.
    const auto run = ctl(arguments, "5");
    EXPECT_EQ(run.exitCode, row.exitCode) << row.link << run.err;
    EXPECT_EQ(run.err.rfind(row.errStart, 0), 0u) << row.link << run.err;
    if (row.exitCode == 0) {
      expectedAtSecond = concat({expectedAtSecond, {"open"}, answered(kSerialIdentify, kIdentity), {"close"}});
    }
  }
  // Reading a printer's log ends it: both are read once all rows have run.
  EXPECT_EQ(lineLog(second), expectedAtSecond);
  EXPECT_EQ(lineLog(first), std::vector<std::string>{});
}

TEST_F(UsbLink, APrinterWithoutANodeIsListedButSaysWhyItCannotBeOpened) {
  bed.addDevice("1-1", "0fe6", "811e");
  const auto run = ctl({"--link", kPrinterLink, "task", "10"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err,
            "Error open USB DEVICE \nThe USB device VID_0FE6&PID_811E is present but has no printer node "
            "(/dev/usb/lpN): the USB printer driver (usblp) has not taken it, so it cannot be opened.\n");
}

TEST_F(UsbLink, ANodeThisUserMayNotOpenNamesTheGroupThatMay) {
  // Root may open anything: it runs ombrelctl as nobody instead.
  if (::geteuid() == 0 && ::access("/usr/bin/setpriv", X_OK) != 0) GTEST_SKIP() << "root without setpriv";
  const std::string node = dir() + "/lp0";
  std::ofstream(node).put('\n');
  ::chmod(node.c_str(), 0600);
  bed.addDevice("1-1", "0fe6", "811e", 0, node);
  // The other user has to reach the test bed and the program directory.
  ::chmod(dir().c_str(), 0777);
  ::chmod(bed.root().c_str(), 0777);
  for (const auto& entry : std::filesystem::recursive_directory_iterator(bed.root())) {
    if (!entry.is_symlink()) ::chmod(entry.path().c_str(), 0777);
  }
  const std::string advice =
      "This user may not open /dev/usb/lp0: members of the group lp may. Join it with \"sudo usermod -aG lp "
      "$USER\", then log out and in again.\n";
  std::vector<std::string> asOtherUser;
  if (::geteuid() == 0) asOtherUser = {"--reuid=65534", "--regid=65534", "--clear-groups"};

  auto run = runAs(asOtherUser, {"--link", kPrinterLink, "task", "10"});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err, "Error open USB DEVICE \n" + advice);
  run = runAs(asOtherUser, {"--link", kPrinterLink, "btn_Test"});
  EXPECT_EQ(run.exitCode, 3);
  EXPECT_NE(run.err.find(advice), std::string::npos) << run.err;
}

}  // namespace
}  // namespace ombrel::test_support
