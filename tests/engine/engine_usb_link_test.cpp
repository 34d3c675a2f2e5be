// The USB link and the link test, on scripted ports.

#include "engine_fixture.h"

namespace ombrel::testing_support {
namespace {

using UsbLink = EngineFixture;

TEST_F(UsbLink, TaskSelectsOpensIdentifiesAndLeavesThePortOpen) {
  useTransport(Transport::Usb);
  runTask(10);
  EXPECT_EQ(lastMessage().id, kTaskSucceeded);
  const auto events = usb.events();
  ASSERT_GE(events.size(), 4u);
  EXPECT_EQ(events[0], "select VID_0483&PID_811E");
  EXPECT_EQ(events[1], "open");
  EXPECT_EQ(events[2], "send " + toHex(frame::build(48, 0, 0, {1, 2, 4, 8, 16, 32, 64, 128}, true)));
  EXPECT_EQ(events[3], "send " + toHex(frame::build(121, 0, 0, {}, true)));
  EXPECT_TRUE(usb.isOpen());  // the USB port stays open between tasks
  EXPECT_FALSE(engine->linkOpen());
}

TEST_F(UsbLink, OnlyPrintersWith811EAreListedAtStartAndAfterAChange) {
  loop.send([] {});
  ASSERT_FALSE(host.usbListsShown().empty());
  EXPECT_EQ(host.usbListsShown().front(), (std::vector<std::string>{"VID_0483&PID_811E"}));
  useTransport(Transport::Usb);
  runTask(10);
  usb.plugIn({"VID_1234&PID_5678", "vid_0483&pid_811e", "VID_0483&PID_811E&MI_00"});
  loop.send([] {});
  EXPECT_EQ(host.usbListsShown().back(), (std::vector<std::string>{"vid_0483&pid_811e", "VID_0483&PID_811E&MI_00"}));
  EXPECT_FALSE(usb.isOpen());  // an arrival or removal closes the port
}

TEST_F(UsbLink, ANewChoiceClosesThePortLeftOpenForAnotherPrinter) {
  usb.plugIn({"VID_0483&PID_811E", "VID_0483&PID_811F"});
  loop.send([] {});
  useTransport(Transport::Usb);
  runTask(10);
  LinkSettings link = host.linkSettings();
  link.usbDevice = "VID_0483&PID_811F";
  host.setLink(link);
  runTask(10);
  runTask(10);  // the same choice again: the port stays open
  const auto events = usb.events();
  const auto chosen = std::find(events.begin(), events.end(), "select VID_0483&PID_811F");
  ASSERT_GE(std::distance(chosen, events.end()), 3);
  EXPECT_EQ(std::vector<std::string>(chosen + 1, chosen + 3), (std::vector<std::string>{"close", "open"}));
  EXPECT_EQ(std::count(events.begin(), events.end(), "open"), 2);
}

using LinkTestTask = EngineFixture;

TEST_F(LinkTestTask, SerialWithEqualRatesIdentifiesOnly) {
  LinkSettings link = host.linkSettings();
  link.tranBaud = 9600;
  host.setLink(link);
  runTask(1);
  EXPECT_TRUE(received(kLinkTestSucceeded));
  EXPECT_EQ(lastMessage().id, kTaskSucceeded);
  EXPECT_EQ(commandsSent(), (std::vector<int>{48}));
  EXPECT_EQ(engine->statusText(), "/dev/ttyFAKE0Found");
  const std::string log = debugLog();
  EXPECT_EQ(log.rfind("Open/dev/ttyFAKE0", 0), 0u);
  EXPECT_NE(log.find("Close/dev/ttyFAKE0"), std::string::npos);
}

TEST_F(LinkTestTask, SerialWithDifferentRatesSwitchesAndSwitchesBack) {
  runTask(1);
  EXPECT_TRUE(received(kLinkTestSucceeded));
  EXPECT_EQ(commandsSent(), (std::vector<int>{49, 48, 49}));
  EXPECT_EQ(printer.writes().front()[4], 4);
  EXPECT_EQ(printer.writes().back()[4], 0);
}

TEST_F(LinkTestTask, NoAnswerIsConnectingFailedAndKeepsTheCheckingText) {
  printer.ignoreCommand(49);
  runTask(1);
  EXPECT_TRUE(received(kLinkTestFailed));
  EXPECT_EQ(lastMessage().id, kTaskFailed);
  EXPECT_EQ(lastMessage().wParam, kTaskFailedWithText);
  EXPECT_EQ(engine->errorText(), "Connecting Failed");
  EXPECT_EQ(engine->statusText(), "Checking/dev/ttyFAKE0");
  EXPECT_FALSE(engine->linkOpen());
}

TEST_F(LinkTestTask, UsbWithoutTheSelectedDeviceFails) {
  useTransport(Transport::Usb);
  usb.plugIn({});
  loop.send([] {});  // the removal has been handled
  runTask(1);
  EXPECT_TRUE(received(kLinkTestFailed));
  useTransport(Transport::Usb);
  usb.plugIn({"VID_0483&PID_811E"});
  loop.send([] {});
  runTask(1);
  EXPECT_TRUE(received(kLinkTestSucceeded));
}

}  // namespace
}  // namespace ombrel::testing_support
