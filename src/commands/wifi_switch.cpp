#include "commands/wifi_switch.h"

#include "protocol/codes.h"

namespace ombrel {

ActionOutcome Chb_CloseWifiClick(const ParaControls& controls) {
  return TaskStart{controls.checked("Chb_CloseWifi") ? kTaskWifiOff : kTaskWifiOn, 0, 0, {}};
}

}  // namespace ombrel
