#pragma once

// A serial port with a scripted printer behind it, for engine tests without a
// device. Its answers are offered to the direct receiver on the writing
// thread, standing in for the port's reader thread, and posted to the owner's
// thread when it declines them, as a real port delivers received bytes.

#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "platform/bytes.h"
#include "platform/owner_thread.h"
#include "ports/serial_port.h"

namespace ombrel::testing_support {

class FakeSerialPrinter final : public SerialPort {
 public:
  explicit FakeSerialPrinter(OwnerThread& owner) : owner_(owner) {}

  void setCommName(const std::string& name) override;
  std::string commName() const override;
  void setBaudRate(std::uint32_t rate) override;
  std::uint32_t baudRate() const override;
  void setReadTimeouts(std::uint32_t, std::uint32_t, std::uint32_t) override {}
  void openPort() override;
  void closePort() override;
  bool isOpen() const override;
  bool sendData(const std::uint8_t* buffer, std::uint16_t length) override;
  void setOnReceiveData(ReceiveDataHandler handler) override;
  void setDirectReceive(DirectReceiveHandler handler) override;
  void drainOutput(std::chrono::milliseconds) override {}

  // The printer's behaviour.
  void ignoreCommand(int command);
  // sendData refuses every write from now on, as a port whose writer failed.
  void refuseWrites();
  void setReplyPrefixNoise(Bytes noise);
  // Answers the boot byte 0x61 with 0x61 from the `count`-th one on.
  void answerBootByteAfter(int count);
  // Bytes as if the printer spoke on its own; any thread may call it.
  void deliver(const Bytes& bytes);

  // What happened: "open NAME@RATE", "close", "rate N", "send HEX".
  std::vector<std::string> events() const;
  std::vector<Bytes> writes() const;

 private:
  OwnerThread& owner_;
  mutable std::mutex mutex_;
  std::string name_ = "COM2";
  std::uint32_t rate_ = 9600;
  bool open_ = false;
  bool refusing_ = false;
  std::set<int> ignored_;
  Bytes noise_;
  int bootBytesBeforeAnswer_ = -1;
  std::vector<std::string> events_;
  std::vector<Bytes> writes_;
  ReceiveDataHandler handler_;
  std::mutex directMutex_;  // held through a direct call, as the port holds it
  DirectReceiveHandler direct_;
};

}  // namespace ombrel::testing_support
