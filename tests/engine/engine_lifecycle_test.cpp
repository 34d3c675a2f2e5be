// The task loop: requests, results, messages and the trace file.

#include "engine_fixture.h"

namespace ombrel::testing_support {
namespace {

using EngineLifecycle = EngineFixture;

TEST_F(EngineLifecycle, CodesWithoutAHandlerEndWithSuccess) {
  runTask(0);
  EXPECT_EQ(lastMessage().id, kTaskSucceeded);
  runTask(44);
  EXPECT_EQ(lastMessage().id, kTaskSucceeded);
  EXPECT_TRUE(printer.writes().empty());
}

TEST_F(EngineLifecycle, AReadBackThatNamesNoFileFailsBeforeOpening) {
  runTask(2);
  EXPECT_EQ(lastMessage().id, kTaskFailed);
  EXPECT_EQ(lastMessage().wParam, kTaskFailedWithText);
  EXPECT_EQ(lastMessage().text, "No file to save the read-back to");
  EXPECT_TRUE(printer.writes().empty());
}

TEST_F(EngineLifecycle, SecondRequestWhileRunningIsRefusedAndChangesNothing) {
  printer.ignoreCommand(131);  // keeps the first task waiting for its replies
  ASSERT_TRUE(engine->StartTask(11, 0, 0, Bytes(56, 0x11)));
  EXPECT_FALSE(engine->StartTask(15, 0, 0, Bytes(40, 0x22)));
  ASSERT_TRUE(host.waitForTaskEnds(1));
  for (const auto& write : printer.writes()) {
    if (frame::readHead(write.data()).command == 131) {
      EXPECT_EQ(Bytes(write.begin() + 16, write.begin() + 72), Bytes(56, 0x11));
    }
    EXPECT_NE(frame::readHead(write.data()).command, 133);
  }
  EXPECT_FALSE(engine->isBusy());
}

TEST_F(EngineLifecycle, FailedTaskStillReplacesTheTraceFile) {
  runTask(6, 1);
  printer.ignoreCommand(48);
  runTask(10);
  EXPECT_EQ(lastMessage().id, kTaskFailed);
  const std::string log = debugLog();
  EXPECT_EQ(log.find(" 80 00 "), std::string::npos) << "first task's code-page frame is gone";
  EXPECT_NE(log.find("Open"), std::string::npos);
}

TEST_F(EngineLifecycle, StatusIsPostedBeforeTheEndOfTheTask) {
  runTask(6, 1);
  const auto messages = host.snapshot();
  ASSERT_GE(messages.size(), 2u);
  EXPECT_EQ(messages[messages.size() - 2].id, kStatusChanged);
  EXPECT_EQ(messages[messages.size() - 2].text, "设置代码页成功");
}

TEST_F(EngineLifecycle, LinkSnapshotProblemFailsTheTaskAndKeepsTheWorker) {
  host.failSnapshots("'abc' is not a valid integer value");
  runTask(6, 1);
  EXPECT_EQ(lastMessage().id, kTaskFailed);
  EXPECT_EQ(lastMessage().text, "'abc' is not a valid integer value");
  EXPECT_TRUE(printer.writes().empty());
  host.failSnapshots("");
  runTask(6, 1);
  EXPECT_EQ(lastMessage().id, kTaskSucceeded);
}

}  // namespace
}  // namespace ombrel::testing_support
