// The USB printer port against fake USB devices that the real libudev sees,
// each printer's node leading to a pseudo-terminal that the test plays.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>

#include "platform/errors.h"
#include "platform/event_loop_thread.h"
#include "ports/pty_pair.h"
#include "ports/usb/tusbcomm.h"
#include "ports/usb/usb_identity.h"
#include "usb/usb_testbed.h"

namespace ombrel::test {
namespace {

using test_support::UsbTestbed;

// What the component's events delivered, with waits for it.
class UsbEvents {
 public:
  void attach(TUSBComm& usb) {
    usb.setOnReceiveData([this](const std::uint8_t* bytes, std::uint16_t count) {
      change([&] { received.insert(received.end(), bytes, bytes + count); });
    });
    usb.setOnUSBArrival([this] { change([&] { ++arrivals; }); });
    usb.setOnUSBRemove([this] { change([&] { ++removals; }); });
    usb.setOnSendDataEmpty([this] { change([&] { ++sendEmpty; }); });
  }
  bool waitFor(const std::function<bool()>& done) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, std::chrono::seconds(5), done);
  }
  template <typename T>
  T read(const T& field) {
    std::lock_guard lock(mutex_);
    return field;
  }

  Bytes received;
  int arrivals = 0;
  int removals = 0;
  int sendEmpty = 0;

 private:
  void change(const std::function<void()>& apply) {
    {
      std::lock_guard lock(mutex_);
      apply();
    }
    changed_.notify_all();
  }
  std::mutex mutex_;
  std::condition_variable changed_;
};

class TUSBCommTest : public ::testing::Test {
 protected:
  void start() {
    usb = std::make_unique<TUSBComm>(loop);
    events.attach(*usb);
  }
  void TearDown() override {
    if (usb) usb->closePort();
    usb.reset();
  }
  std::string openFailure() {
    try {
      usb->openPort();
    } catch (const ECommsError& error) {
      return error.what();
    }
    return "opened";
  }
  bool send(const Bytes& bytes) { return usb->sendData(bytes.data(), static_cast<std::uint16_t>(bytes.size())); }

  UsbTestbed bed;
  EventLoopThread loop;
  UsbEvents events;
  std::unique_ptr<TUSBComm> usb;
};

TEST(UsbIdentityTest, IdentitiesAndHowAChoiceIsTakenApart) {
  EXPECT_EQ(usbIdentity(0x0fe6, 0x811e), "VID_0FE6&PID_811E");
  EXPECT_EQ(usbIdentity(0x0001, 0xabcd), "VID_0001&PID_ABCD");
  struct Case {
    const char* identity;
    const char* vid;
    const char* pid;
    const char* subId;
  };
  for (const Case& c : std::initializer_list<Case>{{"VID_1234&PID_811E", "1234", "811E", ""},
                                                   {"VID_1234&PID_811E&MI_00", "1234", "811E", "MI_00"},
                                                   {"XXXX1234&YYYY811E", "1234", "811E", ""},
                                                   {"VID_1234&PID_811E&MI_00&X", "1234", "811E", ""},
                                                   {"", "", "", ""},
                                                   {"VID_1234", "", "", ""},
                                                   {"VID&PID", "", "", ""}}) {
    const UsbDeviceIds ids = splitUsbIdentity(c.identity);
    EXPECT_EQ(ids.vid, c.vid) << c.identity;
    EXPECT_EQ(ids.pid, c.pid) << c.identity;
    EXPECT_EQ(ids.subId, c.subId) << c.identity;
  }
  EXPECT_TRUE(usbIdentityMatches("VID_0FE6&PID_811E", "811E"));
  EXPECT_FALSE(usbIdentityMatches("VID_0FE6&PID_811E", "811e"));
  EXPECT_FALSE(usbIdentityMatches("VID_0FE6&PID_811E", ""));
}

TEST_F(TUSBCommTest, NoDevicesGiveAnEmptyListAndOpenFails) {
  start();
  EXPECT_TRUE(usb->listDevices().empty());
  usb->selectDevice("VID_0FE6&PID_811E");
  EXPECT_EQ(openFailure(), "Error open USB DEVICE ");
  EXPECT_FALSE(usb->isOpen());
}

TEST_F(TUSBCommTest, SelectDeviceStoresTheIdsAndEmptiesNameId) {
  start();
  usb->setDeviceIds("a", "b", "c", "name");
  usb->selectDevice("VID_1234&PID_811E&MI_00");
  EXPECT_EQ(usb->vid(), "1234");
  EXPECT_EQ(usb->pid(), "811E");
  EXPECT_EQ(usb->subId(), "MI_00");
  EXPECT_EQ(usb->nameId(), "");
}

TEST_F(TUSBCommTest, ListsEveryUsbDeviceAndOpensOnlyAMatchingPrinterNode) {
  PtyPair printer;
  bed.addDevice("1-1", "046d", "c52b");                          // a receiver: no printer
  bed.addDevice("1-2", "0fe6", "811e", 0, printer.slavePath());  // the printer
  bed.addDevice("1-3", "0483", "811e");                          // vendor class: no lp node
  start();
  EXPECT_EQ(usb->listDevices(),
            (std::vector<UsbDeviceName>{
                {"VID_046D&PID_C52B", "1-1"}, {"VID_0FE6&PID_811E", "1-2"}, {"VID_0483&PID_811E", "1-3"}}));

  for (const char* choice : {"", "VID_0FE6", "VID_0fe6&PID_811e", "VID_046D&PID_C52B", "@1-1", "@1-3", "@1-9",
                             "VID_0FE6&PID_811E@1-3", "VID_046D&PID_C52B@1-2"}) {
    usb->selectDevice(choice);
    EXPECT_EQ(openFailure(), "Error open USB DEVICE ") << choice;
  }
  usb->selectDevice("VID_0483&PID_811E");  // the PID alone chooses: the first printer with it
  EXPECT_EQ(openFailure(), "opened");
  usb->openPort();  // a second open does nothing
  EXPECT_TRUE(usb->isOpen());

  ASSERT_TRUE(send({0x02, 0x00, 0x30, 0x0D, 0x0A, 0x11, 0x13, 0xFF}));
  EXPECT_EQ(printer.read(8, std::chrono::seconds(5)), (Bytes{0x02, 0x00, 0x30, 0x0D, 0x0A, 0x11, 0x13, 0xFF}));
  printer.write({0x02, 0x0D, 0x0A, 0x00, 0x13});
  EXPECT_TRUE(events.waitFor([&] { return events.received.size() == 5; }));
  EXPECT_EQ(events.read(events.received), (Bytes{0x02, 0x0D, 0x0A, 0x00, 0x13}));
  EXPECT_TRUE(events.waitFor([&] { return events.sendEmpty >= 1; }));

  usb->closePort();
  EXPECT_FALSE(usb->isOpen());
  EXPECT_FALSE(send({0x01}));
}

TEST_F(TUSBCommTest, APrinterHeldByAnotherProgramIsPassedOver) {
  PtyPair first;
  PtyPair second;
  bed.addDevice("1-1", "0fe6", "811e", 0, first.slavePath());
  bed.addDevice("1-2", "0fe6", "811e", 1, second.slavePath());
  const int held = ::open(bed.nodeFile(0).c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
  ASSERT_EQ(::flock(held, LOCK_EX | LOCK_NB), 0);
  start();
  usb->selectDevice("VID_0FE6&PID_811E");
  ASSERT_EQ(openFailure(), "opened");
  ASSERT_TRUE(send({0x55}));
  EXPECT_EQ(second.read(1, std::chrono::seconds(5)), Bytes{0x55});
  EXPECT_EQ(first.read(1, std::chrono::milliseconds(100)), Bytes{});
  usb->closePort();
  ::close(held);
}

TEST_F(TUSBCommTest, ArrivalAndRemovalOfAnyUsbDeviceAreTold) {
  start();
  const std::string keyboard = bed.addDevice("1-4", "046d", "c31c");
  EXPECT_TRUE(events.waitFor([&] { return events.arrivals == 1; }));
  bed.removeDevice(keyboard);
  EXPECT_TRUE(events.waitFor([&] { return events.removals == 1; }));
  EXPECT_EQ(events.read(events.arrivals), 1);  // its interface is not a device of its own
}

TEST_F(TUSBCommTest, ANoticeLeavesOpenOnlyAPortBoundToAPlaceWhoseOwnPrinterIsStillThere) {
  enum Change { OtherArrives, OtherLeaves, OwnLeaves, OwnPluggedInAgain };
  struct Case {
    const char* choice;
    Change change;
    bool staysOpen;
  };
  PtyPair printer;
  start();
  int lp = 0;
  for (const Case& c : std::initializer_list<Case>{{"@1-1", OtherArrives, true},
                                                   {"VID_0FE6&PID_811E@1-1", OtherLeaves, true},
                                                   {"@1-1", OwnLeaves, false},
                                                   {"@1-1", OwnPluggedInAgain, false},
                                                   {"VID_0FE6&PID_811E", OtherArrives, false}}) {
    std::string own = bed.addDevice("1-1", "0fe6", "811e", lp++, printer.slavePath());
    std::string other = c.change == OtherLeaves ? bed.addDevice("1-2", "0fe6", "811e", lp++, printer.slavePath()) : "";
    usb->selectDevice(c.choice);
    ASSERT_EQ(openFailure(), "opened") << c.choice;
    switch (c.change) {
      case OtherArrives:
        other = bed.addDevice("1-2", "0fe6", "811e", lp++, printer.slavePath());
        break;
      case OtherLeaves:
        bed.removeDevice(other);
        other.clear();
        break;
      case OwnLeaves:
        bed.removeDevice(own);
        own.clear();
        break;
      case OwnPluggedInAgain:
        bed.removeDevice(own);
        own = bed.addDevice("1-1", "0fe6", "811e", lp++, printer.slavePath());
        break;
    }
    usb->closeOnDevicesChanged();
    EXPECT_EQ(usb->isOpen(), c.staysOpen) << c.choice << " " << c.change;
    usb->closePort();
    for (const std::string& device : {own, other}) {
      if (!device.empty()) bed.removeDevice(device);
    }
  }
}

TEST_F(TUSBCommTest, AnUnpluggedPrinterStillCloses) {
  auto printer = std::make_unique<PtyPair>();
  const std::string device = bed.addDevice("1-1", "0fe6", "811e", 0, printer->slavePath());
  start();
  usb->selectDevice("VID_0FE6&PID_811E");
  ASSERT_EQ(openFailure(), "opened");
  printer.reset();
  bed.removeDevice(device);
  EXPECT_TRUE(events.waitFor([&] { return events.removals == 1; }));
  usb->closePort();
  EXPECT_FALSE(usb->isOpen());
}

}  // namespace
}  // namespace ombrel::test
