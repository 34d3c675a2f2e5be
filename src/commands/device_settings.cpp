#include "commands/device_settings.h"

#include <algorithm>
#include <stdexcept>

#include "commands/number_text.h"
#include "commands/printer_text.h"
#include "protocol/codes.h"
#include "settings/para_settings.h"
#include "texts/message_texts.h"

namespace ombrel {

namespace {

constexpr TextField kProductName{"edt_DeviceName", kDeviceFieldBytes};
constexpr TextField kSerialNumber{"edt_DeviceSerialNo", kDeviceFieldBytes};

// Whether the number and the one after it are 32-bit numbers, when a step
// direction is chosen.
bool canStep(const std::string& serial, bool minus, bool plus) {
  try {
    const auto next = steppedSerialNumber(serial, minus, plus);
    return !next || wholeNumber(*next).has_value();
  } catch (const std::invalid_argument&) {
    return false;
  }
}

}  // namespace

Bytes devicePayload(const Bytes& name, const Bytes& serialNumber) {
  Bytes payload(2 * kDeviceFieldBytes, 0);
  std::copy_n(name.begin(), std::min(name.size(), kDeviceFieldBytes), payload.begin());
  std::copy_n(serialNumber.begin(), std::min(serialNumber.size(), kDeviceFieldBytes),
              payload.begin() + kDeviceFieldBytes);
  return payload;
}

Bytes infraredPayload(int rateItem, bool infraredOn, int protocolItem) {
  return {static_cast<std::uint8_t>(rateItem), static_cast<std::uint8_t>(infraredOn ? 1 : 0),
          static_cast<std::uint8_t>(protocolItem)};
}

ActionOutcome btn_SetDeviceParaClick(const ParaControls& c) {
  if (c.text("edt_DeviceName").empty()) return Refusal{Refusal::Kind::Warning, messageTexts().text("sMsg1")};
  const auto name = printerText(c, kProductName);
  if (const auto* refusal = std::get_if<Refusal>(&name)) return *refusal;
  const auto serial = printerText(c, kSerialNumber);
  if (const auto* refusal = std::get_if<Refusal>(&serial)) return *refusal;
  const std::string serialText = c.text("edt_DeviceSerialNo");
  if (!canStep(serialText, c.checked("rb_Minus"), c.checked("rb_Plus"))) {
    return Refusal{
        Refusal::Kind::InvalidNumber,
        "产品序列号 (edt_DeviceSerialNo) \"" + serialText +
            "\" 无法为下一台打印机加减一：它和下一个号码都须是 -2147483648 到 2147483647 之间的整数，未发送"};
  }
  return TaskStart{kTaskDeviceParameters, 0, 0, devicePayload(std::get<Bytes>(name), std::get<Bytes>(serial))};
}

ActionOutcome btn_SetInfraredParaClick(const ParaControls& c) {
  const int rate = c.index("cbb_InfraredBaurate");
  const int protocol = c.index("cbb_irdaProtecl");
  if (rate < 0) return noChoiceIn("cbb_InfraredBaurate");
  if (protocol < 0) return noChoiceIn("cbb_irdaProtecl");
  return TaskStart{kTaskInfraredParameters, 0, 0, infraredPayload(rate, c.checked("rb_Infrared"), protocol)};
}

}  // namespace ombrel
