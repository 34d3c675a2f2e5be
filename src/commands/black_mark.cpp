#include "commands/black_mark.h"

#include "commands/number_text.h"
#include "protocol/codes.h"
#include "settings/para_layout.h"

namespace ombrel {

namespace {

constexpr std::uint8_t kDistanceWhenNotANumber = 30;

// The distance task of a box: its byte as the one byte of command data.
ActionOutcome distanceTask(const ParaControls& c, const char* box, int task) {
  const std::string text = c.text(box);
  const auto distance = distanceByte(box, text);
  if (!distance) {
    const ControlSpec& row = controlSpec(box);
    return Refusal{Refusal::Kind::Warning,
                   std::string(row.caption) + " (" + box + ") 须在 " + std::to_string(row.range->minimum) + " 到 " +
                       std::to_string(row.range->maximum) + " 毫米之间，不是 " + text + "，未发送"};
  }
  return TaskStart{task, 0, 0, {*distance}};
}

}  // namespace

DistanceEntry checkDistance(std::string_view box, const std::string& text) {
  const auto number = wholeNumber(text);
  if (!number) return DistanceEntry::NotANumber;
  const NumberRange range = *controlSpec(box).range;
  return *number < range.minimum || *number > range.maximum ? DistanceEntry::OutOfRange : DistanceEntry::Accepted;
}

std::optional<std::uint8_t> distanceByte(std::string_view box, const std::string& text) {
  switch (checkDistance(box, text)) {
    case DistanceEntry::NotANumber:
      return kDistanceWhenNotANumber;
    case DistanceEntry::OutOfRange:
      return std::nullopt;
    case DistanceEntry::Accepted:
      break;
  }
  return static_cast<std::uint8_t>(*wholeNumber(text));
}

ActionOutcome bt_Set_black_modeClick(const ParaControls&) { return TaskStart{kTaskBlackMarkOn, 0, 0, {}}; }

ActionOutcome bt_Cance_black_markClick(const ParaControls&) { return TaskStart{kTaskBlackMarkOff, 0, 0, {}}; }

ActionOutcome But_Black_look_dis_setClick(const ParaControls& c) {
  return distanceTask(c, "ed_Black_look_distance", kTaskBlackMarkLookDistance);
}

ActionOutcome bt_Black_width_setClick(const ParaControls& c) {
  return distanceTask(c, "ed_Black_width", kTaskBlackMarkWidth);
}

ActionOutcome bt_printer_opto_setClick(const ParaControls& c) {
  return distanceTask(c, "edt_printer_opto", kTaskOptoSensorDistance);
}

ActionOutcome bt_Lookup_black_markClick(const ParaControls&) {
  return TaskStart{kTaskLookUpBlackMark, 0, 0, bytesOf(kFindBlackMarkText)};
}

}  // namespace ombrel
