#pragma once

// A box's text as the bytes the printer receives: GBK, within the length its
// row of the window's controls gives (the window limits typing to the same
// length). Texts that cannot go unchanged are refused with a message that
// names the box by its caption.

#include <cstddef>
#include <string_view>
#include <variant>

#include "commands/window_action.h"
#include "settings/para_controls.h"

namespace ombrel {

struct TextField {
  const char* control;     // the box
  std::size_t fieldBytes;  // what the command's field holds
};

// The GBK bytes of the box's text, or a warning when a character has no GBK
// form or the bytes exceed the box's length. Raises std::logic_error when
// that length exceeds the field, so the payload can never overflow it.
std::variant<Bytes, Refusal> printerText(const ParaControls& controls, const TextField& field);

}  // namespace ombrel
