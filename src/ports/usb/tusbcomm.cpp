#include "ports/usb/tusbcomm.h"

#include <thread>
#include <utility>

#include "platform/errors.h"
#include "ports/usb/usb_device_list.h"
#include "ports/usb/usb_error_text.h"
#include "ports/usb/usb_hotplug_watch.h"
#include "ports/usb/usb_identity.h"
#include "ports/usb/usb_session.h"

namespace ombrel {

TUSBComm::TUSBComm(OwnerThread& owner)
    : sink_(std::make_shared<NoticeSink>(owner)), watch_(std::make_unique<UsbHotplugWatch>(sink_)) {}

TUSBComm::~TUSBComm() {
  // Port threads and the watch must not outlive the component they report for.
  watch_.reset();
  closePort();
  sink_->detach();
}

std::vector<UsbDeviceName> TUSBComm::listDevices() {
  std::vector<UsbDeviceName> devices;
  for (const auto& device : presentUsbDevices()) devices.push_back({device.identity, device.port});
  return devices;
}

void TUSBComm::selectDevice(const std::string& choice) {
  const UsbChoice parts = splitUsbChoice(choice);
  const UsbDeviceIds ids = splitUsbIdentity(parts.identity);
  setDeviceIds(ids.vid, ids.pid, ids.subId, "");
  std::lock_guard lock(mutex_);
  selection_ = choice;
  port_ = parts.port;
}

void TUSBComm::setDeviceIds(const std::string& vid, const std::string& pid, const std::string& subId,
                            const std::string& nameId) {
  std::lock_guard lock(mutex_);
  vid_ = vid;
  pid_ = pid;
  subId_ = subId;
  nameId_ = nameId;
  selection_.clear();
  port_.clear();
}

namespace {

struct OpenedNode {
  UsbPrinterNode node;
  PresentUsbDevice device;
};

// The node of the first present device whose identity holds `pid`, at
// `port` when one is given, and that opens. A device without a printer node,
// or one held by another program, is passed over: a printer at another port
// is never taken for the one at `port`.
std::optional<OpenedNode> openFirstMatching(const std::string& pid, const std::string& port) {
  for (const auto& device : presentUsbDevices()) {
    if (!usbDeviceChosen(pid, port, device.identity, device.port) || device.printerNode.empty()) continue;
    if (auto node = UsbPrinterNode::open(device.printerNode)) return OpenedNode{std::move(*node), device};
  }
  return std::nullopt;
}

}  // namespace

void TUSBComm::openPort() {
  std::lock_guard lock(mutex_);
  if (session_) return;
  std::optional<OpenedNode> opened = openFirstMatching(pid_, port_);
  if (!opened) throw ECommsError(usb_error_text::kOpenFailed);
  opened->node.purgeInput();
  opened->node.purgeOutput();
  sendQueueEmpty_.store(true);
  session_ = std::make_unique<UsbSession>(std::move(opened->node), sink_, sendQueueEmpty_);
  opened_ = selection_;
  if (!port_.empty() && !opened->device.deviceNumber.empty()) boundDevice_ = opened->device;
}

void TUSBComm::closePort() {
  std::lock_guard lock(mutex_);
  session_.reset();
  opened_.clear();
  boundDevice_.reset();
}

void TUSBComm::closeOnDevicesChanged() {
  // Held throughout, as while opening: the port cannot be reopened on
  // another device between the look and the decision.
  std::lock_guard lock(mutex_);
  if (boundDevice_ && usbDeviceStillPresent(*boundDevice_)) return;
  session_.reset();
  opened_.clear();
  boundDevice_.reset();
}

bool TUSBComm::isOpen() const {
  std::lock_guard lock(mutex_);
  return session_ != nullptr;
}

std::string TUSBComm::openedDevice() const {
  std::lock_guard lock(mutex_);
  return opened_;
}

bool TUSBComm::sendData(const std::uint8_t* buffer, std::uint16_t length) {
  if (buffer == nullptr || length == 0) return false;
  std::lock_guard lock(mutex_);
  return session_ && session_->queue.push(Bytes(buffer, buffer + length));
}

void TUSBComm::drainOutput(std::chrono::milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (!sendQueueEmpty_.load() && isOpen() && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

std::string TUSBComm::vid() const {
  std::lock_guard lock(mutex_);
  return vid_;
}

std::string TUSBComm::pid() const {
  std::lock_guard lock(mutex_);
  return pid_;
}

std::string TUSBComm::subId() const {
  std::lock_guard lock(mutex_);
  return subId_;
}

std::string TUSBComm::nameId() const {
  std::lock_guard lock(mutex_);
  return nameId_;
}

void TUSBComm::setVendorID(std::uint16_t id) {
  std::lock_guard lock(mutex_);
  vendorId_ = id;
}

std::uint16_t TUSBComm::vendorID() const {
  std::lock_guard lock(mutex_);
  return vendorId_;
}

void TUSBComm::setProductID(std::uint16_t id) {
  std::lock_guard lock(mutex_);
  productId_ = id;
}

std::uint16_t TUSBComm::productID() const {
  std::lock_guard lock(mutex_);
  return productId_;
}

void TUSBComm::setIncludePrefZero(bool on) {
  std::lock_guard lock(mutex_);
  includePrefZero_ = on;
}

bool TUSBComm::includePrefZero() const {
  std::lock_guard lock(mutex_);
  return includePrefZero_;
}

void TUSBComm::setOutx_XonXoffFlow(bool on) {
  std::lock_guard lock(mutex_);
  if (outxXonXoff_ == on) return;
  outxXonXoff_ = on;
  if (session_) session_->node.setOutXonXoff(on);
}

bool TUSBComm::outx_XonXoffFlow() const {
  std::lock_guard lock(mutex_);
  return outxXonXoff_;
}

void TUSBComm::setOnReceiveData(ReceiveDataHandler handler) { sink_->setOnReceiveData(std::move(handler)); }
void TUSBComm::setDirectReceive(DirectReceiveHandler handler) { sink_->setDirectReceive(std::move(handler)); }
void TUSBComm::setOnSendDataEmpty(NotifyHandler handler) { sink_->setOnSendDataEmpty(std::move(handler)); }
void TUSBComm::setOnUSBArrival(NotifyHandler handler) { sink_->setOnUsbArrival(std::move(handler)); }
void TUSBComm::setOnUSBRemove(NotifyHandler handler) { sink_->setOnUsbRemove(std::move(handler)); }

void TUSBComm::setOnDevicesChanged(std::function<void()> handler) {
  setOnUSBArrival(handler);
  setOnUSBRemove(std::move(handler));
}

}  // namespace ombrel
