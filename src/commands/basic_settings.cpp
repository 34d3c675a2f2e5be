#include "commands/basic_settings.h"

#include "commands/number_text.h"
#include "engine/baud.h"
#include "protocol/codes.h"
#include "settings/para_layout.h"

namespace ombrel {

namespace {

void putLe32(Bytes& out, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

std::uint32_t sleepSeconds(const ParaControls& c) {
  return static_cast<std::uint32_t>(wholeNumberOr(c.text("edt_sleepTime"), 1000));
}
std::uint32_t powerOffSeconds(const ParaControls& c) {
  return static_cast<std::uint32_t>(wholeNumberOr(c.text("edt_poweroffTime"), 3000));
}

std::uint8_t currentSwitchOptions(const ParaControls& c) {
  return switchOptions(c.index("cbb_Dark"), c.index("cbb_FontValue"), c.checked("chk_CutPaper"),
                       c.checked("chk_buzzer"));
}

// Task 23 with a = the setting, b = the chosen item.
ActionOutcome hardwareSetting(const ParaControls& c, const char* list, int setting) {
  const int item = c.index(list);
  if (item < 0) return noChoiceIn(list);
  return TaskStart{kTaskHardwareOption, setting, item, {}};
}

}  // namespace

int codePageValue(int item) { return itemValue("cbb_Codepage", item).value_or(255); }

int baudIndexOfItem(int item) {
  const auto rate = itemValue("cbb_BauRate", item);
  return rate ? baudIndex(*rate) : 0;
}

std::uint8_t switchOptions(int darkItem, int fontItem, bool cutter, bool buzzer) {
  std::uint8_t options = 0xFF;
  if (const auto density = itemValue("cbb_Dark", darkItem)) options &= static_cast<std::uint8_t>(*density);
  if (const auto font = itemValue("cbb_FontValue", fontItem)) options |= static_cast<std::uint8_t>(*font);
  if (cutter) options |= 0x20;
  if (buzzer) options |= 0x04;
  return options;
}

std::uint8_t lineFeedByte(int forcepaperItem) {
  return static_cast<std::uint8_t>(itemValue("cbb_Forcepaper", forcepaperItem).value_or(0xFF));
}

Bytes switchOptionsPayload(const ParaControls& c) {
  return {currentSwitchOptions(c), lineFeedByte(c.index("cbb_Forcepaper"))};
}

Bytes timesPayload(const ParaControls& c) {
  Bytes out;
  putLe32(out, sleepSeconds(c));
  putLe32(out, powerOffSeconds(c));
  return out;
}

Bytes allParametersPayload(const ParaControls& c) {
  const int codePage = c.index("cbb_Codepage");
  const int rate = c.index("cbb_BauRate");
  Bytes out{static_cast<std::uint8_t>(codePageValue(codePage)),
            static_cast<std::uint8_t>(rate < 0 ? 0 : baudIndexOfItem(rate)), currentSwitchOptions(c),
            lineFeedByte(c.index("cbb_Forcepaper"))};
  putLe32(out, sleepSeconds(c));
  putLe32(out, powerOffSeconds(c));
  return out;
}

Bytes recycleTimePayload(const ParaControls& c) {
  return {static_cast<std::uint8_t>(wholeNumberOr(c.text("edt_RptTime"), 30) & 0xFF)};
}

ActionOutcome btn_SetBauRateClick(const ParaControls& c) {
  const int item = c.index("cbb_BauRate");
  if (item < 0) return noChoiceIn("cbb_BauRate");
  return TaskStart{kTaskSetBaudRate, baudIndexOfItem(item), 0, {}};
}

ActionOutcome btn_flowcontrolClick(const ParaControls& c) {
  const int item = c.index("cbb_Flowcontrol");
  if (item < 0) return noChoiceIn("cbb_Flowcontrol");
  return TaskStart{item == 0 ? kTaskSoftwareFlowControl : kTaskHardwareFlowControl, 0, 0, {}};
}

ActionOutcome btn_SetCodepageClick(const ParaControls& c) {
  const int item = c.index("cbb_Codepage");
  if (item < 0) return noChoiceIn("cbb_Codepage");
  return TaskStart{kTaskSetCodePage, codePageValue(item), 0, {}};
}

ActionOutcome btn_SetForcepaperClick(const ParaControls& c) {
  return TaskStart{kTaskDeviceSwitches, 0, 0, switchOptionsPayload(c)};
}

ActionOutcome btn_SetpoweroffTimeClick(const ParaControls& c) {
  return TaskStart{kTaskSleepTimes, 0, 0, timesPayload(c)};
}

ActionOutcome btn_SetAllParaClick(const ParaControls& c) {
  return TaskStart{kTaskAllParameters, 0, 0, allParametersPayload(c)};
}

ActionOutcome btn_SetResetClick(const ParaControls&) { return TaskStart{kTaskRestoreDefaults, 0, 0, {}}; }

ActionOutcome btn_SetUsbDeviceTypeClick(const ParaControls& c) { return hardwareSetting(c, "cbb_UsbDeviceTpe", 0); }

ActionOutcome btn_SetPaperTypeClick(const ParaControls& c) { return hardwareSetting(c, "cbb_PaperType", 1); }

ActionOutcome btn_SetPrinterOrderClick(const ParaControls& c) { return hardwareSetting(c, "cbb_PrinterOrder", 2); }

ActionOutcome btn_SetRptTimeClick(const ParaControls& c) {
  return TaskStart{kTaskReceiptRecycleTime, 0, 0, recycleTimePayload(c)};
}

}  // namespace ombrel
