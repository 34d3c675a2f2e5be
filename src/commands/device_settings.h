#pragma once

// The device group and the infrared tab: the printer's product name and
// serial number (task 15), and its infrared link (task 14). Pure functions
// from control values to command data.

#include "commands/window_action.h"
#include "settings/para_controls.h"

namespace ombrel {

// The width of each of the two text fields of the device payload.
inline constexpr std::size_t kDeviceFieldBytes = 20;

// 40 bytes: the name's bytes zero-padded to 20, then the serial number's
// (each at most 20 bytes). A text that fills its field has no terminator.
Bytes devicePayload(const Bytes& name, const Bytes& serialNumber);

// 3 bytes: rate item, 1 when infrared is on, protocol item.
Bytes infraredPayload(int rateItem, bool infraredOn, int protocolItem);

// Task 15 with the device payload; refused when the name is empty (the
// language's sMsg1), when a text is too long for its field (cutting it would
// write another name or number than the operator sees), and when a step
// direction is chosen but the serial number or the next one is not a 32-bit
// number, because then the next printer could not get the next number.
ActionOutcome btn_SetDeviceParaClick(const ParaControls& controls);
// Task 14 with the infrared payload; both lists need a chosen item. The
// rate and protocol are sent even when infrared is off.
ActionOutcome btn_SetInfraredParaClick(const ParaControls& controls);

}  // namespace ombrel
