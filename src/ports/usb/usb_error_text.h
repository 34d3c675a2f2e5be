#pragma once

// The texts that the USB printer port raises as ECommsError, exactly as
// operators and the engine's task results have always shown them.

namespace ombrel::usb_error_text {

inline constexpr const char* kDeviceSetFailed = "Failed to open handle to HID device set";
inline constexpr const char* kOpenFailed = "Error open USB DEVICE ";
// The port is closed, or its writer has ended: the bytes were not taken.
inline constexpr const char* kWriteFailed = "Error write USB DEVICE ";

}  // namespace ombrel::usb_error_text
