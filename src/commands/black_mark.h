#pragma once

// The black-mark group: black-mark paper on and off, the mark search
// distance, the mark width, the sensor to print-head distance, and finding
// the next mark. Each is a raw task (31 to 36) that the printer never answers.

#include <optional>
#include <string>
#include <string_view>

#include "commands/window_action.h"
#include "settings/para_controls.h"

namespace ombrel {

enum class DistanceEntry { Accepted, OutOfRange, NotANumber };
// A distance is a number of millimetres within the range of the box's row
// (1 to 255): the check made when Enter is pressed in a distance box.
DistanceEntry checkDistance(std::string_view box, const std::string& text);

// A distance box's byte: the number in millimetres, or 30 when the text is not
// a number. nullopt for a number outside the range: its low 8 bits would set
// another distance than the box shows.
std::optional<std::uint8_t> distanceByte(std::string_view box, const std::string& text);

// The text the printer takes as "find the next mark".
inline constexpr const char* kFindBlackMarkText = "Hello world 0x0C";

ActionOutcome bt_Set_black_modeClick(const ParaControls& controls);
ActionOutcome bt_Cance_black_markClick(const ParaControls& controls);
ActionOutcome But_Black_look_dis_setClick(const ParaControls& controls);
ActionOutcome bt_Black_width_setClick(const ParaControls& controls);
ActionOutcome bt_printer_opto_setClick(const ParaControls& controls);
ActionOutcome bt_Lookup_black_markClick(const ParaControls& controls);

}  // namespace ombrel
