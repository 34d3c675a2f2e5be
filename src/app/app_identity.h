#pragma once

// How the desktop program names itself to the desktop. It sets no display
// name: the desktop would append one to every window's title, and each
// window's title is its caption alone.

#include <QString>

namespace ombrel::app {

// The application's name and its desktop entry; call once the application
// object exists.
void identifyApplication();

// The title of a message box: the caption of the window it stands over, or
// the program's name when no window of it is active.
QString messageBoxTitle();

}  // namespace ombrel::app
