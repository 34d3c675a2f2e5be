// The main window's layout in both languages: every control shows its whole
// text and none covers another. With OMBREL_SCREENSHOT_DIR set, the window
// is also saved there as main-zh.png and main-en.png (taken from the screen
// when running on a real X server).

#include "gui/main_window_fixture.h"
#include "gui/window_checks.h"

namespace ombrel::gui_test {
namespace {

class Layout : public MainWindowTest, public ::testing::WithParamInterface<int> {};

TEST_P(Layout, NothingCutOffNothingOverlapping) {
  installLanguageFiles();
  writeSettings("[MainDefault]\nLanguage=" + std::to_string(GetParam()) + "\n");
  auto& window = start();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  settle(std::chrono::milliseconds(200));
  const QSize size = window.size();
  window.usbDevicesChanged({{"VID_0483&PID_811E", "1-1"}});
  // A status text of any length and lines leaves the window as it is, on one
  // line with the whole text as its tooltip.
  const QString text =
      "Checking/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0\r\nPOS-80 V2.01 build 2026-12-09 serial "
      "0123456789ABCDEF";
  window.engineMessage(kStatusChanged, 0, text.toStdString());
  settle(std::chrono::milliseconds(50));
  EXPECT_EQ(window.size(), size);
  EXPECT_FALSE(ui().statusPanels[0]->text().contains('\n'));
  EXPECT_EQ(ui().statusPanels[0]->toolTip(), text);

  std::vector<QWidget*> controls;
  for (QWidget* widget : window.findChildren<QWidget*>()) {
    if (widget->objectName().isEmpty() || widget->objectName().startsWith("qt_") || !widget->isVisible()) continue;
    controls.push_back(widget);
  }
  ASSERT_GE(controls.size(), 24u);
  expectWhole(controls, &window, false);
  for (QLabel* panel : ui().statusPanels) EXPECT_TRUE(window.rect().contains(inWindow(panel, &window)));
  saveScreenshot(window, GetParam() == 1 ? "main-en.png" : "main-zh.png");

  // Another language resizes the window about its top-left corner.
  const QPoint corner = window.pos();
  QTest::keyClick(ui().cbb_Language, GetParam() == 1 ? Qt::Key_Up : Qt::Key_Down);
  settle(std::chrono::milliseconds(50));
  EXPECT_EQ(window.pos(), corner);
}

INSTANTIATE_TEST_SUITE_P(BothLanguages, Layout, ::testing::Values(0, 1),
                         [](const ::testing::TestParamInfo<int>& language) {
                           return language.param == 1 ? "English" : "Chinese";
                         });

}  // namespace
}  // namespace ombrel::gui_test
