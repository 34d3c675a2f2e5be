#include <gtest/gtest.h>

#include "ports/serial/line_events.h"
#include "ports/serial/read_completion.h"
#include "ports/serial/serial_port_name.h"

namespace ombrel {
namespace {

using std::chrono::milliseconds;

TEST(SerialPortName, ComNamesStandForTheOnBoardPorts) {
  const std::pair<const char*, const char*> cases[] = {
      {"COM1", "/dev/ttyS0"},   {"com2", "/dev/ttyS1"},
      {"Com30", "/dev/ttyS29"}, {"COM0", "COM0"},
      {"COM01", "COM01"},       {"COM", "COM"},
      {"COM1x", "COM1x"},       {"/dev/ttyUSB0", "/dev/ttyUSB0"},
      {"COM-1", "COM-1"},       {"COM99999999999", "COM99999999999"},
  };
  for (const auto& [name, path] : cases) EXPECT_EQ(devicePathFor(name), path) << name;
}

TEST(LineEvents, CounterChangesBecomeErrorAndModemBits) {
  const LineCounters before{5, 6, 7, 8, 9, 10, 11};
  EXPECT_EQ(lineEventsBetween(before, before).errorBits, 0u);
  EXPECT_EQ(lineEventsBetween(before, before).modemBits, 0u);

  LineCounters after = before;
  ++after.carrierChanges;
  after.rings += 2;
  EXPECT_EQ(lineEventsBetween(before, after).modemBits, 12u);
  EXPECT_EQ(lineEventsBetween(before, after).errorBits, 0u);

  after = before;
  ++after.frameErrors;
  ++after.breaks;
  EXPECT_EQ(lineEventsBetween(before, after).errorBits, kLineErrorFrame | kLineErrorBreak);
  after = before;
  ++after.overruns;
  ++after.parityErrors;
  ++after.bufferOverruns;
  EXPECT_EQ(lineEventsBetween(before, after).errorBits, kLineErrorOverrun | kLineErrorParity | kLineErrorInputOverflow);
  EXPECT_EQ(lineEventsBetween(before, after).modemBits, 0u);
}

TEST(ReadCompletion, FollowsTheIntervalAndTotalTimeOuts) {
  const ReadTimePoint start{milliseconds(1000)};
  const ReadTimePoint last{milliseconds(1500)};
  CommTimeouts timeouts;  // interval 100, no total

  EXPECT_FALSE(readCompletionTime(timeouts, start, last, 0)) << "waits without limit for the first byte";
  EXPECT_EQ(readCompletionTime(timeouts, start, last, 3), last + milliseconds(100));

  timeouts.readInterval = 0;
  EXPECT_FALSE(readCompletionTime(timeouts, start, last, 0));
  EXPECT_EQ(readCompletionTime(timeouts, start, last, 3), last) << "delivers what has come";

  timeouts.readTotalMultiplier = 1;
  timeouts.readTotalConstant = 10;
  EXPECT_EQ(readCompletionTime(timeouts, start, last, 0), start + milliseconds(2048 + 10));
  EXPECT_EQ(readCompletionTime(timeouts, start, last, 3), start + milliseconds(2048 + 10))
      << "without an interval the total decides alone";

  timeouts.readInterval = 100;
  EXPECT_EQ(readCompletionTime(timeouts, start, last, 3), last + milliseconds(100)) << "the earlier one wins";
  timeouts.readTotalMultiplier = 0;
  EXPECT_EQ(readCompletionTime(timeouts, start, last, 3), start + milliseconds(10));
}

}  // namespace
}  // namespace ombrel
