// The time left of a transfer: reports in at given protocol times, the text
// shown after each (or nothing), and its place on ombrelctl's progress line.

#include "commands/time_left.h"

#include <gtest/gtest.h>

#include "cli/progress_line.h"
#include "commands/transfer_texts.h"
#include "protocol/codes.h"

namespace ombrel {
namespace {

using Phase = TransferPhase;

TEST(TimeLeft, EstimatesFromTheRateSoFarAndTheWaitsToCome) {
  const struct {
    int task;  // started before this report, when not 0
    Phase phase;
    std::int64_t done, total, atMs;
    const char* shown;  // "" for nothing
  } reports[] = {
      // A raw stream counts the restart wait in from its start, once 2 s are measured, then counts the wait
      // down; hours lead past an hour.
      {kTaskRawProgramTransfer, Phase::WaitingForPort, 0, 5000, 0, ""},
      {0, Phase::Sending, 256, 4194304, 5500, ""},
      {0, Phase::Sending, 512, 4194304, 5900, ""},
      {0, Phase::Sending, 1536, 4194304, 7500, "剩余 1:49:38"},
      {0, Phase::PrinterRestarting, 250, 26000, 6600000, "剩余 0:26"},
      {0, Phase::Ended, 0, 0, 6630000, ""},
      // The end forgot the wait, and that it was shown: these 4 s stay hidden.
      {0, Phase::Sending, 256, 1024, 0, ""},
      {0, Phase::Sending, 512, 1024, 2000, ""},
      // 10 s is not shown; past it the time left stays to the end.
      {kTaskProgramUpdate, Phase::Sending, 1000, 13000, 0, ""},
      {0, Phase::Sending, 3000, 13000, 2000, ""},
      {0, Phase::Sending, 3200, 13000, 2400, "剩余 0:11"},
      {0, Phase::Sending, 12000, 13000, 11000, "剩余 0:01"},
      // Each file of a list download is measured from its own first report.
      {kTaskFontDownload, Phase::Sending, 1000, 300000, 0, ""},
      {0, Phase::Sending, 21000, 300000, 2000, "剩余 0:28"},
      {0, Phase::Sending, 500, 300000, 2100, ""},
      {0, Phase::Sending, 10500, 300000, 4100, "剩余 0:58"},
  };
  TimeLeftEstimate estimate;
  for (const auto& report : reports) {
    if (report.task != 0) estimate.start(report.task);
    const auto left = estimate.take({report.phase, report.done, report.total}, report.atMs);
    EXPECT_EQ(left ? timeLeftText(*left, 0) : "", report.shown) << "report " << &report - reports;
  }
}

TEST(TimeLeft, TakesTheWaitsOwnSecondsPlaceOnTheProgressLine) {
  EXPECT_EQ(cli::progressLine({Phase::PrinterRestarting, 6000, 26000}, 20000, "Finish", 1),
            "[#####...................]  23.0% Printer restarting  0:20 left  Finish");
}

}  // namespace
}  // namespace ombrel
