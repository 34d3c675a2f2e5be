#pragma once

// The update buttons of the download tab: the file named in edt_Prgfile goes
// to the printer, through its loader (btn_UpdatePrg, task 4) or as a raw
// stream (bt_firmware, task 25), after a wait of edt_WaitTime seconds.

#include "commands/window_action.h"
#include "settings/para_controls.h"

namespace ombrel {

// The open dialog's filter (first entry: update files) and its title key.
inline constexpr const char* kProgramFileFilter = "Binary File(*.HEX,*.BIN)|*.hex;*.bin|BMP FILE(*.BMP)|*bmp";
inline constexpr const char* kProgramFileTitleKey = "sOpenPrgFile";

// Task 4 with the whole file and the identity at offset 0x3000 (empty for a
// file of at most 0x3000 bytes). Refused when the file does not exist, cannot
// be read, or ends inside the identity field.
ActionOutcome btn_UpdatePrgClick(const ParaControls& controls);
// Task 25 with the whole file and no identity.
ActionOutcome bt_firmwareClick(const ParaControls& controls);

}  // namespace ombrel
