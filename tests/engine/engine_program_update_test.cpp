// The program update tasks on the engine's own threads, against a scripted
// serial printer: cancelling from another thread, progress to the end, and a
// raw stream the port will not take.

#include <thread>

#include "engine_fixture.h"

namespace ombrel::testing_support {
namespace {

using ProgramUpdateEngine = EngineFixture;

constexpr int kBlocks = 400;

// A file whose identity field holds what the scripted printer reports.
TransferJob updateFile() {
  TransferJob job;
  job.stream.assign(kBlocks * 256, 0x5A);
  std::fill_n(job.stream.begin() + 0x3000, 8, 0);
  job.stream[0x3000] = 'A';
  job.stream[0x3001] = 'B';
  job.imageIdentity = "AB";
  job.waitTimeMs = 0;
  return job;
}

TEST_F(ProgramUpdateEngine, CancelFromAnotherThreadStopsAtABlockBoundary) {
  ASSERT_TRUE(engine->StartTask(4, 0, 0, {}, updateFile()));
  cancelAfterFrames(51, 3);
  const Message end = lastMessage();
  EXPECT_EQ(end.id, kTaskFailed);
  EXPECT_EQ(end.text, "Operaton Cancelled");
  const auto commands = commandsSent();
  EXPECT_LT(framesSent(51), kBlocks);
  EXPECT_EQ(commands.back(), 51);
  EXPECT_EQ(printer.events().back(), "close");
  EXPECT_FALSE(engine->linkOpen());
  EXPECT_EQ(host.progress().back().phase, TransferPhase::Ended);
}

TEST_F(ProgramUpdateEngine, ProgressReachesTheWholeFileThenEnds) {
  runTask(0);  // nothing to cancel: a cancel while idle is ignored
  engine->requestCancel();
  ASSERT_TRUE(engine->StartTask(4, 0, 0, {}, updateFile()));
  ASSERT_TRUE(host.waitForTaskEnds(2));
  EXPECT_EQ(lastMessage().id, kTaskSucceeded);
  EXPECT_EQ(commandsSent().back(), 46);
  const auto steps = host.progress();
  ASSERT_GE(steps.size(), 3u);
  EXPECT_EQ(steps.front().phase, TransferPhase::Connecting);
  const TransferProgress last = steps[steps.size() - 2];
  EXPECT_EQ(last.phase, TransferPhase::Sending);
  EXPECT_EQ(last.permille(), 1000);
  EXPECT_EQ(steps.back().phase, TransferPhase::Ended);
}

TEST_F(ProgramUpdateEngine, RawStreamThePortDoesNotTakeFailsTheTask) {
  printer.refuseWrites();
  TransferJob job;
  job.stream.assign(600, 0x11);
  job.waitTimeMs = 0;
  ASSERT_TRUE(engine->StartTask(25, 0, 0, {}, job));
  ASSERT_TRUE(host.waitForTaskEnds(1));
  const Message end = lastMessage();
  EXPECT_EQ(end.id, kTaskFailed);
  EXPECT_EQ(end.text, "Download Data Failed");
  EXPECT_NE(engine->statusText(), "更新程序完成");
  EXPECT_EQ(printer.events().back(), "close");
}

}  // namespace
}  // namespace ombrel::testing_support
