#include "ports/serial_port_factory.h"

#include "platform/errors.h"

namespace ombrel {

namespace {
// Interim port until the serial component is in: every open fails plainly.
class InterimSerialPort final : public SerialPort {
 public:
  void setCommName(const std::string& name) override { name_ = name; }
  std::string commName() const override { return name_; }
  void setBaudRate(std::uint32_t rate) override { rate_ = rate; }
  std::uint32_t baudRate() const override { return rate_; }
  void setReadTimeouts(std::uint32_t, std::uint32_t, std::uint32_t) override {}
  void openPort() override { throw ECommsError("Serial ports are not supported by this build"); }
  void closePort() override {}
  bool isOpen() const override { return false; }
  bool sendData(const std::uint8_t*, std::uint16_t) override { return false; }
  void setOnReceiveData(ReceiveDataHandler) override {}

 private:
  std::string name_ = "COM2";
  std::uint32_t rate_ = 9600;
};
}  // namespace

std::unique_ptr<SerialPort> makePrinterSerialPort(OwnerThread&) {
  return std::make_unique<InterimSerialPort>();
}

}  // namespace ombrel
