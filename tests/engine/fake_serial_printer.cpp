#include "fake_serial_printer.h"

#include "scripted_reply.h"
#include "platform/errors.h"

namespace ombrel::testing_support {

void FakeSerialPrinter::setCommName(const std::string& name) {
  std::lock_guard lock(mutex_);
  name_ = name;
}

std::string FakeSerialPrinter::commName() const {
  std::lock_guard lock(mutex_);
  return name_;
}

void FakeSerialPrinter::setBaudRate(std::uint32_t rate) {
  std::lock_guard lock(mutex_);
  if (rate != rate_ && open_) events_.push_back("rate " + std::to_string(rate));
  rate_ = rate;
}

std::uint32_t FakeSerialPrinter::baudRate() const {
  std::lock_guard lock(mutex_);
  return rate_;
}

void FakeSerialPrinter::openPort() {
  std::lock_guard lock(mutex_);
  if (open_) throw ECommsError("This serial port already opened");
  if (name_ == "missing") throw ECommsError("Error opening serial port");
  open_ = true;
  events_.push_back("open " + name_ + "@" + std::to_string(rate_));
}

void FakeSerialPrinter::closePort() {
  std::lock_guard lock(mutex_);
  if (open_) events_.push_back("close");
  open_ = false;
}

bool FakeSerialPrinter::isOpen() const {
  std::lock_guard lock(mutex_);
  return open_;
}

bool FakeSerialPrinter::sendData(const std::uint8_t* buffer, std::uint16_t length) {
  const Bytes sent(buffer, buffer + length);
  Bytes reply;
  {
    std::lock_guard lock(mutex_);
    if (!open_ || length == 0 || refusing_) return false;
    events_.push_back("send " + toHex(sent));
    writes_.push_back(sent);
    if (sent == Bytes{0x61} && bootBytesBeforeAnswer_ >= 0 && --bootBytesBeforeAnswer_ < 0) {
      reply = Bytes{0x61};
    }
    if (const Bytes answer = scriptedReply(sent, ignored_); !answer.empty()) {
      reply = noise_;
      reply.insert(reply.end(), answer.begin(), answer.end());
    }
  }
  if (!reply.empty()) deliver(reply);
  return true;
}

void FakeSerialPrinter::setOnReceiveData(ReceiveDataHandler handler) {
  std::lock_guard lock(mutex_);
  handler_ = std::move(handler);
}

void FakeSerialPrinter::refuseWrites() {
  std::lock_guard lock(mutex_);
  refusing_ = true;
}

void FakeSerialPrinter::setDirectReceive(DirectReceiveHandler handler) {
  std::lock_guard lock(directMutex_);
  direct_ = std::move(handler);
}

void FakeSerialPrinter::ignoreCommand(int command) {
  std::lock_guard lock(mutex_);
  ignored_.insert(command);
}

void FakeSerialPrinter::setReplyPrefixNoise(Bytes noise) {
  std::lock_guard lock(mutex_);
  noise_ = std::move(noise);
}

void FakeSerialPrinter::answerBootByteAfter(int count) {
  std::lock_guard lock(mutex_);
  bootBytesBeforeAnswer_ = count - 1;
}

void FakeSerialPrinter::deliver(const Bytes& bytes) {
  {
    std::lock_guard lock(directMutex_);
    if (direct_ && direct_(bytes.data(), bytes.size())) return;
  }
  owner_.post([this, bytes] {
    ReceiveDataHandler handler;
    {
      std::lock_guard lock(mutex_);
      handler = handler_;
    }
    if (handler) handler(bytes.data(), static_cast<std::uint16_t>(bytes.size()));
  });
}

std::vector<std::string> FakeSerialPrinter::events() const {
  std::lock_guard lock(mutex_);
  return events_;
}

std::vector<Bytes> FakeSerialPrinter::writes() const {
  std::lock_guard lock(mutex_);
  return writes_;
}

}  // namespace ombrel::testing_support
