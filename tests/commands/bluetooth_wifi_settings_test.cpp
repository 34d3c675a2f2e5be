#include "commands/bluetooth_wifi_settings.h"

#include <gtest/gtest.h>

#include "settings/para_control_state.h"
#include "texts/message_texts.h"

namespace ombrel {
namespace {

struct Values {
  std::vector<std::pair<const char*, std::string>> texts;
  std::vector<std::pair<const char*, int>> choices;
};

ParaControlState controlsWith(const Values& values) {
  ParaControlState controls;  // the window's layout
  for (const auto& [control, text] : values.texts) controls.setText(control, text);
  for (const auto& [control, choice] : values.choices) controls.setIndex(control, choice);
  return controls;
}

std::string slice(const Bytes& bytes, std::size_t offset, std::size_t count) {
  return toHex(Bytes(bytes.begin() + static_cast<std::ptrdiff_t>(offset),
                     bytes.begin() + static_cast<std::ptrdiff_t>(offset + count)));
}

std::string zeros(std::size_t count) {
  std::string out;
  for (std::size_t i = 0; i < count; ++i) out += i == 0 ? "00" : " 00";
  return out;
}

TEST(BluetoothParameters, PayloadFields) {
  struct Case {
    const char* what;
    Values values;
    std::size_t offset;
    std::string bytes;
  };
  const std::string twentyA(20, 'A');
  const std::vector<Case> cases = {
      {"single mode", {{{"edt_lyName", "P"}}, {}}, 0, "01"},
      {"no module", {{{"edt_lyName", "P"}}, {{"rg_lyMode", 0}}}, 0, "00"},
      {"dual mode is 3", {{{"edt_lyName", "P"}}, {{"rg_lyMode", 2}}}, 0, "03"},
      {"name stands in for the empty dual-mode name",
       {{{"edt_lyName", "Ombrel"}}, {}},
       1,
       "4F 6D 62 72 65 6C " + zeros(14) + " " + zeros(13) + " 4F 6D 62 72 65 6C " + zeros(14)},
      {"dual-mode name stands in for the empty name",
       {{{"edt_smlyName", "Dual"}}, {}},
       1,
       "44 75 61 6C " + zeros(16) + " " + zeros(13) + " 44 75 61 6C " + zeros(16)},
      {"a full name has no terminator",
       {{{"edt_lyName", twentyA}, {"edt_lyPsw", "1234"}}, {}},
       19,
       "41 41 31 32 33 34"},
      {"GBK name", {{{"edt_lyName", "打印机"}}, {}}, 1, "B4 F2 D3 A1 BB FA 00"},
      {"password authentication", {{{"edt_lyName", "P"}}, {{"rg_lyPswcheck", 0}}}, 54, "01"},
      {"password authentication (****)", {{{"edt_lyName", "P"}}, {{"rg_lyPswcheck", 1}}}, 54, "02"},
      {"no authentication", {{{"edt_lyName", "P"}}, {{"rg_lyPswcheck", 2}}}, 54, "00"},
      {"module number 300", {{{"edt_lyName", "P"}, {"edt_lyType", "300"}}, {}}, 55, "2C"},
  };
  for (const auto& c : cases) {
    const ActionOutcome outcome = btn_SetlyParaClick(controlsWith(c.values));
    ASSERT_TRUE(std::holds_alternative<TaskStart>(outcome)) << c.what;
    const TaskStart& task = std::get<TaskStart>(outcome);
    EXPECT_EQ(task.code, 11) << c.what;
    ASSERT_EQ(task.payload.size(), 56u) << c.what;
    EXPECT_EQ(slice(task.payload, c.offset, (c.bytes.size() + 1) / 3), c.bytes) << c.what;
  }
}

TEST(WifiParameters, CipherCodesAndKeyLengthRules) {
  struct Case {
    int authentication;
    const char* group;  // the cipher group the authentication reads
    int choice;
    std::size_t keyBytes;
    int cipher;
    const char* warning;  // nullptr when the key passes
  };
  const Case cases[] = {
      {0, "rg_1", 0, 0, 0, nullptr},  {0, "rg_1", 1, 10, 1, nullptr},  {0, "rg_1", 1, 9, 1, "sMsg19"},
      {0, "rg_1", 2, 5, 2, nullptr},  {0, "rg_1", 2, 13, 2, nullptr},  {0, "rg_1", 2, 10, 2, "sMsg20"},
      {1, "rg_2", 0, 10, 1, nullptr}, {1, "rg_2", 0, 11, 1, "sMsg19"}, {1, "rg_2", 1, 13, 2, nullptr},
      {1, "rg_2", 1, 6, 2, "sMsg20"}, {2, "rg_3", 0, 8, 3, nullptr},   {2, "rg_3", 1, 7, 4, "sMsg21"},
      {3, "rg_3", 1, 9, 4, nullptr},  {3, "rg_3", 0, 0, 3, "sMsg21"},
  };
  for (const auto& c : cases) {
    ParaControlState controls;
    controls.setIndex("RadioGroup1", c.authentication);
    controls.setIndex(c.group, c.choice);
    controls.setText("edt_NetworkPsw", std::string(c.keyBytes, 'k'));
    controls.setText("edt_NetworkName", "Shop");
    const ActionOutcome outcome = btn_SetWifiParaClick(controls);
    const std::string what = std::to_string(c.authentication) + c.group + std::to_string(c.choice);
    if (c.warning != nullptr) {
      ASSERT_TRUE(std::holds_alternative<Refusal>(outcome)) << what;
      EXPECT_EQ(std::get<Refusal>(outcome).text, messageTexts().text(c.warning)) << what;
      continue;
    }
    ASSERT_TRUE(std::holds_alternative<TaskStart>(outcome)) << what;
    const Bytes& payload = std::get<TaskStart>(outcome).payload;
    EXPECT_EQ(payload.size(), 4 + 4 + c.keyBytes) << what;
    EXPECT_EQ(slice(payload, 5, 3),
              toHex(Bytes{static_cast<std::uint8_t>(c.authentication), static_cast<std::uint8_t>(c.cipher),
                          static_cast<std::uint8_t>(c.keyBytes)}))
        << what;
  }
}

TEST(WifiParameters, OnlyTheGroupOfTheAuthenticationCounts) {
  ParaControlState controls;
  controls.setIndex("RadioGroup1", 1);
  controls.setIndex("rg_1", 1);  // WEP-H in the open group would need 10 bytes
  controls.setIndex("rg_2", 1);  // WEP-A
  controls.setText("edt_NetworkPsw", "abcde");
  const ActionOutcome outcome = btn_SetWifiParaClick(controls);
  ASSERT_TRUE(std::holds_alternative<TaskStart>(outcome));
  EXPECT_EQ(toHex(std::get<TaskStart>(outcome).payload), "00 01 02 05 61 62 63 64 65");
}

TEST(WirelessTexts, RefusedWhenTheyCannotGoUnchanged) {
  struct Case {
    ActionOutcome (*click)(const ParaControls&);
    Values values;
    Refusal::Kind kind;
    std::string text;
  };
  const std::string wpa = std::string(8, 'k');
  const Case cases[] = {
      {btn_SetlyParaClick, {}, Refusal::Kind::NothingToSend, "edt_lyName and edt_smlyName are empty: nothing is sent"},
      {btn_SetlyParaClick,
       {{{"edt_lyName", std::string(21, 'n')}}, {}},
       Refusal::Kind::Warning,
       "蓝牙名称 (edt_lyName) 超过 20 字节 (GBK)，未发送"},
      {btn_SetlyParaClick,
       {{{"edt_lyName", "P"}, {"edt_smlyName", "双模蓝牙打印机双模蓝牙打印"}}, {}},
       Refusal::Kind::Warning,
       "双模蓝牙名称 (edt_smlyName) 超过 20 字节 (GBK)，未发送"},
      {btn_SetlyParaClick,
       {{{"edt_lyName", "P"}, {"edt_lyPsw", std::string(14, '1')}}, {}},
       Refusal::Kind::Warning,
       "蓝牙密码 (edt_lyPsw) 超过 13 字节 (GBK)，未发送"},
      {btn_SetlyParaClick,
       {{{"edt_lyName", "P\xF0\x9F\x96\xA8"}}, {}},
       Refusal::Kind::Warning,
       "蓝牙名称 (edt_lyName) 含有打印机字符集 (GBK) 中没有的字符，未发送"},
      {btn_SetlyParaClick,
       {{{"edt_lyName", "P"}, {"edt_lyType", ""}}, {}},
       Refusal::Kind::InvalidNumber,
       "'' is not a valid integer value"},
      {btn_SetlyParaClick,
       {{{"edt_lyName", "P"}, {"edt_lyType", "x1"}}, {}},
       Refusal::Kind::InvalidNumber,
       "'x1' is not a valid integer value"},
      {btn_SendLYTxtClick, {}, Refusal::Kind::NothingToSend, "edt_lyTestTxt is empty: nothing is sent"},
      {btn_SendLYTxtClick,
       {{{"edt_lyTestTxt", "AT\xF0\x9F\x98\x80"}}, {}},
       Refusal::Kind::Warning,
       "蓝牙通讯 (edt_lyTestTxt) 含有打印机字符集 (GBK) 中没有的字符，未发送"},
      {btn_SetWifiParaClick,
       {{{"edt_NetworkName", std::string(256, 'n')}}, {}},
       Refusal::Kind::Warning,
       "网络名称 (edt_NetworkName) 超过 255 字节 (GBK)，未发送"},
      {btn_SetWifiParaClick,
       {{{"edt_NetworkPsw", std::string(256, 'k')}}, {{"RadioGroup1", 3}}},
       Refusal::Kind::Warning,
       "秘钥 (edt_NetworkPsw) 超过 255 字节 (GBK)，未发送"},
      {btn_SetWifiParaClick,
       {{{"edt_NetworkName", "店\xF0\x9F\x93\xB6"}}, {}},
       Refusal::Kind::Warning,
       "网络名称 (edt_NetworkName) 含有打印机字符集 (GBK) 中没有的字符，未发送"},
      {btn_bluetoothClick, {}, Refusal::Kind::NoChoice, "Cbx_Bluetooth"},
  };
  for (const auto& c : cases) {
    const ActionOutcome outcome = c.click(controlsWith(c.values));
    ASSERT_TRUE(std::holds_alternative<Refusal>(outcome)) << c.text;
    EXPECT_EQ(std::get<Refusal>(outcome).kind, c.kind) << c.text;
    EXPECT_EQ(std::get<Refusal>(outcome).text, c.text);
  }
}

TEST(WirelessTexts, TheLongestTextsThatFitAreSent) {
  ParaControlState controls;
  controls.setIndex("RadioGroup1", 3);
  controls.setText("edt_NetworkName", std::string(255, 'n'));
  controls.setText("edt_NetworkPsw", std::string(255, 'k'));
  const ActionOutcome wifi = btn_SetWifiParaClick(controls);
  ASSERT_TRUE(std::holds_alternative<TaskStart>(wifi));
  EXPECT_EQ(std::get<TaskStart>(wifi).payload.size(), 255u + 255u + 4u);

  controls.setText("edt_lyName", "打印机打印机打印机打");  // 20 GBK bytes
  controls.setText("edt_lyPsw", std::string(13, '9'));
  EXPECT_TRUE(std::holds_alternative<TaskStart>(btn_SetlyParaClick(controls)));
}

}  // namespace
}  // namespace ombrel
