#include "ports/open_advice.h"

#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/errors.h"
#include "ports/serial/serial_port_name.h"
#include "ports/usb/usb_device_list.h"
#include "ports/usb/usb_identity.h"

namespace ombrel {
namespace {

// The group that may read and write the node; `usual` when the node grants
// its group nothing (udev has not set it up yet) or belongs to root's group.
std::string accessGroup(const struct stat& node, const char* usual) {
  if ((node.st_mode & (S_IRGRP | S_IWGRP)) != (S_IRGRP | S_IWGRP) || node.st_gid == 0) return usual;
  const group* entry = ::getgrgid(node.st_gid);
  return entry != nullptr ? entry->gr_name : usual;
}

std::optional<std::string> permissionAdvice(const std::string& path, const char* usualGroup) {
  struct stat node {};
  if (::stat(path.c_str(), &node) != 0) return std::nullopt;
  if (::access(path.c_str(), R_OK | W_OK) == 0 || (errno != EACCES && errno != EPERM)) return std::nullopt;
  const std::string group = accessGroup(node, usualGroup);
  return "This user may not open " + path + ": members of the group " + group +
         " may. Join it with \"sudo usermod -aG " + group + " $USER\", then log out and in again.";
}

}  // namespace

std::optional<std::string> serialOpenAdvice(const std::string& comName) {
  return permissionAdvice(devicePathFor(comName), "dialout");
}

std::optional<std::string> usbOpenAdvice(const std::string& choice) {
  const UsbChoice chosen = splitUsbChoice(choice);
  const std::string pid = splitUsbIdentity(chosen.identity).pid;
  try {
    std::optional<std::string> withoutNode;
    for (const auto& device : presentUsbDevices()) {
      if (!usbDeviceChosen(pid, chosen.port, device.identity, device.port)) continue;
      if (device.printerNode.empty()) {
        if (!withoutNode) {
          withoutNode = "The USB device " + device.identity +
                        " is present but has no printer node (/dev/usb/lpN): the USB printer driver (usblp) "
                        "has not taken it, so it cannot be opened.";
        }
        continue;
      }
      if (auto advice = permissionAdvice(device.printerNode, "lp")) return advice;
    }
    return withoutNode;
  } catch (const ECommsError&) {
    return std::nullopt;
  }
}

}  // namespace ombrel
