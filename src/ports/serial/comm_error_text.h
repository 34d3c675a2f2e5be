#pragma once

// The texts that OpenPort raises as ECommsError, exactly as operators and the
// engine's task results have always shown them.

namespace ombrel::comm_error_text {

inline constexpr const char* kAlreadyOpened = "This serial port already opened";
inline constexpr const char* kOpenFailed = "Error opening serial port";
inline constexpr const char* kNotCommHandle = "File handle is not a comm handle ";
inline constexpr const char* kBufferSetupFailed = "Cannot setup comm buffer";
inline constexpr const char* kEventFailed = "Unable to create event";
inline constexpr const char* kReadThreadFailed = "Unable to create read thread";
inline constexpr const char* kWriteThreadFailed = "Unable to create write thread";

}  // namespace ombrel::comm_error_text
