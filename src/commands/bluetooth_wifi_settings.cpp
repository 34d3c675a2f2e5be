#include "commands/bluetooth_wifi_settings.h"

#include <algorithm>

#include "commands/number_text.h"
#include "commands/printer_text.h"
#include "protocol/codes.h"
#include "protocol/frame.h"
#include "settings/para_layout.h"
#include "texts/message_texts.h"

namespace ombrel {

namespace {

constexpr std::size_t kBluetoothPayloadBytes = 56;
constexpr std::size_t kPasswordOffset = 1 + kBluetoothNameBytes;
constexpr std::size_t kDualModeNameOffset = kPasswordOffset + kBluetoothPasswordBytes;
constexpr std::size_t kAuthenticationOffset = kDualModeNameOffset + kBluetoothNameBytes;

constexpr TextField kNameField{"edt_lyName", kBluetoothNameBytes};
constexpr TextField kDualModeNameField{"edt_smlyName", kBluetoothNameBytes};
constexpr TextField kPasswordField{"edt_lyPsw", kBluetoothPasswordBytes};
constexpr TextField kControlTextField{"edt_lyTestTxt", frame::kMaxCommandData};
constexpr TextField kNetworkNameField{"edt_NetworkName", kWifiTextBytes};
constexpr TextField kNetworkKeyField{"edt_NetworkPsw", kWifiTextBytes};

enum Authentication { kOpen = 0, kShared = 1, kWpaPsk = 2, kWpa2Psk = 3 };
enum Cipher { kNone = 0, kWepHex = 1, kWepAscii = 2 };

// The byte a radio group's option stands for; 0 for no choice.
std::uint8_t byteOfChoice(const char* group, int choice) {
  return static_cast<std::uint8_t>(itemValue(group, choice).value_or(0));
}

void putField(Bytes& payload, std::size_t offset, const Bytes& text) {
  std::copy(text.begin(), text.end(), payload.begin() + static_cast<std::ptrdiff_t>(offset));
}

Refusal refusalOf(const std::variant<Bytes, Refusal>& text) { return std::get<Refusal>(text); }

// The cipher group that the authentication reads.
const char* cipherGroup(int authentication) {
  switch (authentication) {
    case kOpen:
      return "rg_1";
    case kShared:
      return "rg_2";
    default:
      return "rg_3";
  }
}

}  // namespace

Bytes bluetoothPayload(const BluetoothParameters& p) {
  Bytes payload(kBluetoothPayloadBytes, 0);
  payload[0] = byteOfChoice("rg_lyMode", p.mode);
  putField(payload, 1, p.name.empty() ? p.dualModeName : p.name);
  putField(payload, kPasswordOffset, p.password);
  putField(payload, kDualModeNameOffset, p.dualModeName.empty() ? p.name : p.dualModeName);
  payload[kAuthenticationOffset] = byteOfChoice("rg_lyPswcheck", p.authentication);
  payload[kAuthenticationOffset + 1] = static_cast<std::uint8_t>(p.moduleNumber & 0xFF);
  return payload;
}

int cipherCode(int authentication, int openChoice, int sharedChoice, int wpaChoice) {
  switch (authentication) {
    case kOpen:
      return openChoice;
    case kShared:
      return sharedChoice + 1;
    default:
      return wpaChoice + 3;
  }
}

const char* keyLengthWarningKey(int authentication, int cipher, std::size_t keyBytes) {
  if (authentication == kWpaPsk || authentication == kWpa2Psk) return keyBytes >= 8 ? nullptr : "sMsg21";
  if (cipher == kWepHex) return keyBytes == 10 ? nullptr : "sMsg19";
  if (cipher == kWepAscii) return keyBytes == 5 || keyBytes == 13 ? nullptr : "sMsg20";
  return nullptr;
}

Bytes wifiPayload(const Bytes& name, int authentication, int cipher, const Bytes& key) {
  Bytes payload{static_cast<std::uint8_t>(name.size())};
  payload.insert(payload.end(), name.begin(), name.end());
  payload.push_back(static_cast<std::uint8_t>(authentication));
  payload.push_back(static_cast<std::uint8_t>(cipher));
  payload.push_back(static_cast<std::uint8_t>(key.size()));
  payload.insert(payload.end(), key.begin(), key.end());
  return payload;
}

ActionOutcome btn_SetlyParaClick(const ParaControls& c) {
  if (c.text("edt_lyName").empty() && c.text("edt_smlyName").empty()) {
    return Refusal{Refusal::Kind::NothingToSend, "edt_lyName and edt_smlyName are empty: nothing is sent"};
  }
  BluetoothParameters parameters;
  for (const auto& [field, target] :
       {std::pair{kNameField, &parameters.name}, std::pair{kPasswordField, &parameters.password},
        std::pair{kDualModeNameField, &parameters.dualModeName}}) {
    auto text = printerText(c, field);
    if (!std::holds_alternative<Bytes>(text)) return refusalOf(text);
    *target = std::move(std::get<Bytes>(text));
  }
  const std::string model = c.text("edt_lyType");
  const auto moduleNumber = wholeNumber(model);
  if (!moduleNumber) return Refusal{Refusal::Kind::InvalidNumber, notANumberMessage(model)};
  parameters.mode = c.index("rg_lyMode");
  parameters.authentication = c.index("rg_lyPswcheck");
  parameters.moduleNumber = *moduleNumber;
  return TaskStart{kTaskBluetoothParameters, 0, 0, bluetoothPayload(parameters)};
}

ActionOutcome btn_SendLYTxtClick(const ParaControls& c) {
  if (c.text("edt_lyTestTxt").empty()) {
    return Refusal{Refusal::Kind::NothingToSend, "edt_lyTestTxt is empty: nothing is sent"};
  }
  auto text = printerText(c, kControlTextField);
  if (!std::holds_alternative<Bytes>(text)) return refusalOf(text);
  return TaskStart{kTaskBluetoothText, 0, 0, std::move(std::get<Bytes>(text))};
}

ActionOutcome btn_lyWorkModeClick(const ParaControls& c) {
  const int item = c.index("cbb_lyWorkMode");
  if (item < 0) return noChoiceIn("cbb_lyWorkMode");
  return TaskStart{kTaskBluetoothText, 0, 0, bytesOf(item == 0 ? "AT+HSM=2" : "AT+HSM=0")};
}

ActionOutcome btn_bluetoothClick(const ParaControls& c) {
  const int item = c.index("Cbx_Bluetooth");
  if (item < 0) return noChoiceIn("Cbx_Bluetooth");
  return TaskStart{item == 0 ? kTaskBluetoothHidden : kTaskBluetoothVisible, 0, 0, {}};
}

ActionOutcome btn_SetWifiParaClick(const ParaControls& c) {
  const int authentication = c.index("RadioGroup1");
  if (authentication < 0) return noChoiceIn("RadioGroup1");
  const char* group = cipherGroup(authentication);
  if (c.index(group) < 0) return noChoiceIn(group);
  const int cipher = cipherCode(authentication, c.index("rg_1"), c.index("rg_2"), c.index("rg_3"));

  auto key = printerText(c, kNetworkKeyField);
  if (!std::holds_alternative<Bytes>(key)) return refusalOf(key);
  const Bytes& keyBytes = std::get<Bytes>(key);
  if (const char* warning = keyLengthWarningKey(authentication, cipher, keyBytes.size())) {
    return Refusal{Refusal::Kind::Warning, messageTexts().text(warning)};
  }
  auto name = printerText(c, kNetworkNameField);
  if (!std::holds_alternative<Bytes>(name)) return refusalOf(name);
  return TaskStart{kTaskWifiParameters, 0, 0, wifiPayload(std::get<Bytes>(name), authentication, cipher, keyBytes)};
}

}  // namespace ombrel
