// The virtual printer's faults on the USB link: the printer's node leads to
// its pseudo-terminal, and a hang-up takes the line behind the node away.

#include "e2e/fault_matrix.h"
#include "usb/usb_testbed.h"

namespace ombrel::test_support {
namespace {

const std::string kReceivedFailed = "Received Failed\n";
const std::string kDownloadFailed = "Download Data Failed\n";

const FaultRow kUsbRows[] = {
    {"Framed_CorruptCheck", TaskKind::Framed, {"--corrupt-check"}, 1, kReceivedFailed, kStreamReadWaitMs},
    {"Framed_DelayedPastTheWait", TaskKind::Framed, {"--delay", "1000"}, 1, kReceivedFailed, kStreamReadWaitMs},
    {"Download_DroppedReply", TaskKind::Download, {"--drop-every", "2"}, 0, "", 2 * kCommandWaitMs},
    {"Download_SilentMidTransfer", TaskKind::Download, {"--silent-after", "2"}, 1, kDownloadFailed, 3 * kCommandWaitMs},
    {"Download_HangUpMidTransfer",
     TaskKind::Download,
     {"--hang-up-after", "2"},
     1,
     kDownloadFailed,
     3 * kCommandWaitMs},
    {"ReadBack_DuplicatedReplies", TaskKind::ReadBack, {"--duplicate-from", "3"}, 0, "", 0},
    {"ReadBack_HangUpMidTransfer",
     TaskKind::ReadBack,
     {"--hang-up-after", "3"},
     1,
     kReceivedFailed,
     3 * kStreamReadWaitMs},
};

class UsbFaults : public FaultMatrixRun, public ::testing::WithParamInterface<FaultRow> {
 protected:
  UsbTestbed bed;
};

TEST_P(UsbFaults, EndsAsExpected) {
  VirtualPrinter printer(OnPty{}, printerOptions(GetParam(), Wire::Usb));
  bed.addDevice("1-1", "0fe6", "811e", 0, printer.ptyPath());
  check(GetParam(), printer, "usb:VID_0FE6&PID_811E", Wire::Usb, "5");
}

INSTANTIATE_TEST_SUITE_P(FaultMatrix, UsbFaults, ::testing::ValuesIn(kUsbRows), rowName);
INSTANTIATE_TEST_SUITE_P(ReplyHeads, UsbFaults, ::testing::ValuesIn(replyHeadRows()), rowName);

}  // namespace
}  // namespace ombrel::test_support
