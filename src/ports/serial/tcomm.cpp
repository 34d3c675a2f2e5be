#include "ports/serial/tcomm.h"

#include <thread>

#include <utility>

#include "platform/errors.h"
#include "ports/serial/comm_error_text.h"
#include "ports/serial/port_session.h"
#include "ports/serial/serial_port_name.h"

namespace ombrel {

TComm::TComm(OwnerThread& owner) : sink_(std::make_shared<NoticeSink>(owner)) {}

TComm::~TComm() {
  // Port threads must not outlive the component they report for.
  closePort();
  sink_->detach();
}

void TComm::openPort() {
  std::lock_guard lock(mutex_);
  if (session_) throw ECommsError(comm_error_text::kAlreadyOpened);
  SerialDevice device = SerialDevice::open(devicePathFor(commName_));
  device.purge(SerialDevice::Purge::Both);
  sendQueueEmpty_.store(true);
  device.applyLineSettings(line_);
  session_ = std::make_unique<PortSession>(std::move(device), sink_, sendQueueEmpty_, timeouts_);
}

void TComm::closePort() {
  std::lock_guard lock(mutex_);
  session_.reset();
}

bool TComm::isOpen() const {
  std::lock_guard lock(mutex_);
  return session_ != nullptr;
}

bool TComm::sendData(const std::uint8_t* buffer, std::uint16_t length) {
  if (buffer == nullptr || length == 0) return false;
  std::lock_guard lock(mutex_);
  return session_ && session_->queue.push(Bytes(buffer, buffer + length));
}

void TComm::drainOutput(std::chrono::milliseconds limit) {
  // Polled rather than a blocking drain: a stalled line (flow control held,
  // cable pulled) must neither hang the caller nor hold the port's lock.
  const auto deadline = std::chrono::steady_clock::now() + limit;
  const auto outputLeft = [this] {
    if (!sendQueueEmpty_.load()) return true;
    std::lock_guard lock(mutex_);
    return session_ && session_->device.outputPending();
  };
  while (outputLeft() && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

void TComm::setCommName(const std::string& name) {
  std::lock_guard lock(mutex_);
  commName_ = name;
}

std::string TComm::commName() const {
  std::lock_guard lock(mutex_);
  return commName_;
}

template <typename T>
void TComm::setLine(T LineSettings::*member, T value) {
  std::lock_guard lock(mutex_);
  if (line_.*member == value) return;
  line_.*member = value;
  if (session_) session_->device.applyLineSettings(line_);
}

void TComm::setBaudRate(std::uint32_t rate) { setLine(&LineSettings::baudRate, rate); }
void TComm::setParityCheck(bool on) { setLine(&LineSettings::parityCheck, on); }
void TComm::setOutx_CtsFlow(bool on) { setLine(&LineSettings::outx_CtsFlow, on); }
void TComm::setOutx_DsrFlow(bool on) { setLine(&LineSettings::outx_DsrFlow, on); }
void TComm::setDtrControl(TDtrControl control) { setLine(&LineSettings::dtrControl, control); }
void TComm::setDsrSensitivity(bool on) { setLine(&LineSettings::dsrSensitivity, on); }
void TComm::setTxContinueOnXoff(bool on) { setLine(&LineSettings::txContinueOnXoff, on); }
void TComm::setOutx_XonXoffFlow(bool on) { setLine(&LineSettings::outx_XonXoffFlow, on); }
void TComm::setInx_XonXoffFlow(bool on) { setLine(&LineSettings::inx_XonXoffFlow, on); }
void TComm::setReplaceWhenParityError(bool on) { setLine(&LineSettings::replaceWhenParityError, on); }
void TComm::setIgnoreNullChar(bool on) { setLine(&LineSettings::ignoreNullChar, on); }
void TComm::setRtsControl(TRtsControl control) { setLine(&LineSettings::rtsControl, control); }
void TComm::setXonLimit(std::uint16_t limit) { setLine(&LineSettings::xonLimit, limit); }
void TComm::setXoffLimit(std::uint16_t limit) { setLine(&LineSettings::xoffLimit, limit); }
void TComm::setByteSize(TByteSize size) { setLine(&LineSettings::byteSize, size); }
void TComm::setStopBits(TStopBits bits) { setLine(&LineSettings::stopBits, bits); }
void TComm::setXonChar(std::uint8_t value) { setLine(&LineSettings::xonChar, value); }
void TComm::setXoffChar(std::uint8_t value) { setLine(&LineSettings::xoffChar, value); }
void TComm::setReplacedChar(std::uint8_t value) { setLine(&LineSettings::replacedChar, value); }

void TComm::setParity(TParity parity) {
  std::lock_guard lock(mutex_);
  line_.parity = parity;
}

void TComm::setTimeout(std::uint32_t CommTimeouts::*member, std::uint32_t value) {
  std::lock_guard lock(mutex_);
  if (timeouts_.*member == value) return;
  timeouts_.*member = value;
  if (session_) session_->timeouts.set(timeouts_);
}

void TComm::setReadIntervalTimeout(std::uint32_t ms) { setTimeout(&CommTimeouts::readInterval, ms); }
void TComm::setReadTotalTimeoutMultiplier(std::uint32_t ms) { setTimeout(&CommTimeouts::readTotalMultiplier, ms); }
void TComm::setReadTotalTimeoutConstant(std::uint32_t ms) { setTimeout(&CommTimeouts::readTotalConstant, ms); }
void TComm::setWriteTotalTimeoutMultiplier(std::uint32_t ms) { setTimeout(&CommTimeouts::writeTotalMultiplier, ms); }
void TComm::setWriteTotalTimeoutConstant(std::uint32_t ms) { setTimeout(&CommTimeouts::writeTotalConstant, ms); }

void TComm::setReadTimeouts(std::uint32_t intervalMs, std::uint32_t totalMultiplier, std::uint32_t totalConstant) {
  std::lock_guard lock(mutex_);
  CommTimeouts wanted = timeouts_;
  wanted.readInterval = intervalMs;
  wanted.readTotalMultiplier = totalMultiplier;
  wanted.readTotalConstant = totalConstant;
  if (wanted == timeouts_) return;
  timeouts_ = wanted;
  if (session_) session_->timeouts.set(timeouts_);
}

void TComm::setOnReceiveData(ReceiveDataHandler handler) { sink_->setOnReceiveData(std::move(handler)); }
void TComm::setDirectReceive(DirectReceiveHandler handler) { sink_->setDirectReceive(std::move(handler)); }
void TComm::setChunkEnd(ChunkEndTest test) { sink_->setChunkEnd(std::move(test)); }
void TComm::setOnReceiveError(ReceiveErrorHandler handler) { sink_->setOnReceiveError(std::move(handler)); }
void TComm::setOnModemStateChange(ModemStateChangeHandler handler) { sink_->setOnModemStateChange(std::move(handler)); }
void TComm::setOnRequestHangup(NotifyHandler handler) { sink_->setOnRequestHangup(std::move(handler)); }
void TComm::setOnSendDataEmpty(NotifyHandler handler) { sink_->setOnSendDataEmpty(std::move(handler)); }

}  // namespace ombrel
