#pragma once

// A box's text as the bytes the printer receives: GBK, within the bytes its
// field holds. Texts that cannot go unchanged are refused with a message
// that names the box.

#include <cstddef>
#include <string_view>
#include <variant>

#include "commands/window_action.h"
#include "settings/para_controls.h"

namespace ombrel {

struct TextField {
  const char* control;   // the box
  const char* label;     // its caption, for the message
  std::size_t maxBytes;  // what the command's field holds
};

// The GBK bytes of the box's text, or a warning when a character has no GBK
// form or the bytes exceed the field.
std::variant<Bytes, Refusal> printerText(const ParaControls& controls, const TextField& field);

}  // namespace ombrel
