#pragma once

// The device group and the infrared tab: the printer's product name and
// serial number (task 15), and its infrared link (task 14). Pure functions
// from control values to command data.

#include <string>

#include "commands/window_action.h"
#include "settings/para_controls.h"

namespace ombrel {

// The width of each of the two text fields of the device payload.
inline constexpr std::size_t kDeviceFieldBytes = 20;

// 40 bytes: the name's bytes zero-padded to 20, then the serial number's.
// A text that fills its field has no terminator. Raises std::length_error
// naming the field when a text is longer than 20 bytes: cutting it would
// write another name or number than the one the operator sees.
Bytes devicePayload(const std::string& name, const std::string& serialNumber);

// 3 bytes: rate item, 1 when infrared is on, protocol item.
Bytes infraredPayload(int rateItem, bool infraredOn, int protocolItem);

// Task 15 with the device payload; refused when the name is empty (the
// language's sMsg1), when a text is too long for its field, and when a step
// direction is chosen but the serial number or the next one is not a 32-bit
// number, because then the next printer could not get the next number.
ActionOutcome btn_SetDeviceParaClick(const ParaControls& controls);
// Task 14 with the infrared payload; both lists need a chosen item. The
// rate and protocol are sent even when infrared is off.
ActionOutcome btn_SetInfraredParaClick(const ParaControls& controls);

}  // namespace ombrel
