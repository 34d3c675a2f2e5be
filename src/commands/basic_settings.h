#pragma once

// The basic settings: speed, flow control, code page, density, font,
// line-feed byte, buzzer and cutter, sleep and power-off times, all of them at
// once, printer defaults, USB class, paper type, print order and receipt
// recycle time. Pure functions from control values to command data.

#include <cstdint>

#include "commands/window_action.h"
#include "settings/para_controls.h"

namespace ombrel {

// The values of the list items come from their rows (para_layout.cpp).
// The printer's number for an item of cbb_Codepage; 255 with no item.
int codePageValue(int item);
// The printer's rate code for an item of cbb_BauRate; 0 with no item.
int baudIndexOfItem(int item);

// One byte: density bits, font bits, cutter 0x20, buzzer 0x04. With no
// density chosen (-1) the byte stays 0xFF; with no font no font bit.
std::uint8_t switchOptions(int darkItem, int fontItem, bool cutter, bool buzzer);
// The cbb_Forcepaper item's byte, 0xFF with no item chosen.
std::uint8_t lineFeedByte(int forcepaperItem);

// 2 bytes: switch options, line-feed byte.
Bytes switchOptionsPayload(const ParaControls& controls);
// 8 bytes: sleep and power-off seconds, little-endian (1000 and 3000 when the
// texts are not whole numbers).
Bytes timesPayload(const ParaControls& controls);
// 12 bytes: code page (255 with none), rate code (0 with none), switch
// options, line-feed byte, sleep time, power-off time.
Bytes allParametersPayload(const ParaControls& controls);
// 1 byte: the low 8 bits of the recycle time (30 when not a whole number).
Bytes recycleTimePayload(const ParaControls& controls);

// The Set buttons.
ActionOutcome btn_SetBauRateClick(const ParaControls& controls);
ActionOutcome btn_flowcontrolClick(const ParaControls& controls);
ActionOutcome btn_SetCodepageClick(const ParaControls& controls);
ActionOutcome btn_SetForcepaperClick(const ParaControls& controls);
ActionOutcome btn_SetpoweroffTimeClick(const ParaControls& controls);
ActionOutcome btn_SetAllParaClick(const ParaControls& controls);
ActionOutcome btn_SetResetClick(const ParaControls& controls);
ActionOutcome btn_SetUsbDeviceTypeClick(const ParaControls& controls);
ActionOutcome btn_SetPaperTypeClick(const ParaControls& controls);
ActionOutcome btn_SetPrinterOrderClick(const ParaControls& controls);
ActionOutcome btn_SetRptTimeClick(const ParaControls& controls);

}  // namespace ombrel
