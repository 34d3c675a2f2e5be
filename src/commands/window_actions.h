#pragma once

// The parameters window's actions, one entry per control whose click sends
// something: the Set buttons and the check boxes. The window connects its
// controls from this table and ombrelctl offers exactly these names, so both
// send the same bytes from the same settings. New actions are added here only.

#include <string>
#include <string_view>
#include <vector>

#include "commands/window_action.h"
#include "settings/para_controls.h"

namespace ombrel {

struct WindowAction {
  enum class Kind {
    SetButton,          // a push button
    CheckBox,           // a box whose click acts on its new state
    SaveButton,         // a push button that first asks for a file to save to
    ProgramFileButton,  // a push button that writes a file in the program directory
  };
  const char* control;
  Kind kind;
  ActionOutcome (*click)(const ParaControls&);  // SetButton and CheckBox
  // The main window's link choice is read again before the task starts.
  bool refreshesLink;
  // SaveButton: acts on the file chosen in a save dialog with `saveFilter`
  // (ombrelctl: the file of --save-as); nothing happens when none is chosen.
  // ProgramFileButton: acts on the program directory's file `programFile`.
  ActionOutcome (*fileClick)(const ParaControls&, const std::string& path) = nullptr;
  const char* saveFilter = nullptr;
  const char* programFile = nullptr;
};

const std::vector<WindowAction>& windowActions();

// The action's click; a SaveButton's with the file chosen to save to, a
// ProgramFileButton's with its file in `programDir` (ending in '/').
ActionOutcome pressAction(const WindowAction& action, const ParaControls& controls, const std::string& savePath = {},
                          const std::string& programDir = {});

// The entry for a control name, or nullptr when no action of the window has it.
const WindowAction* findWindowAction(std::string_view control);

}  // namespace ombrel
