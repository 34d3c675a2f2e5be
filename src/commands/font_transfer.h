#pragma once

// The font library buttons of the download tab: the file named in
// edt_FontFile goes into the printer's memory from edt_FontAddress on
// (btn_UpdateFont, task 3), and a range of that memory is read back into a
// file the operator chose (btn_ReadFont, task 16).

#include <string>

#include "commands/window_action.h"
#include "settings/para_controls.h"

namespace ombrel {

// The open dialog of btn_OpenFont, and the save dialog of btn_ReadFont.
inline constexpr const char* kFontFileFilter = "Binary File(*.HEX,*.BIN)|*.hex;*.bin";
inline constexpr const char* kFontFileTitleKey = "sOpenFontFile";
inline constexpr const char* kReadBackFilter = "HEX File(*.HEX)|*.hex";
// Checked: the font and logo downloads read their range back and compare it.
inline constexpr const char* kVerifyDownloadBox = "chk_VerifyDownload";

// Task 3 with one download entry: the file, "FONT", code 51 and the address.
// An empty address means 0; verified when kVerifyDownloadBox is checked.
// Refused when the file does not exist or the address is not hexadecimal.
ActionOutcome btn_UpdateFontClick(const ParaControls& controls);
// Task 16 from edt_StartAddress (hexadecimal) for edt_ReadLength bytes
// (decimal), saved to `savePath`. Refused when either is not a number.
ActionOutcome btn_ReadFontClick(const ParaControls& controls, const std::string& savePath);

}  // namespace ombrel
