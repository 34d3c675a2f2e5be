// The raw actions on the USB link (tests/e2e/raw_actions.h): the printer's
// node leads to its pseudo-terminal.

#include "e2e/raw_actions.h"
#include "usb/usb_testbed.h"

namespace ombrel::test_support {
namespace {

class UsbRawActions : public RawActionRun, public ::testing::WithParamInterface<RawActionRow> {
 protected:
  void runAgainst(bool answering) {
    // Behind a USB node the printer listens at the kernel's 38400 bit/s.
    std::vector<std::string> options{"--baud", "38400"};
    if (!answering) options.push_back("--silent");
    VirtualPrinter printer(OnPty{}, options);
    bed.addDevice("1-1", "0fe6", "811e", 0, printer.ptyPath());
    check(GetParam(), printer, "usb:VID_0FE6&PID_811E", true, answering);
  }

  UsbTestbed bed;
};

TEST_P(UsbRawActions, SentOnceThePrinterAnswered) { runAgainst(true); }
TEST_P(UsbRawActions, FailWithoutAnAnswer) { runAgainst(false); }

INSTANTIATE_TEST_SUITE_P(RawActions, UsbRawActions, ::testing::ValuesIn(rawActionRows()), rawRowName);

}  // namespace
}  // namespace ombrel::test_support
