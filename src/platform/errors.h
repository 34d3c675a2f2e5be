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
  Other,              // anything else
};

// The common error family: every failure that the engine or a port raises on
// purpose carries its kind and the text that the task records as its failure
// text.
class ECommonError : public std::runtime_error {
 public:
  explicit ECommonError(const std::string& text, FailureKind kind = FailureKind::Other)
      : std::runtime_error(text), kind_(kind) {}
  FailureKind kind() const { return kind_; }

 private:
  FailureKind kind_;
};

// No valid reply: "Download Data Failed" or "Received Failed".
class ECommunicationException : public ECommonError {
 public:
  explicit ECommunicationException(const std::string& text) : ECommonError(text, FailureKind::NoReply) {}
};

// CancelRequested was set: "Operaton Cancelled" or "Operation Cancelled".
class EUserCancelException : public ECommonError {
 public:
  explicit EUserCancelException(const std::string& text) : ECommonError(text, FailureKind::Cancelled) {}
};

// A rate change or the update announce failed.
class ESetBaudRateException : public ECommonError {
 public:
  explicit ESetBaudRateException(const std::string& text, FailureKind kind = FailureKind::RateChangeRefused)
      : ECommonError(text, kind) {}
};

// A port could not be opened, or did not take bytes (the port drivers' messages).
class ECommsError : public ECommonError {
 public:
  explicit ECommsError(const std::string& text, FailureKind kind = FailureKind::PortWouldNotOpen)
      : ECommonError(text, kind) {}
};

// The engine's own failure texts, exactly as the printer tools have always shown them.
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
