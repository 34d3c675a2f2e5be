// The main window's USB list against fake USB devices that the real libudev
// sees: filled at start-up, refreshed on every arrival and removal, each of
// which closes the open port; identical printers told apart by their ports.

#include <algorithm>

#include "e2e/virtual_printer.h"
#include "gui/main_window_fixture.h"
#include "usb/usb_testbed.h"

namespace ombrel::gui_test {
namespace {

using test_support::OnPty;
using test_support::UsbTestbed;
using test_support::VirtualPrinter;

class UsbWindowTest : public MainWindowTest {
 protected:
  std::vector<std::string> usbList() const {
    std::vector<std::string> items;
    for (int i = 0; i < ui().cbb_UsbDeviceList->count(); ++i) {
      items.push_back(ui().cbb_UsbDeviceList->itemText(i).toStdString());
    }
    return items;
  }
  std::string chosen() const { return ui().cbb_UsbDeviceList->currentText().toStdString(); }
  std::vector<UsbDeviceName> printers() const { return ui().cbb_UsbDeviceList->printers(); }

  static int portEvents(const VirtualPrinter& printer, const std::string& kind) {
    const auto records = printer.records();
    return static_cast<int>(std::count_if(records.begin(), records.end(), [&](const auto& record) {
      return record.dir == "line" && record.kind == kind;
    }));
  }

  UsbTestbed bed_;
};

TEST_F(UsbWindowTest, ArrivalAndRemovalRefreshTheListAndCloseThePort) {
  // The printer listens at the rate the tool leaves on the terminal behind
  // the node (a USB port has none).
  VirtualPrinter printer(OnPty{}, {"--baud", "38400"});
  bed_.addDevice("1-1", "046d", "c52b");
  const std::string first = bed_.addDevice("1-2", "0fe6", "811e", 0, printer.ptyPath());
  start();
  ASSERT_TRUE(waitFor([&] { return usbList() == std::vector<std::string>{"VID_0FE6&PID_811E"}; }));
  EXPECT_EQ(chosen(), "VID_0FE6&PID_811E");

  ui().transportRadios[2]->click();
  ui().btn_Test->click();
  ASSERT_TRUE(waitFor([&] { return !boxes_.shown().empty(); }));
  EXPECT_EQ(boxes_.shown(), std::vector<std::string>{"information: 连接成功"});
  waitUntilIdle();
  EXPECT_EQ(status(), "") << "the link test's running text outlived it";
  EXPECT_EQ(portEvents(printer, "open"), 1);
  EXPECT_EQ(portEvents(printer, "close"), 0);  // the USB port stays open

  // Any device: the port is closed and the list refilled; the choice stays.
  const std::string second = bed_.addDevice("1-3", "0483", "811e");
  ASSERT_TRUE(waitFor([&] { return usbList().size() == 2; }));
  EXPECT_EQ(usbList(), (std::vector<std::string>{"VID_0FE6&PID_811E", "VID_0483&PID_811E"}));
  EXPECT_EQ(chosen(), "VID_0FE6&PID_811E");
  EXPECT_TRUE(waitFor([&] { return portEvents(printer, "close") == 1; }));

  // The chosen printer leaves: nothing is chosen, the operator picks again.
  bed_.removeDevice(first);
  ASSERT_TRUE(waitFor([&] { return usbList() == std::vector<std::string>{"VID_0483&PID_811E"}; }));
  EXPECT_EQ(ui().cbb_UsbDeviceList->currentIndex(), -1);
  bed_.removeDevice(second);
  EXPECT_TRUE(waitFor([&] { return usbList().empty(); }));
}

TEST_F(UsbWindowTest, OfTwoIdenticalPrintersTheChosenOneIsReachedAndStoredByItsPort) {
  VirtualPrinter first(OnPty{}, {"--baud", "38400"});
  VirtualPrinter second(OnPty{}, {"--baud", "38400"});
  bed_.addDevice("1-2", "0fe6", "811e", 0, first.ptyPath());
  bed_.addDevice("1-3", "0fe6", "811e", 1, second.ptyPath());
  // A choice stored without a port is the first printer of its identity.
  writeSettings("[MainDefault]\nTranMode=2\nUsbDevice=VID_0FE6&PID_811E\n");
  start();
  const std::vector<UsbDeviceName> both{{"VID_0FE6&PID_811E", "1-2"}, {"VID_0FE6&PID_811E", "1-3"}};
  ASSERT_TRUE(waitFor([&] { return printers() == both; }));
  EXPECT_EQ(ui().cbb_UsbDeviceList->currentIndex(), 0);

  ui().cbb_UsbDeviceList->setCurrentIndex(1);
  ui().btn_Test->click();
  ASSERT_TRUE(waitFor([&] { return !boxes_.shown().empty(); }));
  EXPECT_EQ(boxes_.shown(), std::vector<std::string>{"information: 连接成功"});
  waitUntilIdle();
  EXPECT_FALSE(second.received().empty());
  EXPECT_TRUE(first.received().empty()) << "the identical printer at the other port was asked";

  whileParaShown([] {});
  ui().btn_SetPara->click();
  EXPECT_NE(settings().find("UsbDevice=VID_0FE6&PID_811E@1-3"), std::string::npos) << settings();
}

}  // namespace
}  // namespace ombrel::gui_test
