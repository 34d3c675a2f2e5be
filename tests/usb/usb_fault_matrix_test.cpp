// The byte-stream faults on the USB link: the printer's node leads to its
// pseudo-terminal, and a hang-up takes the line behind the node away.

#include "e2e/fault_matrix.h"
#include "usb/usb_testbed.h"

namespace ombrel::test_support {
namespace {

class UsbFaults : public FaultMatrixRun, public ::testing::WithParamInterface<FaultRow> {
 protected:
  UsbTestbed bed;
};

TEST_P(UsbFaults, EndsAsExpected) {
  VirtualPrinter printer(OnPty{}, printerOptions(GetParam(), Wire::Usb));
  bed.addDevice("1-1", "0fe6", "811e", 0, printer.ptyPath());
  check(GetParam(), printer, "usb:VID_0FE6&PID_811E", Wire::Usb, "5");
}

INSTANTIATE_TEST_SUITE_P(FaultMatrix, UsbFaults, ::testing::ValuesIn(byteStreamRows()), rowName);
INSTANTIATE_TEST_SUITE_P(ReplyHeads, UsbFaults, ::testing::ValuesIn(replyHeadRows()), rowName);
INSTANTIATE_TEST_SUITE_P(Verify, UsbFaults, ::testing::ValuesIn(verifyRows()), rowName);

}  // namespace
}  // namespace ombrel::test_support
