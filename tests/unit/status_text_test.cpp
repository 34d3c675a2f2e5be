#include "engine/status_text.h"

#include <gtest/gtest.h>

namespace ombrel {
namespace {

TEST(ProgressText, PlainTextWithoutTotal) { EXPECT_EQ(progressText("连接...", 5, 0), "连接..."); }

TEST(ProgressText, PerMilleAndCountsInUnitsOf256) {
  EXPECT_EQ(progressText("", 300, 1000), "Finish 30.0%(1/3)");
  EXPECT_EQ(progressText("x", 40960, 40960), "xFinish 100.0%(160/160)");
  EXPECT_EQ(progressText("", 1, 3), "Finish 33.3%(0/0)");
}

TEST(ProgressText, DoneBeyondTotalShowsAHundredPerCent) {
  EXPECT_EQ(progressText("", 2000, 1000), "Finish 100.0%(7/3)");
}

TEST(ProgressText, LargeTransfersDoNotOverflow) {
  EXPECT_EQ(progressText("", 3'000'000'000LL, 4'000'000'000LL), "Finish 75.0%(11718750/15625000)");
}

TEST(StatusThrottle, PostsEveryPlainTextAndTheLastProgressStep) {
  StatusThrottle throttle;
  EXPECT_TRUE(throttle.shouldPost(1000, 0, 0));
  EXPECT_TRUE(throttle.shouldPost(1001, 0, 0));        // total 0 always posts
  EXPECT_FALSE(throttle.shouldPost(1030, 256, 1024));  // within 70 ms
  EXPECT_FALSE(throttle.shouldPost(1071, 512, 1024));  // exactly 70 ms is not more than 70
  EXPECT_TRUE(throttle.shouldPost(1072, 512, 1024));
  EXPECT_TRUE(throttle.shouldPost(1073, 1024, 1024));  // the final step always posts
}

}  // namespace
}  // namespace ombrel
