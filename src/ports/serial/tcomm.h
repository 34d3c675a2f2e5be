#pragma once

// TComm: one serial port, configured through its published properties, with a
// reader and a writer thread of its own. Its events run on the owner thread
// given at construction, in the order the port threads posted them.
//
// The operations may be called from any thread; the owner keeps calls that
// belong together (set the name, open, send, close) in order.

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "platform/owner_thread.h"
#include "ports/serial/notice_sink.h"
#include "ports/serial/serial_settings.h"
#include "ports/serial_port.h"

namespace ombrel {

class PortSession;

class TComm final : public SerialPort {
 public:
  // `owner` must outlive the component.
  explicit TComm(OwnerThread& owner);
  // Closes the port when it is still open.
  ~TComm() override;
  TComm(const TComm&) = delete;
  TComm& operator=(const TComm&) = delete;

  // Opens CommName with the current properties and starts both threads.
  // Raises ECommsError and stays closed on failure ("This serial port already
  // opened" leaves the open port as it is).
  void openPort() override;
  // Stops both threads and releases the port; no effect when closed.
  void closePort() override;
  bool isOpen() const override;
  // Queues a private copy of the bytes for the writer; true means queued, not
  // yet written. False, and nothing sent, when closed, when length is 0 or
  // when the writer has ended.
  bool sendData(const std::uint8_t* buffer, std::uint16_t length) override;
  void drainOutput(std::chrono::milliseconds limit) override;
  // False from a successful sendData until the writer next finds its queue
  // empty; true when closed.
  bool sendQueueEmpty() const { return sendQueueEmpty_.load(); }

  // Published properties. A setter stores only a changed value; on an open
  // port the line properties (BaudRate to ReplacedChar) are re-applied at
  // once, and so are the time-outs. CommName and Parity are only stored: they
  // count from the next open (Parity also from the next re-application).
  void setCommName(const std::string& name) override;
  std::string commName() const override;
  void setBaudRate(std::uint32_t rate) override;
  std::uint32_t baudRate() const override { return line(&LineSettings::baudRate); }
  void setParityCheck(bool on);
  bool parityCheck() const { return line(&LineSettings::parityCheck); }
  void setOutx_CtsFlow(bool on);
  bool outx_CtsFlow() const { return line(&LineSettings::outx_CtsFlow); }
  void setOutx_DsrFlow(bool on);
  bool outx_DsrFlow() const { return line(&LineSettings::outx_DsrFlow); }
  void setDtrControl(TDtrControl control);
  TDtrControl dtrControl() const { return line(&LineSettings::dtrControl); }
  void setDsrSensitivity(bool on);
  bool dsrSensitivity() const { return line(&LineSettings::dsrSensitivity); }
  void setTxContinueOnXoff(bool on);
  bool txContinueOnXoff() const { return line(&LineSettings::txContinueOnXoff); }
  void setOutx_XonXoffFlow(bool on);
  bool outx_XonXoffFlow() const { return line(&LineSettings::outx_XonXoffFlow); }
  void setInx_XonXoffFlow(bool on);
  bool inx_XonXoffFlow() const { return line(&LineSettings::inx_XonXoffFlow); }
  void setReplaceWhenParityError(bool on);
  bool replaceWhenParityError() const { return line(&LineSettings::replaceWhenParityError); }
  void setIgnoreNullChar(bool on);
  bool ignoreNullChar() const { return line(&LineSettings::ignoreNullChar); }
  void setRtsControl(TRtsControl control);
  TRtsControl rtsControl() const { return line(&LineSettings::rtsControl); }
  void setXonLimit(std::uint16_t limit);
  std::uint16_t xonLimit() const { return line(&LineSettings::xonLimit); }
  void setXoffLimit(std::uint16_t limit);
  std::uint16_t xoffLimit() const { return line(&LineSettings::xoffLimit); }
  void setByteSize(TByteSize size);
  TByteSize byteSize() const { return line(&LineSettings::byteSize); }
  void setParity(TParity parity);
  TParity parity() const { return line(&LineSettings::parity); }
  void setStopBits(TStopBits bits);
  TStopBits stopBits() const { return line(&LineSettings::stopBits); }
  void setXonChar(std::uint8_t value);
  std::uint8_t xonChar() const { return line(&LineSettings::xonChar); }
  void setXoffChar(std::uint8_t value);
  std::uint8_t xoffChar() const { return line(&LineSettings::xoffChar); }
  void setReplacedChar(std::uint8_t value);
  std::uint8_t replacedChar() const { return line(&LineSettings::replacedChar); }

  void setReadIntervalTimeout(std::uint32_t ms);
  std::uint32_t readIntervalTimeout() const { return timeout(&CommTimeouts::readInterval); }
  void setReadTotalTimeoutMultiplier(std::uint32_t ms);
  std::uint32_t readTotalTimeoutMultiplier() const { return timeout(&CommTimeouts::readTotalMultiplier); }
  void setReadTotalTimeoutConstant(std::uint32_t ms);
  std::uint32_t readTotalTimeoutConstant() const { return timeout(&CommTimeouts::readTotalConstant); }
  void setWriteTotalTimeoutMultiplier(std::uint32_t ms);
  std::uint32_t writeTotalTimeoutMultiplier() const { return timeout(&CommTimeouts::writeTotalMultiplier); }
  void setWriteTotalTimeoutConstant(std::uint32_t ms);
  std::uint32_t writeTotalTimeoutConstant() const { return timeout(&CommTimeouts::writeTotalConstant); }
  // The three read time-outs at once, applied once.
  void setReadTimeouts(std::uint32_t intervalMs, std::uint32_t totalMultiplier, std::uint32_t totalConstant) override;

  // Events, run on the owner thread. A chunk's buffer is valid only during
  // the call; the byte after the last one is a zero byte.
  void setOnReceiveData(ReceiveDataHandler handler) override;
  // Offered each chunk on the reader thread before OnReceiveData is posted.
  void setDirectReceive(DirectReceiveHandler handler) override;
  void setChunkEnd(ChunkEndTest test) override;
  void setOnReceiveError(ReceiveErrorHandler handler);
  void setOnModemStateChange(ModemStateChangeHandler handler);
  void setOnRequestHangup(NotifyHandler handler);
  void setOnSendDataEmpty(NotifyHandler handler);

 private:
  template <typename T>
  T line(T LineSettings::*member) const {
    std::lock_guard lock(mutex_);
    return line_.*member;
  }
  template <typename T>
  T timeout(T CommTimeouts::*member) const {
    std::lock_guard lock(mutex_);
    return timeouts_.*member;
  }
  template <typename T>
  void setLine(T LineSettings::*member, T value);
  void setTimeout(std::uint32_t CommTimeouts::*member, std::uint32_t value);

  const std::shared_ptr<NoticeSink> sink_;
  std::atomic<bool> sendQueueEmpty_{true};
  mutable std::mutex mutex_;
  std::string commName_ = "COM2";
  LineSettings line_;
  CommTimeouts timeouts_;
  std::unique_ptr<PortSession> session_;  // none while closed
};

}  // namespace ombrel
