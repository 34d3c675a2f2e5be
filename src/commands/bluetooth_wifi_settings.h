#pragma once

// The Bluetooth module's parameters, control text, work mode and hiding, and
// the WiFi network's name, authentication, cipher and key. Names, passwords
// and keys go to the printer as GBK bytes; a text that has no GBK form or
// does not fit its field is refused rather than changed.

#include <cstddef>
#include <cstdint>

#include "commands/window_action.h"
#include "settings/para_controls.h"

namespace ombrel {

inline constexpr std::size_t kBluetoothNameBytes = 20;
inline constexpr std::size_t kBluetoothPasswordBytes = 13;
// The WiFi name and key each carry a one-byte length.
inline constexpr std::size_t kWifiTextBytes = 255;

struct BluetoothParameters {
  int mode = 0;            // rg_lyMode: not installed, single mode, dual mode
  Bytes name;              // edt_lyName, at most kBluetoothNameBytes
  Bytes password;          // edt_lyPsw, at most kBluetoothPasswordBytes
  Bytes dualModeName;      // edt_smlyName, at most kBluetoothNameBytes
  int authentication = 0;  // rg_lyPswcheck
  int moduleNumber = 0;    // edt_lyType
};

// 56 bytes: mode (0, 1 or 3), name, password, dual-mode name (each name
// standing in for the other when empty), authentication (1, 2 or 0) and the
// module number's low byte.
Bytes bluetoothPayload(const BluetoothParameters& parameters);

// Cipher codes: 0 NONE, 1 WEP-H, 2 WEP-A, 3 TPIK, 4 AES. Open authentication
// reads rg_1, shared rg_2, the two WPA modes rg_3.
int cipherCode(int authentication, int openChoice, int sharedChoice, int wpaChoice);
// The message key of the warning for a key of `keyBytes` bytes that breaks
// the rule of the authentication and cipher, or nullptr when it holds.
const char* keyLengthWarningKey(int authentication, int cipher, std::size_t keyBytes);

// N, name, authentication, cipher, P, key.
Bytes wifiPayload(const Bytes& name, int authentication, int cipher, const Bytes& key);

// The actions.
ActionOutcome btn_SetlyParaClick(const ParaControls& controls);
ActionOutcome btn_SendLYTxtClick(const ParaControls& controls);
ActionOutcome btn_lyWorkModeClick(const ParaControls& controls);
ActionOutcome btn_bluetoothClick(const ParaControls& controls);
ActionOutcome btn_SetWifiParaClick(const ParaControls& controls);

}  // namespace ombrel
