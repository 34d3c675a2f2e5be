// A station's printers by their ports: who arrives, waits, runs and leaves,
// and the operator's labels of the ports.

#include <gtest/gtest.h>

#include "commands/port_names.h"
#include "commands/slot_queue.h"

namespace ombrel {
namespace {

// One step's result and the counts after it: "+1-2 -1-1 r1 w0".
std::string changesText(const SlotQueue::Changes& changes) {
  std::string text;
  for (const auto& port : changes.left) text += "-" + port + " ";
  for (const auto& printer : changes.arrived) text += "+" + printer.port + " ";
  return text;
}

TEST(SlotQueue, ArrivalsWaitInOrderForAFreeSlotAndAPortsNewPrinterIsNew) {
  const std::string a = "VID_0FE6&PID_811E";
  const std::string b = "VID_0FE6&PID_811F";
  enum Op { Report, Start, Finish, Retry, Clear };
  struct Step {
    Op op;
    std::vector<UsbDeviceName> now;  // Report
    std::string port;                // Finish, Retry
    std::string expected;
  };
  const std::vector<Step> steps{
      {Report, {{a, "1-1"}, {a, "1-2"}, {a, "1-3"}, {a, ""}}, "", "+1-2 +1-3 r0 w2"},  // no port: passed over
      {Start, {}, "", "1-2 r1 w1"},
      {Start, {}, "", "1-3 r2 w0"},
      {Report, {{a, "1-1"}, {a, "1-2"}, {a, "1-3"}, {a, "1-4"}}, "", "+1-4 r2 w1"},
      {Start, {}, "", "none r2 w1"},  // both slots busy
      {Report, {{a, "1-1"}, {a, "1-2"}, {a, "1-3"}, {a, "1-4"}, {a, "1-5"}}, "", "+1-5 r2 w2"},
      {Report, {{a, "1-1"}, {a, "1-2"}, {a, "1-3"}, {a, "1-5"}}, "", "-1-4 r2 w1"},  // left while waiting
      {Finish, {}, "1-2", "r1 w1"},
      {Start, {}, "", "1-5 r2 w0"},
      {Report, {{b, "1-1"}, {a, "1-2"}, {a, "1-3"}, {a, "1-5"}}, "", "-1-1 +1-1 r2 w1"},  // another printer at 1-1
      {Report, {{b, "1-1"}, {a, "1-2"}, {a, "1-5"}}, "", "-1-3 r1 w1"},                   // left while running
      {Start, {}, "", "1-1 r2 w0"},
      {Retry, {}, "1-2", "true r2 w1"},
      {Retry, {}, "1-2", "true r2 w1"},  // once
      {Retry, {}, "1-5", "true r2 w1"},  // running: not queued twice
      {Retry, {}, "1-3", "false r2 w1"},
      {Clear, {}, "", "r2 w0"},
  };
  SlotQueue queue({{a, "1-1"}}, 2);
  for (std::size_t i = 0; i < steps.size(); ++i) {
    const Step& step = steps[i];
    std::string result;
    switch (step.op) {
      case Report:
        result = changesText(queue.report(step.now));
        break;
      case Start: {
        const auto started = queue.start();
        result = (started ? started->port : "none") + " ";
        break;
      }
      case Finish:
        queue.finished(step.port);
        break;
      case Retry:
        result = queue.retry(step.port) ? "true " : "false ";
        break;
      case Clear:
        queue.clearWaiting();
        break;
    }
    result += "r" + std::to_string(queue.running()) + " w" + std::to_string(queue.waiting());
    EXPECT_EQ(result, step.expected) << "step " << i;
  }

  SlotQueue none({}, 0);  // at least one slot
  none.report({{a, "2-1"}, {a, "2-2"}});
  EXPECT_TRUE(none.start());
  EXPECT_FALSE(none.start());
}

TEST(PortNames, ReadWrittenAndShown) {
  struct Case {
    const char* stored;
    PortNames names;
    const char* written;
  };
  for (const Case& c : std::initializer_list<Case>{
           {"1-1.1:A1,1-1.2:A2", {{"1-1.1", "A1"}, {"1-1.2", "A2"}}, "1-1.1:A1,1-1.2:A2"},
           {" 1-1.2 : A 2 ,1-1.1:Bay:3", {{"1-1.1", "Bay:3"}, {"1-1.2", "A 2"}}, "1-1.1:Bay:3,1-1.2:A 2"},
           {"1-1:A,1-1:B,:C,1-2:,1-3,,", {{"1-1", "A"}}, "1-1:A"},
           {"", {}, ""},
       }) {
    EXPECT_EQ(parsePortNames(c.stored), c.names) << c.stored;
    EXPECT_EQ(portNamesText(c.names), c.written) << c.stored;
  }
  // A label cannot carry the pairs' separator into the stored text.
  EXPECT_EQ(parsePortNames(portNamesText({{"1-1", "A,B"}})), (PortNames{{"1-1", "A B"}}));
  const PortNames names{{"1-1.2", "A2"}};
  EXPECT_EQ(portWithLabel(names, "1-1.2"), "1-1.2 (A2)");
  EXPECT_EQ(portWithLabel(names, "1-1.3"), "1-1.3");
}

}  // namespace
}  // namespace ombrel
