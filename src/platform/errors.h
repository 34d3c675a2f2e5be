#pragma once

#include <stdexcept>
#include <string>

namespace ombrel {

// What went wrong, for the code that decides what follows (advice, warnings,
// exit status, a station's verdict). The text beside it is only shown.
enum class FailureKind {
  None,               // the task succeeded
  NoReply,            // the printer did not answer in time
  Cancelled,          // the operator cancelled the task
  RateChangeRefused,  // the printer did not take the task's rate
  ConnectRefused,     // no printer answered the link test or the update announce
  PortWouldNotOpen,   // the link's port could not be opened
  PortRefusedBytes,   // the port did not take bytes written to it
  FileMissing,        // a file the task sends is not there
  WrongProgramFile,   // the program file is for another printer
  InputRefused,       // the task's arguments or link choice cannot be used
  VerifyFailed,       // memory read back after a download differs from what was sent
  Other,              // anything else
};

// The engine's own failures: each names its kind and which of the kind's
// texts it shows. failureText makes the text from it and its argument.
enum class Failure {
  CommandUnanswered,       // NoReply: a command frame went unanswered
  ReadUnanswered,          // NoReply: a block read went unanswered
  ReadWithoutData,         // NoReply: a read's reply held no data; argument: the address
  StreamRefused,           // NoReply: the port refused a piece of a raw program stream
  SendCancelled,           // Cancelled, while sending
  ReadCancelled,           // Cancelled, while reading
  RateRefused,             // RateChangeRefused
  ConnectRefused,          // ConnectRefused
  SerialPortRefusedBytes,  // PortRefusedBytes; argument: the serial port's name
  PortRefusedBytes,        // PortRefusedBytes; argument: the port's own text
  FileNotThere,            // FileMissing; argument: the path
  ProgramForOtherPrinter,  // WrongProgramFile; argument: the refusal in the current language
  UnknownHardwareSetting,  // InputRefused; argument: the setting's number
  CommandDataTooLong,      // InputRefused
  NotAnInteger,            // InputRefused; argument: the text
  NoReadBackFile,          // InputRefused
  HandshakeNotSerial,      // InputRefused
  VerifyMismatch,          // VerifyFailed; argument: the text in the current language, with the address
  FileUnreadable,          // Other; argument: the path
  Undefined,               // Other: an error of no known kind
};

FailureKind kindOf(Failure failure);
// The text shown for `failure`, exactly as the printer tools have always
// shown it; `argument` fills the part that names something.
std::string failureText(Failure failure, const std::string& argument = {});

// The common error family: every failure that the engine or a port raises on
// purpose carries its kind and the text that the task records as its failure
// text.
class ECommonError : public std::runtime_error {
 public:
  // A failure whose text its raiser has: a port's driver message, a front
  // end's refusal of the window's values, a file that cannot be saved.
  explicit ECommonError(const std::string& text, FailureKind kind = FailureKind::Other)
      : std::runtime_error(text), kind_(kind) {}
  // One of the engine's own failures.
  explicit ECommonError(Failure failure, const std::string& argument = {})
      : std::runtime_error(failureText(failure, argument)), kind_(kindOf(failure)) {}
  FailureKind kind() const { return kind_; }

 private:
  FailureKind kind_;
};

// A port could not be opened, or did not take bytes (the port drivers' messages).
class ECommsError : public ECommonError {
 public:
  explicit ECommsError(const std::string& text, FailureKind kind = FailureKind::PortWouldNotOpen)
      : ECommonError(text, kind) {}
};

// Texts the front ends show beside the engine's failures.
namespace error_text {
inline constexpr const char* kDownloadDataFailed = "Download Data Failed";
inline constexpr const char* kReceivedFailed = "Received Failed";
inline constexpr const char* kSendCancelled = "Operaton Cancelled";
inline constexpr const char* kReadCancelled = "Operation Cancelled";
inline constexpr const char* kSetBaudrateFailed = "Set Baudrate Failed";
inline constexpr const char* kConnectingFailed = "Connecting Failed";
inline constexpr const char* kUndefinedError = "Undefined Error";
}  // namespace error_text

}  // namespace ombrel
