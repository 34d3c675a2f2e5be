#pragma once

// How the printer's WiFi module gets its address (dynamic, static or access
// point), and the wired interface's address, mask, gateway, MAC bytes and
// port, plus the checks made when the operator leaves an address box.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "commands/window_action.h"
#include "settings/para_controls.h"

namespace ombrel {

// The warning for an address box whose text the system's IPv4 parser does
// not read, or nothing when it reads it or the box has no such check.
std::optional<Refusal> addressBoxExit(const ParaControls& controls, std::string_view box);

// The four bytes of a WiFi address box: its first four dot-separated numbers,
// each cut to its low 8 bits. A box of fewer than four parts is refused with
// its warning (the printer would get 0.0.0.0 and drop off the network); an
// empty part among the four is not a number.
std::variant<std::array<std::uint8_t, 4>, Refusal> wifiAddressBytes(const ParaControls& controls, std::string_view box);

// 15 bytes: address, port (low byte first), mask, gateway, addressing (0
// static, 1 dynamic); the addresses are zeros unless static.
Bytes wifiAddressPayload(bool staticAddress, const std::array<std::uint8_t, 4>& address, std::uint16_t port,
                         const std::array<std::uint8_t, 4>& mask, const std::array<std::uint8_t, 4>& gateway);

// The wired tab's dotted address: four numbers from 0 to 255, the fourth being
// everything after the third dot.
std::variant<Bytes, Refusal> wiredAddressBytes(const std::string& text);
// The four MAC bytes, each box read as hexadecimal, low 8 bits.
std::variant<Bytes, Refusal> macBytes(const ParaControls& controls);
// The wired port, high byte first; 2 to 65535.
std::variant<Bytes, Refusal> wiredPortBytes(const std::string& text);

// The actions.
ActionOutcome btn_SetIpParaClick(const ParaControls& controls);
ActionOutcome btn_NetWorkSetIPClick(const ParaControls& controls);
ActionOutcome btn_SubnetmaskClick(const ParaControls& controls);
ActionOutcome btn_gatewaytClick(const ParaControls& controls);
ActionOutcome btn_netgatewaytClick(const ParaControls& controls);
ActionOutcome btn_NetportClick(const ParaControls& controls);

}  // namespace ombrel
