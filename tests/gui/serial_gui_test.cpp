// The serial link from the main window: boot mode against a boot loader on
// a pseudo-terminal, and the virtual printer's own serial line when it has
// one.

#include <regex>

#include "gui/main_window_fixture.h"
#include "gui/pty_boot_loader.h"
#include "support/child_process.h"
#include "support/run_program.h"

namespace ombrel::gui_test {
namespace {

using test_support::builtProgram;
using test_support::ChildProcess;

std::vector<QWidget*> bootLockedControls(const app::MainControls& ui) {
  return {ui.GroupBox1,     ui.transportRadios[0], ui.transportRadios[1], ui.transportRadios[2],
          ui.cbb_Comname,   ui.cbb_DevBauRate,     ui.cbb_Check,          ui.cbb_TranBauRate,
          ui.edt_Ipaddress, ui.edt_Port,           ui.cbb_UsbDeviceList,  ui.cbb_Lpt,
          ui.cbb_Language,  ui.btn_Test,           ui.btn_SetPara};
}

class BootMode : public MainWindowTest {
 protected:
  bool locked() const {
    for (QWidget* control : bootLockedControls(ui())) {
      if (control->isEnabled()) return false;
    }
    return ui().Timer1->isActive();
  }
  bool unlocked() const {
    for (QWidget* control : bootLockedControls(ui())) {
      if (!control->isEnabled()) return false;
    }
    return !ui().Timer1->isActive();
  }
};

TEST_F(BootMode, HandshakeUntilTheBootLoaderAnswersThenTheControlsComeBack) {
  PtyBootLoader loader(5);
  start(20, [&] { return std::vector<std::string>{loader.portPath()}; });
  ui().but_bootIn->click();
  EXPECT_TRUE(locked());
  EXPECT_TRUE(ui().but_bootIn->isEnabled());
  EXPECT_TRUE(ui().but_bootOut->isEnabled());

  ASSERT_TRUE(waitFor([&] { return unlocked(); }));
  EXPECT_GE(loader.handshakeBytes(), 5);
  EXPECT_FALSE(ui().transportRadios[3]->isEnabled());
  EXPECT_EQ(window_->engine().bootReply(), "");
  EXPECT_FALSE(window_->engine().linkOpen());
  EXPECT_TRUE(boxes_.shown().empty());
}

TEST_F(BootMode, LeavingByHandGivesTheControlsBackAtOnce) {
  PtyBootLoader loader(std::nullopt);
  start(50, [&] { return std::vector<std::string>{loader.portPath()}; });
  ui().but_bootIn->click();
  ASSERT_TRUE(waitFor([&] { return loader.handshakeBytes() > 0; }));
  ui().but_bootOut->click();
  const int bytesWhenLeft = loader.handshakeBytes();
  EXPECT_TRUE(unlocked());
  // The handshake that runs stops at its next byte and frees the port.
  waitUntilIdle();
  EXPECT_LE(loader.handshakeBytes() - bytesWhenLeft, 2);
  EXPECT_FALSE(window_->engine().linkOpen());
  EXPECT_TRUE(unlocked());
}

// The virtual printer on a pseudo-terminal, when this build has one.
class VirtualPrinterOnPty : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    const auto help = test_support::runProgram(builtProgram("ombrel-vprinter"), {"--help"});
    if (help.out.find("--pty") == std::string::npos) GTEST_SKIP() << "ombrel-vprinter has no --pty yet";
  }

  // Starts it and returns the path of its serial line.
  std::string startPrinter(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), "--pty");
    printer_ = std::make_unique<ChildProcess>(builtProgram("ombrel-vprinter"), arguments);
    static const std::regex kReady("pty (\\S+)");
    while (const auto line = printer_->readLine(std::chrono::seconds(10))) {
      std::smatch match;
      if (std::regex_match(*line, match, kReady)) return match[1];
    }
    return {};
  }

  std::unique_ptr<ChildProcess> printer_;
};

TEST_F(VirtualPrinterOnPty, LinkTestAtTwoRates) {
  const std::string port = startPrinter({});
  ASSERT_FALSE(port.empty()) << "no \"pty PATH\" line from the virtual printer";
  start(20, [&] { return std::vector<std::string>{port}; });
  ui().btn_Test->click();
  ASSERT_TRUE(waitFor([&] { return !boxes_.shown().empty(); }));
  EXPECT_EQ(boxes_.shown(), std::vector<std::string>{"information: 连接成功"});
  waitUntilIdle();
  EXPECT_EQ(status(), port + "Found");
}

TEST_F(VirtualPrinterOnPty, BootModeAgainstItsBootLoader) {
  const std::string port = startPrinter({"--boot-after", "3"});
  ASSERT_FALSE(port.empty()) << "no \"pty PATH\" line from the virtual printer";
  start(20, [&] { return std::vector<std::string>{port}; });
  ui().but_bootIn->click();
  ASSERT_TRUE(waitFor([&] { return ui().btn_Test->isEnabled(); }));
  EXPECT_FALSE(ui().Timer1->isActive());
  EXPECT_FALSE(window_->engine().linkOpen());
}

}  // namespace
}  // namespace ombrel::gui_test
