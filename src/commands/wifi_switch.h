#pragma once

// The "close WiFi" box: its click switches the printer's WiFi off (ticked) or
// on (cleared) with a raw switch sequence.

#include "commands/window_action.h"
#include "settings/para_controls.h"

namespace ombrel {

// Reads the box's new state; task 26 (0x8D 0x00) when ticked, 29 (0x8D 0x01)
// when cleared.
ActionOutcome Chb_CloseWifiClick(const ParaControls& controls);

}  // namespace ombrel
