#pragma once

// Which settings each window action reads: the list behind ombrelctl's
// manual page and its shell completion, taken from the one table of actions.

#include <string>
#include <vector>

#include "commands/window_actions.h"

namespace ombrel::cli {

struct ActionReads {
  std::string control;
  bool checkBox = false;  // takes its new state: NAME=0 or NAME=1
  // Settings keys, or control names where no key stores the control, in the
  // order the action first reads them.
  std::vector<std::string> reads;
};

// The controls a Set button's or check box's click reads from `controls` as
// they stand, in the order first read; nothing is sent. Other actions (file
// buttons) give none.
std::vector<std::string> controlsReadBy(const WindowAction& action, const ParaControls& controls);

// Runs every action's click on the default settings (with its empty text
// boxes filled in when it stops at them) and notes each control it asks for;
// nothing is sent.
std::vector<ActionReads> actionReads();

// One line per action: NAME (NAME=0|1 for a check box), a tab, the keys.
std::string actionReadsText();

}  // namespace ombrel::cli
