#include "commands/network_settings.h"

#include <charconv>
#include <vector>

#include "commands/number_text.h"
#include "platform/ipv4_text.h"
#include "protocol/codes.h"
#include "settings/para_layout.h"
#include "texts/message_texts.h"

namespace ombrel {

namespace {

using Address = std::array<std::uint8_t, 4>;

constexpr const char* kWiredAddressError = "输入的IP有错!";
// The fourth number of a wired address is read from at most this many
// characters after the third dot.
constexpr std::size_t kFourthPartLength = 100;

// The message key of a box's leave-the-box warning, from its row; null for a
// box without that check.
const char* exitWarningKey(std::string_view box) {
  const ControlSpec* row = findControl(box);
  return row != nullptr && row->check == BoxCheck::AddressOnLeave ? row->checkWarning : nullptr;
}

Refusal warning(std::string text) { return Refusal{Refusal::Kind::Warning, std::move(text)}; }
Refusal notANumber(const std::string& text) { return Refusal{Refusal::Kind::InvalidNumber, notANumberMessage(text)}; }

std::vector<std::string> dotParts(const std::string& text) {
  std::vector<std::string> parts;
  if (text.empty()) return parts;
  std::size_t start = 0;
  for (;;) {
    const std::size_t dot = text.find('.', start);
    parts.push_back(text.substr(start, dot == std::string::npos ? std::string::npos : dot - start));
    if (dot == std::string::npos) return parts;
    start = dot + 1;
  }
}

// The wired tab's four numbers: before the first dot, between the dots, and
// everything after the third; a missing dot leaves an empty number.
std::array<std::string, 4> wiredParts(const std::string& text) {
  std::array<std::string, 4> parts;
  std::size_t start = 0;
  for (std::size_t i = 0; i < 3; ++i) {
    const std::size_t dot = text.find('.', start);
    if (dot == std::string::npos) {
      parts[i] = text.substr(start);
      return parts;
    }
    parts[i] = text.substr(start, dot - start);
    start = dot + 1;
  }
  parts[3] = text.substr(start, kFourthPartLength);
  return parts;
}

ActionOutcome wiredAddress(const ParaControls& c, const char* box, int task) {
  auto bytes = wiredAddressBytes(c.text(box));
  if (const auto* refusal = std::get_if<Refusal>(&bytes)) return *refusal;
  return TaskStart{task, 0, 0, std::move(std::get<Bytes>(bytes))};
}

}  // namespace

std::optional<Refusal> addressBoxExit(const ParaControls& c, std::string_view box) {
  const char* key = exitWarningKey(box);
  if (key == nullptr || inetAddrAccepts(c.text(box))) return std::nullopt;
  return warning(messageTexts().text(key));
}

std::variant<Address, Refusal> wifiAddressBytes(const ParaControls& c, std::string_view box) {
  const std::string text = c.text(box);
  const std::vector<std::string> parts = dotParts(text);
  if (parts.size() < 4) return warning(messageTexts().text(exitWarningKey(box)));
  Address bytes{};
  for (std::size_t i = 0; i < 4; ++i) {
    const auto number = wholeNumber(parts[i]);
    if (!number) return notANumber(parts[i]);
    bytes[i] = static_cast<std::uint8_t>(*number & 0xFF);
  }
  return bytes;
}

Bytes wifiAddressPayload(bool staticAddress, const Address& address, std::uint16_t port, const Address& mask,
                         const Address& gateway) {
  Bytes payload(15, 0);
  if (staticAddress) {
    std::copy(address.begin(), address.end(), payload.begin());
    std::copy(mask.begin(), mask.end(), payload.begin() + 6);
    std::copy(gateway.begin(), gateway.end(), payload.begin() + 10);
  }
  payload[4] = static_cast<std::uint8_t>(port & 0xFF);
  payload[5] = static_cast<std::uint8_t>(port >> 8);
  payload[14] = staticAddress ? 0 : 1;
  return payload;
}

std::variant<Bytes, Refusal> wiredAddressBytes(const std::string& text) {
  Bytes bytes;
  for (const std::string& part : wiredParts(text)) {
    const auto number = wholeNumber(part);
    if (!number) return notANumber(part);
    if (*number < 0 || *number > 255) return warning(kWiredAddressError);
    bytes.push_back(static_cast<std::uint8_t>(*number));
  }
  return bytes;
}

std::variant<Bytes, Refusal> macBytes(const ParaControls& c) {
  Bytes bytes;
  for (const char* box : {"edt_macaddo", "edt_macaddt", "edt_macaddfr", "edt_macaddfor"}) {
    const std::string text = c.text(box);
    std::uint32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) return notANumber(text);
    bytes.push_back(static_cast<std::uint8_t>(value & 0xFF));
  }
  return bytes;
}

std::variant<Bytes, Refusal> wiredPortBytes(const std::string& text) {
  const auto port = wholeNumber(text);
  if (!port) return notANumber(text);
  const NumberRange ports = *controlSpec("edt_Netport").range;
  if (*port < ports.minimum || *port > ports.maximum) {
    return warning("端口必须在 " + std::to_string(ports.minimum) + " 到 " + std::to_string(ports.maximum) + " 之间");
  }
  return Bytes{static_cast<std::uint8_t>(*port >> 8), static_cast<std::uint8_t>(*port & 0xFF)};
}

ActionOutcome btn_SetIpParaClick(const ParaControls& c) {
  const std::string portText = c.text("edt_Port");
  const auto port = wholeNumber(portText);
  if (!port) return notANumber(portText);
  if (c.checked("rb_WifiAp")) return TaskStart{kTaskWifiIpAccessPoint, 0, 0, {}};
  const auto port16 = static_cast<std::uint16_t>(*port & 0xFFFF);
  if (c.checked("rb_AutoIp")) return TaskStart{kTaskWifiIp, 0, 0, wifiAddressPayload(false, {}, port16, {}, {})};
  if (!c.checked("rb_StaticIP")) return noChoiceIn("rb_AutoIp, rb_StaticIP or rb_WifiAp");

  std::array<Address, 3> addresses{};
  const char* boxes[] = {"edt_IPaddress", "edt_Mask", "edt_Gateway"};
  for (std::size_t i = 0; i < 3; ++i) {
    auto bytes = wifiAddressBytes(c, boxes[i]);
    if (const auto* refusal = std::get_if<Refusal>(&bytes)) return *refusal;
    addresses[i] = std::get<Address>(bytes);
  }
  return TaskStart{kTaskWifiIp, 0, 0, wifiAddressPayload(true, addresses[0], port16, addresses[1], addresses[2])};
}

ActionOutcome btn_NetWorkSetIPClick(const ParaControls& c) {
  return wiredAddress(c, "edt_NetIPAddress", kTaskNetworkIpAddress);
}

ActionOutcome btn_SubnetmaskClick(const ParaControls& c) { return wiredAddress(c, "edt_Subnetmask", kTaskSubnetMask); }

ActionOutcome btn_gatewaytClick(const ParaControls& c) { return wiredAddress(c, "edt_gatewayt", kTaskGateway); }

ActionOutcome btn_netgatewaytClick(const ParaControls& c) {
  auto bytes = macBytes(c);
  if (const auto* refusal = std::get_if<Refusal>(&bytes)) return *refusal;
  return TaskStart{kTaskNetworkMac, 0, 0, std::move(std::get<Bytes>(bytes))};
}

ActionOutcome btn_NetportClick(const ParaControls& c) {
  auto bytes = wiredPortBytes(c.text("edt_Netport"));
  if (const auto* refusal = std::get_if<Refusal>(&bytes)) return *refusal;
  return TaskStart{kTaskNetworkPort, 0, 0, std::move(std::get<Bytes>(bytes))};
}

}  // namespace ombrel
