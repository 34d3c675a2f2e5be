// Faults of the virtual printer on the network and on a serial line, for a
// framed task, a download and a read-back: each run ends with the right exit
// status and text within its time-outs, trace written and port closed. The
// serial line runs the byte-stream rows that tests/usb runs on USB.

#include "e2e/fault_matrix.h"

namespace ombrel::test_support {
namespace {

// The network link takes replies without examining check bytes, and only
// from the printer's own address, from whichever port.
const FaultRow kUdpRows[] = {
    {"Framed_DroppedReply", TaskKind::Framed, {"--drop-every", "2"}, 0, "", 1000},
    {"Framed_DelayedPastTheWait", TaskKind::Framed, {"--delay", "4000"}, 1, kReceivedFailed, kDatagramReadWaitMs},
    {"Framed_SilentAfterIdentifying", TaskKind::Framed, {"--silent-after", "1"}, 1, kDownloadFailed, 3 * 1000},
    {"Download_DuplicatedReplies", TaskKind::Download, {"--duplicate"}, 0, "", 0},
    {"Download_ReplyFromAnotherPort", TaskKind::Download, {"--reply-from-other-port"}, 0, "", 0, true},
    {"Download_ReplyFromAnotherAddress",
     TaskKind::Download,
     {"--reply-from-address", "127.0.0.2"},
     1,
     kReceivedFailed,
     kDatagramReadWaitMs},
    {"Download_SilentMidTransfer", TaskKind::Download, {"--silent-after", "2"}, 1, kDownloadFailed, 3 * 1000},
    {"Download_HangUpMidTransfer", TaskKind::Download, {"--hang-up-after", "3"}, 1, kDownloadFailed, 3 * 1000},
    {"ReadBack_CorruptCheckIsNotExamined", TaskKind::ReadBack, {"--corrupt-check"}, 0, "", 0},
    {"ReadBack_DroppedReply", TaskKind::ReadBack, {"--drop-every", "3"}, 0, "", 2 * kDatagramReadWaitMs},
    // Once the printer has echoed a block's address, a stale duplicate must
    // not be taken for the next request's reply: the read-back would save
    // every block one place late. (Before that, any reply acknowledges.)
    {"ReadBack_DuplicatedReplies", TaskKind::ReadBack, {"--duplicate-from", "3"}, 0, "", 0},
    {"ReadBack_SilentMidTransfer",
     TaskKind::ReadBack,
     {"--silent-after", "3"},
     1,
     kReceivedFailed,
     3 * kDatagramReadWaitMs},
};

class UdpFaults : public FaultMatrixRun, public ::testing::WithParamInterface<FaultRow> {};

TEST_P(UdpFaults, EndsAsExpected) {
  VirtualPrinter printer(printerOptions(GetParam(), Wire::Udp));
  check(GetParam(), printer, printer.link(), Wire::Udp, "20");
}

INSTANTIATE_TEST_SUITE_P(FaultMatrix, UdpFaults, ::testing::ValuesIn(kUdpRows), rowName);
INSTANTIATE_TEST_SUITE_P(ReplyHeads, UdpFaults, ::testing::ValuesIn(replyHeadRows()), rowName);
INSTANTIATE_TEST_SUITE_P(Verify, UdpFaults, ::testing::ValuesIn(verifyRows()), rowName);

class PtyFaults : public FaultMatrixRun, public ::testing::WithParamInterface<FaultRow> {};

TEST_P(PtyFaults, EndsAsExpected) {
  VirtualPrinter printer(OnPty{}, printerOptions(GetParam(), Wire::Pty));
  check(GetParam(), printer, printer.link(), Wire::Pty, "5");
}

INSTANTIATE_TEST_SUITE_P(FaultMatrix, PtyFaults, ::testing::ValuesIn(byteStreamRows()), rowName);
INSTANTIATE_TEST_SUITE_P(ReplyHeads, PtyFaults, ::testing::ValuesIn(replyHeadRows()), rowName);
INSTANTIATE_TEST_SUITE_P(Verify, PtyFaults, ::testing::ValuesIn(verifyRows()), rowName);

}  // namespace
}  // namespace ombrel::test_support
