// The parameters window, offscreen, while the printer fails in the middle of
// a transfer: the window's event loop keeps turning throughout, and the
// failure text shows once the task has ended.

#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <fstream>

#include "e2e/serial_line_log.h"
#include "gui/para_window_fixture.h"

namespace ombrel::gui_test {
namespace {

using test_support::OnPty;
using test_support::VirtualPrinter;
using SteadyClock = std::chrono::steady_clock;

// A tick every 10 ms on the window's thread; a tick that comes much later
// than that means the thread was held up.
constexpr auto kTickPeriod = std::chrono::milliseconds(10);
// Generous for a sanitized build on a busy machine, and still far below the
// seconds a blocked window would show.
constexpr auto kLongestGap = std::chrono::milliseconds(400);

class ParaFaults : public ParaWindowTest {
 protected:
  // Clicks `button`, then runs the event loop until the task has ended;
  // returns the longest time between two ticks of a timer meanwhile.
  SteadyClock::duration longestGapWhile(const char* button) {
    SteadyClock::time_point last = SteadyClock::now();
    SteadyClock::duration longest{};
    QTimer ticks;
    ticks.setInterval(kTickPeriod);
    QObject::connect(&ticks, &QTimer::timeout, [&] {
      const auto now = SteadyClock::now();
      longest = std::max(longest, now - last);
      last = now;
    });
    ticks.start();
    control<QPushButton>(button)->click();
    last = SteadyClock::now();
    EXPECT_TRUE(waitFor([&] { return window_->engine().isBusy(); }, std::chrono::seconds(2)));
    EXPECT_TRUE(waitUntilIdle());
    return longest;
  }
};

TEST_F(ParaFaults, PrinterSilentInTheMiddleOfADownloadOverTheNetwork) {
  // Answers the identification and the first block, then nothing: the second
  // block is sent three times, each waiting 1 s (0.5 s at this scale).
  const VirtualPrinter printer({"--silent-after", "2"});
  const std::string font = dir_.path().string() + "/font.bin";
  std::ofstream(font, std::ios::binary) << std::string(600, 'F');
  openOn(printer, 2);
  controls().setText("edt_FontFile", font);
  controls().setText("edt_FontAddress", "0");
  EXPECT_LT(longestGapWhile("btn_UpdateFont"), kLongestGap);
  EXPECT_EQ(paraStatus(), "Download Data Failed");
  EXPECT_EQ(printer.received().size(), 5u);  // identification, first block, second block three times
}

TEST_F(ParaFaults, PrinterHangsUpTheSerialLineInTheMiddleOfAReadBack) {
  // Answers the change to the task's rate, the identification and two
  // blocks, then drops the line.
  VirtualPrinter printer(OnPty{}, {"--hang-up-after", "4", "--read-block", "16"});
  start(2, [&] { return std::vector<std::string>{printer.ptyPath()}; });
  showPara();
  controls().setText("edt_StartAddress", "0");
  controls().setText("edt_ReadLength", "64");
  boxes_.answerOpen(dir_.path().string() + "/back.hex");
  EXPECT_LT(longestGapWhile("btn_ReadFont"), kLongestGap);
  EXPECT_EQ(paraStatus(), "Received Failed");
  EXPECT_FALSE(std::filesystem::exists(dir_.path() / "back.hex"));
  const auto log = test_support::lineLog(printer);
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log.back(), "hangup");
}

}  // namespace
}  // namespace ombrel::gui_test
