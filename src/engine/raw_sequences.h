#pragma once

// The raw byte sequences that some tasks write without a frame and without
// awaiting a reply. Pure functions from the task's command data to bytes.

#include <cstdint>

#include "platform/bytes.h"

namespace ombrel::raw {

// code, flag.
Bytes switchSequence(std::uint8_t code, std::uint8_t flag);
// 0x1F 0x1B, then the data.
Bytes escapeSequence(const Bytes& data);
// The 15-byte head of a command-141 frame without its final 0x00, then the data.
Bytes flowControlSequence(const Bytes& data);

// Whether the task writes a raw sequence without opening the link, once the
// printer has identified itself (26, 27 and 29 to 43).
bool isRawTask(int code);
// The bytes that raw task `code` writes, built from its command data (missing
// command data bytes count as 0).
Bytes rawTaskBytes(int code, const Bytes& payload);

// Task 23's three bytes: setting 0 USB device class (0x12 0x55 n), 1 paper
// type (0x1F 0x41 n), 2 print order (0x1B 0x7B m); `item` is the chosen item.
// Empty for any other setting.
Bytes hardwareSettingBytes(int setting, int item);

// Task 17's four bytes: print the stored logo `number` (1 the first, 0 none).
Bytes printLogoBytes(int number);

}  // namespace ombrel::raw
