#pragma once

// The engine's side of its ports: the one place that wires what they
// receive, closes them outside a task (a USB device arrived or left, the boot
// loader answered), lists the USB printers and builds a task's link on the
// port of its transport. The engine meets its ports only here and through
// Link; the port headers stay out of what the front ends include.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/engine_host.h"
#include "engine/link.h"

namespace ombrel {

class SerialPort;
class UsbPort;
class UdpPort;

// The ports of one engine; no two engines share one.
struct LinkPorts {
  SerialPort& serial;
  UsbPort& usb;
  UdpPort& udp;
};

// What the engine hears from its ports.
class PortReceiver {
 public:
  virtual ~PortReceiver() = default;
  // A chunk from a byte-stream port, on the port's reader thread or the
  // owner's: true when a task (or the boot handshake, on a port that can
  // carry its answer) took it.
  virtual bool takeBytes(const std::uint8_t* bytes, std::size_t count, bool carriesBootAnswer) = 0;
  // On the serial reader thread: whether the bytes gathered so far end what
  // the running task waits for, so that they are delivered at once.
  virtual bool endsChunk(const std::uint8_t* bytes, std::size_t count) = 0;
  // A chunk no task took, on the owner's thread.
  virtual void idleBytes(const Bytes& bytes) = 0;
  // A USB device arrived or left; the USB port has been closed, unless it is
  // bound to a port whose device is still the one it opened.
  virtual void usbPrintersChanged(const std::vector<UsbDeviceName>& printers) = 0;
};

class EnginePorts {
 public:
  explicit EnginePorts(const LinkPorts& ports) : ports_(ports) {}

  // From here until stopListening, everything the ports deliver goes to
  // `receiver`. stopListening returns once no handler runs on a port's thread.
  void listen(PortReceiver& receiver);
  void stopListening();

  // The USB printers present now, listed afresh.
  std::vector<UsbDeviceName> usbPrinters() const;
  // The boot loader answered on the serial line: its port is closed.
  void closeBootLine();
  // The rate the serial port is set to.
  std::uint32_t serialRate() const;

  // The one place a transport is chosen.
  std::unique_ptr<Link> makeLink(const LinkSettings& settings, const LinkParts& parts) const;

 private:
  LinkPorts ports_;
};

}  // namespace ombrel
