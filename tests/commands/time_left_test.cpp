// The time left of a transfer: reports in at given protocol times, the text
// shown after each (or nothing), and its place on ombrelctl's progress line.

#include "commands/time_left.h"

#include <gtest/gtest.h>

#include <vector>

#include "cli/progress_line.h"
#include "commands/transfer_texts.h"
#include "protocol/codes.h"

namespace ombrel {
namespace {

using Phase = TransferPhase;

struct Report {
  Phase phase;
  std::int64_t done;
  std::int64_t total;
  std::int64_t atMs;
  const char* shown;  // "" for nothing
};

TEST(TimeLeft, EstimatesFromTheRateSoFarAndTheWaitsToCome) {
  constexpr std::int64_t kTwoMiB = 2 * 1024 * 1024;
  const struct {
    const char* what;
    int task;
    int language;
    std::vector<Report> reports;
  } cases[] = {
      {"a raw stream counts the restart wait in from its start, then counts the wait down",
       kTaskRawProgramTransfer,
       0,
       {{Phase::Connecting, 0, 0, 0, ""},
        {Phase::WaitingForPort, 0, 5000, 100, ""},
        {Phase::Sending, 256, kTwoMiB, 5500, ""},
        {Phase::Sending, 512, kTwoMiB, 5900, "剩余 55:02"},
        {Phase::Sending, kTwoMiB, kTwoMiB, 3300000, "剩余 0:26"},
        {Phase::PrinterRestarting, 250, 26000, 3300300, "剩余 0:26"},
        {Phase::PrinterRestarting, 26000, 26000, 3326000, "剩余 0:00"},
        {Phase::Ended, 0, 0, 3326100, ""}}},
      {"a short raw stream passes 10 s with the restart wait",
       kTaskRawProgramTransfer,
       1,
       {{Phase::Sending, 256, 1024, 0, ""}, {Phase::Sending, 512, 1024, 400, "0:27 left"}}},
      {"the same program update has no wait after it",
       kTaskProgramUpdate,
       1,
       {{Phase::Sending, 256, 1024, 0, ""}, {Phase::Sending, 512, 1024, 400, ""}}},
      {"10 s is not shown, past it the time left stays to the end",
       kTaskProgramUpdate,
       1,
       {{Phase::Sending, 1000, 12000, 0, ""},
        {Phase::Sending, 2000, 12000, 1000, ""},
        {Phase::Sending, 2500, 12000, 1600, "0:11 left"},
        {Phase::Sending, 11000, 12000, 10000, "0:01 left"}}},
      {"each file of a list download is measured from its own first report",
       kTaskFontDownload,
       1,
       {{Phase::Sending, 1000, 300000, 0, ""},
        {Phase::Sending, 2000, 300000, 100, "0:30 left"},
        {Phase::Sending, 500, 300000, 200, ""},
        {Phase::Sending, 1500, 300000, 400, "1:00 left"}}},
      {"a read-back measures what arrives; from an hour on the hours lead",
       kTaskReadBack,
       0,
       {{Phase::Receiving, 0, 4194304, 0, ""}, {Phase::Receiving, 1024, 4194304, 1000, "剩余 1:08:15"}}},
      {"the end forgets the task: the next starts hidden and without the restart wait",
       kTaskRawProgramTransfer,
       1,
       {{Phase::Sending, 256, 1024, 0, ""},
        {Phase::Sending, 512, 1024, 400, "0:27 left"},
        {Phase::Ended, 0, 0, 500, ""},
        {Phase::Sending, 256, 1024, 1000, ""},
        {Phase::Sending, 512, 1024, 1400, ""}}},
  };
  for (const auto& c : cases) {
    TimeLeftEstimate estimate;
    estimate.start(c.task);
    for (const Report& report : c.reports) {
      const auto left = estimate.take({report.phase, report.done, report.total}, report.atMs);
      EXPECT_EQ(left ? timeLeftText(*left, c.language) : "", report.shown) << c.what << " at " << report.atMs;
    }
  }
}

TEST(TimeLeft, WholeSecondsRoundUpAcrossTheHour) {
  EXPECT_EQ(timeLeftText(3599000, 1), "59:59 left");
  EXPECT_EQ(timeLeftText(3599001, 1), "1:00:00 left");
  EXPECT_EQ(timeLeftText(36000000, 0), "剩余 10:00:00");
}

TEST(TimeLeft, StandsAfterThePhaseOnTheProgressLineInPlaceOfAWaitsOwnSeconds) {
  const TransferProgress quarter{Phase::Sending, 3072, 12288};
  EXPECT_EQ(cli::progressLine(quarter, 44400, "Finish 25.0%(12/48)", 1),
            "[######..................]  25.0% Sending  0:45 left  Finish 25.0%(12/48)");
  EXPECT_EQ(cli::progressLine(quarter, std::nullopt, "", 0), "[######..................]  25.0% 发送");
  const TransferProgress restarting{Phase::PrinterRestarting, 6000, 26000};
  EXPECT_EQ(cli::progressLine(restarting, 20000, "", 0), "[#####...................]  23.0% 打印机重启  剩余 0:20");
  EXPECT_EQ(cli::progressLine(restarting, std::nullopt, "", 1),
            "[#####...................]  23.0% Printer restarting, 20 s left");
}

}  // namespace
}  // namespace ombrel
