#pragma once

// The desktop program's event loop, and how it ends.

#include "app/frm_main.h"

namespace ombrel::app {

// Runs the windows until the main window closes and returns the exit status.
// A task still running then (a boot handshake may take most of a minute, a
// serial task its retries) is not waited for: the program ends at once, as
// the windows keep nothing unsaved.
int runWindows(TFrmMain& mainWindow);

}  // namespace ombrel::app
