#pragma once

// The NV logo buttons of the download tab: the pictures listed in ListBox1
// become the logo image "1.bin" in the program directory, which task 7
// downloads to the printer's logo memory (btn_DownLogo); task 17 prints the
// stored logo of the selected list position (btn_PrintLogo). How pictures
// become one bit per pixel is chosen with trk_LogoThreshold and
// chk_LogoDither.

#include <string>

#include "commands/window_action.h"
#include "imaging/logo_dots.h"
#include "settings/para_controls.h"

namespace ombrel {

// The open dialog of btn_OpenLogo.
inline constexpr const char* kLogoFileFilter = "BMP FILE(*.BMP)|*bmp";
// The logo image, written in the program directory and downloaded from there.
inline constexpr const char* kLogoImageFile = "1.bin";

LogoReduction logoReductionOf(const ParaControls& controls);

// "BMP 文件不能超过%d" in the current language, with the limit in KB.
std::string logoImageTooLargeText();

// Converts every listed picture, replaces `imagePath` with the image and
// starts task 7 with one "LOGO" entry to 0x1CF000, verified when
// kVerifyDownloadBox is checked. Refused with a warning naming the file when
// a listed picture is missing or unreadable (nothing is written), and when
// the image exceeds 256 KB (the file stays written). An empty list does
// nothing.
ActionOutcome btn_DownLogoClick(const ParaControls& controls, const std::string& imagePath);

// Task 17 with the logo number: the selected list position + 1, 0 with none.
ActionOutcome btn_PrintLogoClick(const ParaControls& controls);

}  // namespace ombrel
