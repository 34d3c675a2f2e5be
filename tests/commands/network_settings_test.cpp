#include "commands/network_settings.h"

#include <gtest/gtest.h>

#include "settings/para_control_state.h"

namespace ombrel {
namespace {

// "task CODE: PAYLOAD" or "warning: TEXT", "number: TEXT", "no choice: TEXT".
std::string described(const ActionOutcome& outcome) {
  if (const auto* task = std::get_if<TaskStart>(&outcome)) {
    return "task " + std::to_string(task->code) + ": " + toHex(task->payload);
  }
  const auto& refusal = std::get<Refusal>(outcome);
  switch (refusal.kind) {
    case Refusal::Kind::Warning:
      return "warning: " + refusal.text;
    case Refusal::Kind::InvalidNumber:
      return "number: " + refusal.text;
    case Refusal::Kind::NoChoice:
      return "no choice: " + refusal.text;
    case Refusal::Kind::NothingToSend:
      return "nothing: " + refusal.text;
  }
  return "";
}

struct Case {
  ActionOutcome (*click)(const ParaControls&);
  std::vector<std::pair<const char*, std::string>> texts;
  const char* mode;  // the addressing radio to check, or nullptr for the layout's (static)
  std::string outcome;
};

TEST(NetworkActions, PayloadsAndRefusals) {
  const Case cases[] = {
      {btn_SetIpParaClick, {}, nullptr, "task 12: C0 A8 01 57 8C 23 FF FF FF 00 C0 A8 01 01 00"},
      {btn_SetIpParaClick, {}, "rb_AutoIp", "task 12: 00 00 00 00 8C 23 00 00 00 00 00 00 00 00 01"},
      {btn_SetIpParaClick, {}, "rb_WifiAp", "task 13: "},
      {btn_SetIpParaClick, {{"edt_Port", "91x"}}, "rb_WifiAp", "number: '91x' is not a valid integer value"},
      {btn_SetIpParaClick, {{"edt_IPaddress", "192.168.1"}}, nullptr, "warning: IP 地址不正确"},
      {btn_SetIpParaClick, {{"edt_Mask", ""}}, nullptr, "warning: 子网掩码不正确"},
      {btn_SetIpParaClick, {{"edt_Gateway", "10.0.1"}}, nullptr, "warning: 网关不正确"},
      {btn_SetIpParaClick, {{"edt_IPaddress", "192.168..1"}}, nullptr, "number: '' is not a valid integer value"},
      {btn_SetIpParaClick,
       {{"edt_IPaddress", "10.0.0.300.7"}, {"edt_Port", "70000"}},
       nullptr,
       "task 12: 0A 00 00 2C 70 11 FF FF FF 00 C0 A8 01 01 00"},
      {btn_NetWorkSetIPClick, {{"edt_NetIPAddress", "10.0.0.5"}}, nullptr, "task 41: 0A 00 00 05"},
      {btn_NetWorkSetIPClick, {{"edt_NetIPAddress", "192.168.1.300"}}, nullptr, "warning: 输入的IP有错!"},
      {btn_NetWorkSetIPClick, {{"edt_NetIPAddress", "192.168.1"}}, nullptr, "number: '' is not a valid integer value"},
      {btn_NetWorkSetIPClick,
       {{"edt_NetIPAddress", "1.2.3.4.5"}},
       nullptr,
       "number: '4.5' is not a valid integer value"},
      {btn_SubnetmaskClick, {}, nullptr, "task 37: FF FF FF 00"},
      {btn_gatewaytClick, {{"edt_gatewayt", "-1.0.0.1"}}, nullptr, "warning: 输入的IP有错!"},
      {btn_netgatewaytClick, {}, nullptr, "task 40: 65 66 67 68"},
      {btn_netgatewaytClick, {{"edt_macaddt", "1FF"}, {"edt_macaddfor", "ab"}}, nullptr, "task 40: 65 FF 67 AB"},
      {btn_netgatewaytClick, {{"edt_macaddfr", ""}}, nullptr, "number: '' is not a valid integer value"},
      {btn_netgatewaytClick, {{"edt_macaddo", "0x1"}}, nullptr, "number: '0x1' is not a valid integer value"},
      {btn_NetportClick, {}, nullptr, "task 39: 23 8C"},
      {btn_NetportClick, {{"edt_Netport", "2"}}, nullptr, "task 39: 00 02"},
      {btn_NetportClick, {{"edt_Netport", "65535"}}, nullptr, "task 39: FF FF"},
      {btn_NetportClick, {{"edt_Netport", "1"}}, nullptr, "warning: 端口必须在 2 到 65535 之间"},
      {btn_NetportClick, {{"edt_Netport", "65536"}}, nullptr, "warning: 端口必须在 2 到 65535 之间"},
  };
  for (const auto& c : cases) {
    ParaControlState controls;  // the window's layout
    for (const auto& [box, text] : c.texts) controls.setText(box, text);
    if (c.mode != nullptr) controls.setChecked(c.mode, true);
    EXPECT_EQ(described(c.click(controls)), c.outcome) << (c.texts.empty() ? "" : c.texts[0].second);
  }
}

TEST(AddressBoxExit, WarnsWhereTheSystemParserReadsNoAddress) {
  const struct {
    const char* box;
    const char* text;
    const char* warning;  // nullptr: accepted
  } cases[] = {
      {"edt_IPaddress", "192.168.1", nullptr},
      {"edt_IPaddress", "", "IP 地址不正确"},
      {"edt_Mask", "255.255.255.255", "子网掩码不正确"},
      {"edt_Gateway", "1..2", "网关不正确"},
      {"edt_NetIPAddress", "300.1.1.1", "IP 地址不正确"},
      {"edt_Subnetmask", "255.255.255.256", "IP 地址不正确"},
      {"edt_gatewayt", "not an address", nullptr},
      {"edt_Port", "x", nullptr},
  };
  for (const auto& c : cases) {
    ParaControlState controls;
    controls.setText(c.box, c.text);
    const auto refusal = addressBoxExit(controls, c.box);
    EXPECT_EQ(refusal ? refusal->text : "", c.warning != nullptr ? c.warning : "") << c.box << " " << c.text;
  }
}

}  // namespace
}  // namespace ombrel
