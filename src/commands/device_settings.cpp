#include "commands/device_settings.h"

#include <stdexcept>

#include "commands/number_text.h"
#include "protocol/codes.h"
#include "settings/para_settings.h"
#include "texts/message_texts.h"
#include "texts/text_codec.h"

namespace ombrel {

namespace {

// The printer's bytes of one field's text, at most 20 of them.
Bytes fieldBytes(const std::string& text, const char* field) {
  Bytes bytes = TextCodec::toPrinterBytes(text);
  if (bytes.size() > kDeviceFieldBytes) {
    throw std::length_error("The " + std::string(field) + " \"" + text + "\" is " + std::to_string(bytes.size()) +
                            " bytes long; its field on the printer holds " + std::to_string(kDeviceFieldBytes) +
                            ". Nothing was sent.");
  }
  bytes.resize(kDeviceFieldBytes, 0);
  return bytes;
}

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

Bytes devicePayload(const std::string& name, const std::string& serialNumber) {
  Bytes payload = fieldBytes(name, "product name (DeviceName)");
  const Bytes serial = fieldBytes(serialNumber, "serial number (DeviceSerialNo)");
  payload.insert(payload.end(), serial.begin(), serial.end());
  return payload;
}

Bytes infraredPayload(int rateItem, bool infraredOn, int protocolItem) {
  return {static_cast<std::uint8_t>(rateItem), static_cast<std::uint8_t>(infraredOn ? 1 : 0),
          static_cast<std::uint8_t>(protocolItem)};
}

ActionOutcome btn_SetDeviceParaClick(const ParaControls& c) {
  const std::string name = c.text("edt_DeviceName");
  const std::string serial = c.text("edt_DeviceSerialNo");
  if (name.empty()) return Refusal{Refusal::Kind::Warning, messageTexts().text("sMsg1")};
  Bytes payload;
  try {
    payload = devicePayload(name, serial);
  } catch (const std::length_error& error) {
    return Refusal{Refusal::Kind::Warning, error.what()};
  }
  if (!canStep(serial, c.checked("rb_Minus"), c.checked("rb_Plus"))) {
    return Refusal{Refusal::Kind::InvalidNumber,
                   "The serial number (DeviceSerialNo) \"" + serial +
                       "\" cannot be stepped for the next printer: it and the next number must be whole numbers "
                       "from -2147483648 to 2147483647. Nothing was sent."};
  }
  return TaskStart{kTaskDeviceParameters, 0, 0, std::move(payload)};
}

ActionOutcome btn_SetInfraredParaClick(const ParaControls& c) {
  const int rate = c.index("cbb_InfraredBaurate");
  const int protocol = c.index("cbb_irdaProtecl");
  if (rate < 0) return noChoiceIn("cbb_InfraredBaurate");
  if (protocol < 0) return noChoiceIn("cbb_irdaProtecl");
  return TaskStart{kTaskInfraredParameters, 0, 0, infraredPayload(rate, c.checked("rb_Infrared"), protocol)};
}

}  // namespace ombrel
