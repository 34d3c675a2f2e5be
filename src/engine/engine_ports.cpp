#include "engine/engine_ports.h"

#include "engine/stream_link.h"
#include "ports/serial_port.h"
#include "ports/udp_port.h"
#include "ports/usb_port.h"
#include "ports/usb_printers.h"

namespace ombrel {

void EnginePorts::listen(PortReceiver& receiver) {
  SerialPort& serial = ports_.serial;
  UsbPort& usb = ports_.usb;
  serial.setOnReceiveData([&receiver](const std::uint8_t* bytes, std::uint16_t count) {
    if (!receiver.takeBytes(bytes, count, true)) receiver.idleBytes(Bytes(bytes, bytes + count));
  });
  usb.setOnReceiveData([&receiver](const std::uint8_t* bytes, std::uint16_t count) {
    if (!receiver.takeBytes(bytes, count, false)) receiver.idleBytes(Bytes(bytes, bytes + count));
  });
  // A task's reply goes from the port's reader thread straight to the
  // waiting worker: a busy or blocked window must not delay the protocol.
  serial.setDirectReceive(
      [&receiver](const std::uint8_t* bytes, std::size_t count) { return receiver.takeBytes(bytes, count, true); });
  usb.setDirectReceive(
      [&receiver](const std::uint8_t* bytes, std::size_t count) { return receiver.takeBytes(bytes, count, false); });
  serial.setChunkEnd(
      [&receiver](const std::uint8_t* bytes, std::size_t count) { return receiver.endsChunk(bytes, count); });
  usb.setOnDevicesChanged([this, &receiver, &usb] {
    usb.closeOnDevicesChanged();
    receiver.usbPrintersChanged(usbPrinters());
  });
}

void EnginePorts::stopListening() {
  ports_.serial.setDirectReceive(nullptr);
  ports_.serial.setChunkEnd(nullptr);
  ports_.usb.setDirectReceive(nullptr);
  ports_.serial.setOnReceiveData(nullptr);
  ports_.usb.setOnReceiveData(nullptr);
  ports_.usb.setOnDevicesChanged(nullptr);
}

std::vector<UsbDeviceName> EnginePorts::usbPrinters() const { return offeredUsbPrinters(ports_.usb.listDevices()); }

void EnginePorts::closeBootLine() { ports_.serial.closePort(); }

std::uint32_t EnginePorts::serialRate() const { return ports_.serial.baudRate(); }

std::unique_ptr<Link> EnginePorts::makeLink(const LinkSettings& settings, const LinkParts& parts) const {
  switch (settings.transport) {
    case Transport::Network:
      return makeNetworkLink(settings, ports_.udp, parts);
    case Transport::Usb:
      // A USB task's trace names the serial port when it closes, as the
      // printer tools have always written it.
      return makeUsbLink(settings, ports_.usb, ports_.serial.commName(), parts);
    case Transport::Serial:
      break;
  }
  return makeSerialLink(settings, ports_.serial, parts);
}

}  // namespace ombrel
