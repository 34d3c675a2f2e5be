// Closing the main window while a long task runs ends the program within a
// second, measured on the real program's ending.

#include <gtest/gtest.h>

#include <chrono>

#include "settings/temp_dir.h"
#include "support/child_process.h"
#include "support/run_program.h"

namespace ombrel::gui_test {
namespace {

using namespace std::chrono_literals;

class ClosingTheMainWindow : public ::testing::TestWithParam<const char*> {};

TEST_P(ClosingTheMainWindow, DuringALongTaskEndsTheProgramWithinASecond) {
  testing::TempDir dir;
  test_support::ChildProcess probe(test_support::builtProgram("close_during_task_probe"),
                                   {GetParam(), dir.path().string()});
  ASSERT_EQ(probe.readLine(30s), "closing");
  const auto closed = std::chrono::steady_clock::now();
  const auto status = probe.waitForExit(10s);
  const auto took = std::chrono::steady_clock::now() - closed;
  ASSERT_TRUE(status) << "still running 10 s after its window closed";
  EXPECT_TRUE(status->exited);
  EXPECT_LT(took, 1s) << std::chrono::duration_cast<std::chrono::milliseconds>(took).count() << " ms";
}

// The boot handshake runs for most of a minute against a silent printer; the
// link test waits 3 s for each reply and retries.
INSTANTIATE_TEST_SUITE_P(Tasks, ClosingTheMainWindow, ::testing::Values("but_bootIn", "btn_Test"));

}  // namespace
}  // namespace ombrel::gui_test
