#include <array>
#include <string_view>

#include "platform/errors.h"

namespace ombrel {
namespace {

struct FailureRow {
  Failure failure;
  FailureKind kind;
  std::string_view before;  // the text before the argument
  std::string_view after;   // the text after it
};

// The one table of the engine's failure texts; a row without an argument
// shows `before` alone.
constexpr std::array kRows{
    FailureRow{Failure::CommandUnanswered, FailureKind::NoReply, error_text::kDownloadDataFailed, ""},
    FailureRow{Failure::ReadUnanswered, FailureKind::NoReply, error_text::kReceivedFailed, ""},
    FailureRow{Failure::ReadWithoutData, FailureKind::NoReply, "Received no data from address ", ""},
    FailureRow{Failure::StreamRefused, FailureKind::NoReply, error_text::kDownloadDataFailed, ""},
    FailureRow{Failure::SendCancelled, FailureKind::Cancelled, error_text::kSendCancelled, ""},
    FailureRow{Failure::ReadCancelled, FailureKind::Cancelled, error_text::kReadCancelled, ""},
    FailureRow{Failure::RateRefused, FailureKind::RateChangeRefused, error_text::kSetBaudrateFailed, ""},
    FailureRow{Failure::ConnectRefused, FailureKind::ConnectRefused, error_text::kConnectingFailed, ""},
    FailureRow{Failure::SerialPortRefusedBytes, FailureKind::PortRefusedBytes, "The serial port ",
               " did not take the bytes"},
    FailureRow{Failure::PortRefusedBytes, FailureKind::PortRefusedBytes, "", ""},
    FailureRow{Failure::FileNotThere, FailureKind::FileMissing, "File ", " not Exist"},
    FailureRow{Failure::ProgramForOtherPrinter, FailureKind::WrongProgramFile, "", ""},
    FailureRow{Failure::UnknownHardwareSetting, FailureKind::InputRefused, "Unknown hardware setting ", ""},
    FailureRow{Failure::CommandDataTooLong, FailureKind::InputRefused, "Command data too long", ""},
    FailureRow{Failure::NotAnInteger, FailureKind::InputRefused, "'", "' is not a valid integer value"},
    FailureRow{Failure::NoReadBackFile, FailureKind::InputRefused, "No file to save the read-back to", ""},
    FailureRow{Failure::HandshakeNotSerial, FailureKind::InputRefused, "The boot handshake runs on a serial link only",
               ""},
    FailureRow{Failure::VerifyMismatch, FailureKind::VerifyFailed, "", ""},
    FailureRow{Failure::FileUnreadable, FailureKind::Other, "Cannot read ", ""},
    FailureRow{Failure::Undefined, FailureKind::Other, error_text::kUndefinedError, ""},
};

const FailureRow& rowOf(Failure failure) {
  for (const FailureRow& row : kRows) {
    if (row.failure == failure) return row;
  }
  return kRows.back();
}

}  // namespace

FailureKind kindOf(Failure failure) { return rowOf(failure).kind; }

std::string failureText(Failure failure, const std::string& argument) {
  const FailureRow& row = rowOf(failure);
  std::string text(row.before);
  text += argument;
  text += row.after;
  return text;
}

}  // namespace ombrel
