// The faults of a printer on a byte stream, a pseudo-terminal or the one
// behind a USB node: replies are checked, and a dead line fails as a silent
// one. Every row holds on both wires, so both run them all.

#include "e2e/fault_matrix.h"

namespace ombrel::test_support {

std::vector<FaultRow> byteStreamRows() {
  return {
      {"Framed_CorruptCheck", TaskKind::Framed, {"--corrupt-check"}, 1, kReceivedFailed, kStreamReadWaitMs},
      {"Framed_DuplicatedReplies", TaskKind::Framed, {"--duplicate"}, 0, "", 0},
      {"Framed_DelayedPastTheWait", TaskKind::Framed, {"--delay", "1000"}, 1, kReceivedFailed, kStreamReadWaitMs},
      {"Framed_HangUpAfterIdentifying",
       TaskKind::Framed,
       {"--hang-up-after", "1"},
       1,
       kDownloadFailed,
       3 * kCommandWaitMs},
      {"Download_DroppedReply", TaskKind::Download, {"--drop-every", "2"}, 0, "", 2 * kCommandWaitMs},
      {"Download_DelayedPastTheWait", TaskKind::Download, {"--delay", "1000"}, 1, kReceivedFailed, kStreamReadWaitMs},
      {"Download_SilentMidTransfer",
       TaskKind::Download,
       {"--silent-after", "2"},
       1,
       kDownloadFailed,
       3 * kCommandWaitMs},
      {"Download_HangUpMidTransfer",
       TaskKind::Download,
       {"--hang-up-after", "2"},
       1,
       kDownloadFailed,
       3 * kCommandWaitMs},
      {"ReadBack_DuplicatedReplies", TaskKind::ReadBack, {"--duplicate-from", "3"}, 0, "", 0},
      {"ReadBack_SilentMidTransfer",
       TaskKind::ReadBack,
       {"--silent-after", "2"},
       1,
       kReceivedFailed,
       3 * kStreamReadWaitMs},
      {"ReadBack_HangUpMidTransfer",
       TaskKind::ReadBack,
       {"--hang-up-after", "3"},
       1,
       kReceivedFailed,
       3 * kStreamReadWaitMs},
  };
}

}  // namespace ombrel::test_support
