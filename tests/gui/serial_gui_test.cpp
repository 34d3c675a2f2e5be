// The serial link from the main window: boot mode against a boot loader on
// a pseudo-terminal, and the virtual printer on a serial line of its own.

#include "e2e/virtual_printer.h"
#include "gui/main_window_fixture.h"
#include "gui/pty_boot_loader.h"

namespace ombrel::gui_test {
namespace {

using test_support::OnPty;
using test_support::VirtualPrinter;

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

using VirtualPrinterOnPty = MainWindowTest;

TEST_F(VirtualPrinterOnPty, LinkTestAtTwoRates) {
  const VirtualPrinter printer(OnPty{});
  const std::string port = printer.ptyPath();
  start(20, [&] { return std::vector<std::string>{port}; });
  ui().btn_Test->click();
  ASSERT_TRUE(waitFor([&] { return !boxes_.shown().empty(); }));
  EXPECT_EQ(boxes_.shown(), std::vector<std::string>{"information: 连接成功"});
  waitUntilIdle();
  EXPECT_EQ(status(), port + "Found");
}

TEST_F(VirtualPrinterOnPty, BootModeAgainstItsBootLoader) {
  const VirtualPrinter printer(OnPty{}, {"--boot-after", "3"});
  const std::string port = printer.ptyPath();
  start(20, [&] { return std::vector<std::string>{port}; });
  ui().but_bootIn->click();
  ASSERT_TRUE(waitFor([&] { return ui().btn_Test->isEnabled(); }));
  EXPECT_FALSE(ui().Timer1->isActive());
  EXPECT_FALSE(window_->engine().linkOpen());
}

}  // namespace
}  // namespace ombrel::gui_test
