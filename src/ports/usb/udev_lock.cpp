#include "ports/usb/udev_lock.h"

namespace ombrel {

std::mutex& udevLock() {
  static std::mutex lock;
  return lock;
}

}  // namespace ombrel
