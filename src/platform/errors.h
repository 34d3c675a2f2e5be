#pragma once

#include <stdexcept>
#include <string>

namespace ombrel {

// The common error family: every failure that the engine or a port raises on
// purpose carries the text that the task records as its failure text.
class ECommonError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// No valid reply: "Download Data Failed" or "Received Failed".
class ECommunicationException : public ECommonError {
 public:
  using ECommonError::ECommonError;
};

// CancelRequested was set: "Operaton Cancelled" or "Operation Cancelled".
class EUserCancelException : public ECommonError {
 public:
  using ECommonError::ECommonError;
};

// A rate change or the update announce failed.
class ESetBaudRateException : public ECommonError {
 public:
  using ECommonError::ECommonError;
};

// A port could not be opened (the port drivers' messages).
class ECommsError : public ECommonError {
 public:
  using ECommonError::ECommonError;
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
