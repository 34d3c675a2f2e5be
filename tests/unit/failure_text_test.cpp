#include <gtest/gtest.h>

#include "platform/errors.h"

namespace ombrel {
namespace {

// Every failure the engine raises, with its kind and the text operators,
// scripts and the trace have always seen.
TEST(FailureText, EachFailureHasItsKindAndTodaysText) {
  struct Row {
    Failure failure;
    const char* argument;
    FailureKind kind;
    const char* text;
  };
  const Row rows[] = {
      {Failure::CommandUnanswered, "", FailureKind::NoReply, "Download Data Failed"},
      {Failure::ReadUnanswered, "", FailureKind::NoReply, "Received Failed"},
      {Failure::ReadWithoutData, "0x1F00", FailureKind::NoReply, "Received no data from address 0x1F00"},
      {Failure::StreamRefused, "", FailureKind::NoReply, "Download Data Failed"},
      {Failure::SendCancelled, "", FailureKind::Cancelled, "Operaton Cancelled"},
      {Failure::ReadCancelled, "", FailureKind::Cancelled, "Operation Cancelled"},
      {Failure::RateRefused, "", FailureKind::RateChangeRefused, "Set Baudrate Failed"},
      {Failure::ConnectRefused, "", FailureKind::ConnectRefused, "Connecting Failed"},
      {Failure::SerialPortRefusedBytes, "/dev/ttyS0", FailureKind::PortRefusedBytes,
       "The serial port /dev/ttyS0 did not take the bytes"},
      {Failure::PortRefusedBytes, "Error write USB DEVICE ", FailureKind::PortRefusedBytes, "Error write USB DEVICE "},
      {Failure::FileNotThere, "/tmp/font.bin", FailureKind::FileMissing, "File /tmp/font.bin not Exist"},
      {Failure::ProgramForOtherPrinter, "程序文件错误", FailureKind::WrongProgramFile, "程序文件错误"},
      {Failure::UnknownHardwareSetting, "7", FailureKind::InputRefused, "Unknown hardware setting 7"},
      {Failure::CommandDataTooLong, "", FailureKind::InputRefused, "Command data too long"},
      {Failure::NotAnInteger, "$3G", FailureKind::InputRefused, "'$3G' is not a valid integer value"},
      {Failure::NoReadBackFile, "", FailureKind::InputRefused, "No file to save the read-back to"},
      {Failure::HandshakeNotSerial, "", FailureKind::InputRefused, "The boot handshake runs on a serial link only"},
      {Failure::VerifyMismatch, "校验失败：地址 0x1012C", FailureKind::VerifyFailed, "校验失败：地址 0x1012C"},
      {Failure::FileUnreadable, "/tmp/logo.bin", FailureKind::Other, "Cannot read /tmp/logo.bin"},
      {Failure::Undefined, "", FailureKind::Other, "Undefined Error"},
  };
  for (const Row& row : rows) {
    const ECommonError error(row.failure, row.argument);
    EXPECT_EQ(error.kind(), row.kind) << row.text;
    EXPECT_STREQ(error.what(), row.text);
  }
}

}  // namespace
}  // namespace ombrel
