#include "fault_injector.h"

#include <gtest/gtest.h>

#include "protocol/frame.h"

namespace ombrel::vprinter {
namespace {

// The reply to an identify request of a printer called "AB".
Bytes identifyReply() { return frame::build(48, 0, 0, {'A', 'B', 0, 0, 0, 0, 0, 0}, true); }

TEST(FaultInjector, EachFaultShapesTheReplyAsNamed) {
  struct Case {
    const char* name;
    FaultOptions options;
    const char* expectedHex;  // nullptr: withheld
    std::vector<std::string> applied;
  };
  FaultOptions silent;
  silent.silent = true;
  FaultOptions ignoreIdentify;
  ignoreIdentify.ignored = {48};
  FaultOptions ignoreOther;
  ignoreOther.ignored = {49, 52};
  FaultOptions corrupt;
  corrupt.corruptCheck = true;
  FaultOptions shortened;
  shortened.shortReply = true;
  FaultOptions badHead;
  badHead.badHead = true;
  FaultOptions delayed;
  delayed.delayMs = 250;
  FaultOptions badAndCorrupt;
  badAndCorrupt.badHead = true;
  badAndCorrupt.corruptCheck = true;
  badAndCorrupt.shortReply = true;

  const Case cases[] = {
      {"none", {}, "02 00 30 00 00 00 00 00 00 00 00 00 08 00 3A 00 41 42 00 00 00 00 00 00 03", {}},
      {"silent", silent, nullptr, {"silent"}},
      {"ignore 48", ignoreIdentify, nullptr, {"ignore"}},
      {"ignore others", ignoreOther, "02 00 30 00 00 00 00 00 00 00 00 00 08 00 3A 00 41 42 00 00 00 00 00 00 03", {}},
      {"corrupt-check",
       corrupt,
       "02 00 30 00 00 00 00 00 00 00 00 00 08 00 C5 00 41 42 00 00 00 00 00 00 03",
       {"corrupt-check"}},
      {"short-reply", shortened, "02 00 30 00 00 00 00 00 00 00 00 00 08 00 3A", {"short-reply"}},
      {"bad-head", badHead, "02 01 30 00 00 00 00 00 00 00 00 00 08 00 3B 00 41 42 00 00 00 00 00 00 03", {"bad-head"}},
      {"delay", delayed, "02 00 30 00 00 00 00 00 00 00 00 00 08 00 3A 00 41 42 00 00 00 00 00 00 03", {"delay"}},
      {"bad-head, corrupt-check, short-reply",
       badAndCorrupt,
       "02 01 30 00 00 00 00 00 00 00 00 00 08 00 C4",
       {"bad-head", "corrupt-check", "short-reply"}},
  };
  for (const Case& c : cases) {
    FaultInjector faults(c.options);
    const FaultDecision decision = faults.apply(48, identifyReply());
    EXPECT_EQ(decision.applied, c.applied) << c.name;
    if (c.expectedHex == nullptr) {
      EXPECT_FALSE(decision.reply) << c.name;
    } else {
      ASSERT_TRUE(decision.reply) << c.name;
      EXPECT_EQ(toHex(*decision.reply), c.expectedHex) << c.name;
    }
  }
}

TEST(FaultInjector, DropEveryCountsOnlyTheRepliesThatWouldGoOut) {
  FaultOptions options;
  options.dropEvery = 3;
  options.ignored = {50};
  FaultInjector faults(options);
  const std::uint16_t commands[] = {48, 50, 48, 48, 50, 48, 48, 48};
  std::string pattern;
  for (const std::uint16_t command : commands) {
    pattern += faults.apply(command, frame::build(command, 0, 0, {}, true)).reply ? 'R' : '-';
  }
  // Replies 1, 2 go out, the 3rd is dropped; ignored commands do not count.
  EXPECT_EQ(pattern, "R-R--RR-");
}

TEST(FaultInjector, CountedFaultsAnswerTheFirstCommandsOnly) {
  struct Case {
    const char* name;
    FaultOptions options;
    std::string pattern;  // per command: R answered once, D twice, - withheld
    bool hungUp;          // after the last command
  };
  FaultOptions silentAfter;
  silentAfter.silentAfter = 2;
  FaultOptions hangUp;
  hangUp.hangUpAfter = 3;
  FaultOptions duplicated;
  duplicated.duplicate = true;
  duplicated.ignored = {50};
  const Case cases[] = {
      {"silent-after 2", silentAfter, "RR---", false},
      {"hang-up-after 3", hangUp, "RRR--", true},
      {"duplicate, ignored command withheld", duplicated, "DD-DD", false},
  };
  for (const Case& c : cases) {
    FaultInjector faults(c.options);
    std::string pattern;
    for (const int command : {48, 51, 50, 51, 51}) {
      const auto code = static_cast<std::uint16_t>(command);
      const FaultDecision decision = faults.apply(code, frame::build(code, 0, 0, {}, true));
      pattern += !decision.reply ? '-' : decision.copies == 2 ? 'D' : 'R';
    }
    EXPECT_EQ(pattern, c.pattern) << c.name;
    EXPECT_EQ(faults.hungUp(), c.hungUp) << c.name;
  }
}

TEST(FaultInjector, ShortReplyLeavesRepliesOfFifteenBytesOrLessAlone) {
  FaultOptions options;
  options.shortReply = true;
  FaultInjector faults(options);
  const Bytes tiny = {0x02, 0x00, 0x30};
  const FaultDecision decision = faults.apply(48, tiny);
  ASSERT_TRUE(decision.reply);
  EXPECT_EQ(*decision.reply, tiny);
  EXPECT_TRUE(decision.applied.empty());
}

}  // namespace
}  // namespace ombrel::vprinter
