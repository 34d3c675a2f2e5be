#include "usb/usb_testbed.h"

#include <umockdev.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <stdexcept>

#include "ports/usb/udev_lock.h"

namespace ombrel::test_support {

// The test bed raises its events through libudev in this process, beside
// the component's own calls: it takes the same lock.

// umockdev acts on the test bed that UMOCKDEV_DIR names, the one made last.
// A test with several (one per station process, each started with its own)
// names this one while it changes it; with one test bed the environment is
// never written, so no other thread's lookup can race with it.
void UsbTestbed::select() const {
  const char* named = std::getenv("UMOCKDEV_DIR");
  if (named == nullptr || root_ != named) ::setenv("UMOCKDEV_DIR", root_.c_str(), 1);
}

UsbTestbed::UsbTestbed()
    : testbed_([] {
        const std::lock_guard lock(udevLock());
        return umockdev_testbed_new();
      }()) {
  if (!umockdev_in_mock_environment()) throw std::runtime_error("run this test under umockdev-wrapper");
  gchar* root = umockdev_testbed_get_root_dir(testbed_);
  root_ = root;
  g_free(root);
  std::filesystem::create_directories(root_ + "/dev/usb");
}

UsbTestbed::~UsbTestbed() {
  const std::lock_guard lock(udevLock());
  g_object_unref(testbed_);
}

std::string UsbTestbed::addDevice(const std::string& name, const std::string& vendorId, const std::string& productId,
                                  int lpNumber, const std::string& nodeTarget) {
  if (lpNumber >= 0 && !nodeTarget.empty()) {
    std::filesystem::create_symlink(nodeTarget, nodeFile(lpNumber));
  }
  const std::string deviceNumber = std::to_string(nextDeviceNumber_++);
  const std::lock_guard lock(udevLock());
  select();
  gchar* device = umockdev_testbed_add_device(testbed_, "usb", name.c_str(), nullptr, "idVendor", vendorId.c_str(),
                                              "idProduct", productId.c_str(), "devnum", deviceNumber.c_str(), nullptr,
                                              "DEVTYPE", "usb_device", nullptr);
  const std::string sysPath = device;
  g_free(device);
  // The printer class interface; usblp adds the lp node below it.
  const std::string interfaceName = name + ":1.0";
  gchar* interface = umockdev_testbed_add_device(testbed_, "usb", interfaceName.c_str(), sysPath.c_str(),
                                                 "bInterfaceClass", "07", nullptr, "DEVTYPE", "usb_interface", nullptr);
  if (lpNumber >= 0) {
    const std::string lp = "lp" + std::to_string(lpNumber);
    const std::string devName = "/dev/usb/" + lp;
    g_free(umockdev_testbed_add_device(testbed_, "usbmisc", lp.c_str(), interface, nullptr, "DEVNAME", devName.c_str(),
                                       nullptr));
  }
  g_free(interface);
  return sysPath;
}

void UsbTestbed::removeDevice(const std::string& sysPath) {
  const std::lock_guard lock(udevLock());
  select();
  umockdev_testbed_uevent(testbed_, sysPath.c_str(), "remove");
  umockdev_testbed_remove_device(testbed_, sysPath.c_str());
  // The test bed leaves the bus's links to the device and its interfaces
  // behind, which would keep a device from being plugged in at the same port
  // again.
  namespace fs = std::filesystem;
  std::error_code ignored;
  for (const auto& link : fs::directory_iterator(root_ + "/sys/bus/usb/devices", ignored)) {
    if (link.is_symlink(ignored) && !fs::exists(link.path(), ignored)) fs::remove(link.path(), ignored);
  }
}

std::string UsbTestbed::nodeFile(int lpNumber) const { return root_ + "/dev/usb/lp" + std::to_string(lpNumber); }

}  // namespace ombrel::test_support
