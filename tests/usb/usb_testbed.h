#pragma once

// Fake USB devices that the real libudev enumeration and monitor see: a
// umockdev test bed in this process (the test runs under umockdev-wrapper,
// which preloads its library; programs started from the test inherit it).
// A printer's /dev/usb/lpN node is a symbolic link to a terminal of the
// test's choosing, usually the virtual printer's pseudo-terminal.

#include <string>

typedef struct _UMockdevTestbed UMockdevTestbed;

namespace ombrel::test_support {

class UsbTestbed {
 public:
  UsbTestbed();
  ~UsbTestbed();
  UsbTestbed(const UsbTestbed&) = delete;
  UsbTestbed& operator=(const UsbTestbed&) = delete;

  // A USB device with the given ids ("0fe6", "811e", as sysfs writes them)
  // and a device number of its own, as the kernel gives each device plugged in;
  // with a printer interface whose node lp<lpNumber> leads to `nodeTarget`
  // unless that is empty (no printer driver bound). Returns its sysfs path.
  // Raises an "add" event.
  std::string addDevice(const std::string& name, const std::string& vendorId, const std::string& productId,
                        int lpNumber = -1, const std::string& nodeTarget = {});
  // Raises a "remove" event and takes the device away.
  void removeDevice(const std::string& sysPath);

  // Where the test bed keeps the fake /dev/usb/lpN (the real file behind it).
  std::string nodeFile(int lpNumber) const;
  const std::string& root() const { return root_; }

 private:
  void select() const;
  UMockdevTestbed* testbed_;
  std::string root_;
  int nextDeviceNumber_ = 2;  // 1 is the root hub's
};

}  // namespace ombrel::test_support
