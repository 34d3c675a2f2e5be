#include "commands/wifi_switch.h"

namespace ombrel {

namespace {
constexpr int kWifiOffTask = 26;
constexpr int kWifiOnTask = 29;
}  // namespace

ActionOutcome Chb_CloseWifiClick(const ParaControls& controls) {
  return TaskStart{controls.checked("Chb_CloseWifi") ? kWifiOffTask : kWifiOnTask, 0, 0, {}};
}

}  // namespace ombrel
