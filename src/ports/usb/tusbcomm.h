#pragma once

// TUSBComm: the USB printer port. It lists the USB devices present, opens
// the first printer whose identity holds the chosen product id (or the one
// at the chosen port), and moves
// data with a reader and a writer thread of its own. It also tells its owner
// when any USB device arrives or leaves. Its events run on the owner thread
// given at construction.
//
// The operations may be called from any thread; the owner keeps calls that
// belong together (select, open, send, close) in order.

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/owner_thread.h"
#include "ports/serial/notice_sink.h"
#include "ports/usb/usb_device_list.h"
#include "ports/usb_port.h"

namespace ombrel {

class UsbHotplugWatch;
class UsbSession;

class TUSBComm final : public UsbPort {
 public:
  // Starts watching for arrivals and removals. `owner` must outlive the
  // component.
  explicit TUSBComm(OwnerThread& owner);
  // Stops the watch and closes the port when it is still open.
  ~TUSBComm() override;
  TUSBComm(const TUSBComm&) = delete;
  TUSBComm& operator=(const TUSBComm&) = delete;

  // The present USB devices, in enumeration order. Raises ECommsError
  // "Failed to open handle to HID device set".
  std::vector<UsbDeviceName> listDevices() override;
  // Splits the choice's identity into Vid, PID and subId, empties NameId and
  // keeps the choice's port.
  void selectDevice(const std::string& choice) override;
  // Chooses by the ids alone, at any port.
  void setDeviceIds(const std::string& vid, const std::string& pid, const std::string& subId,
                    const std::string& nameId);
  // Opens the first present device whose identity contains PID (at the
  // selected port, when one was selected; there PID may be empty) and whose
  // printer node can be opened, and starts both threads; no effect when
  // open. Raises ECommsError ("Error open USB DEVICE " when none could be
  // opened) and stays closed on failure.
  void openPort() override;
  // Stops both threads and releases the node; no effect when closed.
  void closePort() override;
  // Tells the device it opened by its port and its number on the bus, which
  // a printer plugged in again does not keep.
  void closeOnDevicesChanged() override;
  bool isOpen() const override;
  std::string openedDevice() const override;
  // Queues a private copy of the bytes for the writer; false, and nothing
  // sent, when closed, when length is 0 or when the writer has ended.
  bool sendData(const std::uint8_t* buffer, std::uint16_t length) override;
  void drainOutput(std::chrono::milliseconds limit) override;
  // False from a successful sendData until the writer next finds its queue
  // empty; true when closed. The owner may set it too.
  bool sendQueueEmpty() const { return sendQueueEmpty_.load(); }
  void setSendQueueEmpty(bool empty) { sendQueueEmpty_.store(empty); }

  // Published properties. Only PID and Outx_XonXoffFlow have an effect: PID
  // chooses the device, and a changed flow-control setting is applied to an
  // open port where its node has the setting (not at open).
  std::string vid() const;
  std::string pid() const;
  std::string subId() const;
  std::string nameId() const;
  void setVendorID(std::uint16_t id);
  std::uint16_t vendorID() const;
  void setProductID(std::uint16_t id);
  std::uint16_t productID() const;
  void setIncludePrefZero(bool on);
  bool includePrefZero() const;
  void setOutx_XonXoffFlow(bool on);
  bool outx_XonXoffFlow() const;

  // Events, run on the owner thread. A chunk's buffer is valid only during
  // the call; the byte after the last one is a zero byte.
  void setOnReceiveData(ReceiveDataHandler handler) override;
  void setDirectReceive(DirectReceiveHandler handler) override;
  void setOnSendDataEmpty(NotifyHandler handler);
  void setOnUSBArrival(NotifyHandler handler);
  void setOnUSBRemove(NotifyHandler handler);
  // Both arrival and removal.
  void setOnDevicesChanged(std::function<void()> handler) override;

 private:
  const std::shared_ptr<NoticeSink> sink_;
  std::atomic<bool> sendQueueEmpty_{true};
  mutable std::mutex mutex_;
  std::string vid_;
  std::string pid_;
  std::string subId_;
  std::string nameId_;
  std::string port_;       // the port of the latest selectDevice, if any
  std::string selection_;  // the choice of the latest selectDevice
  std::string opened_;     // the selection when the port was opened
  // The device opened on a choice bound to a port, while open; none when
  // the choice was an identity alone or the device's number is unknown.
  std::optional<PresentUsbDevice> boundDevice_;
  std::uint16_t vendorId_ = 0;
  std::uint16_t productId_ = 0;
  bool includePrefZero_ = false;
  bool outxXonXoff_ = false;
  std::unique_ptr<UsbSession> session_;  // none while closed
  std::unique_ptr<UsbHotplugWatch> watch_;
};

}  // namespace ombrel
