#include "commands/device_settings.h"

#include <gtest/gtest.h>

#include "commands/black_mark.h"
#include "settings/para_control_state.h"

namespace ombrel {
namespace {

std::string hexOf(const ActionOutcome& outcome) {
  if (const auto* start = std::get_if<TaskStart>(&outcome)) return toHex(start->payload);
  return "refused: " + std::get<Refusal>(outcome).text;
}

TEST(DevicePayload, FieldsOfTwentyBytes) {
  struct Case {
    std::string name, serial, bytes;
  };
  const std::string zeros10 = "00 00 00 00 00 00 00 00 00 00";
  const std::vector<Case> cases = {
      // A name filling its field has no terminator: byte 20 starts the serial.
      {"ABCDEFGHIJKLMNOPQRST", "1704269998",
       "41 42 43 44 45 46 47 48 49 4A 4B 4C 4D 4E 4F 50 51 52 53 54 31 37 30 34 32 36 39 39 39 38 " + zeros10},
      // An empty serial number is twenty zero bytes; texts go as GBK.
      {"打印机", "", "B4 F2 D3 A1 BB FA 00 00 00 00 00 00 00 00 00 00 00 00 00 00 " + zeros10 + " " + zeros10},
  };
  for (const auto& c : cases) {
    ParaControlState controls;
    controls.setText("edt_DeviceName", c.name);
    controls.setText("edt_DeviceSerialNo", c.serial);
    EXPECT_EQ(hexOf(btn_SetDeviceParaClick(controls)), c.bytes) << c.name;
  }
}

TEST(DeviceAction, RefusesWhatItCannotWriteWhole) {
  struct Case {
    const char* name;
    const char* serial;
    bool plus;
    const char* refusalNames;  // empty: accepted
  };
  const Case cases[] = {
      {"", "1", true, "设备名称不能为空"},
      {"ABCDEFGHIJKLMNOPQRSTU", "1", true, "edt_DeviceName"},   // 21 bytes
      {"打印机打印机打印机打印", "1", true, "edt_DeviceName"},  // 10 characters, 22 bytes
      {"P", "123456789012345678901", false, "edt_DeviceSerialNo"},
      {"P", "12345678901", true, "无法为下一台打印机加减一"},  // beyond 32 bits
      {"P", "2147483647", true, "无法为下一台打印机加减一"},   // its next number is
      {"P", "12345678901", false, ""},                         // no step: written as it is
      {"P", "0099", true, ""},
  };
  for (const auto& c : cases) {
    ParaControlState controls;
    controls.setText("edt_DeviceName", c.name);
    controls.setText("edt_DeviceSerialNo", c.serial);
    controls.setChecked("rb_Plus", c.plus);
    const std::string outcome = hexOf(btn_SetDeviceParaClick(controls));
    if (*c.refusalNames == '\0') {
      EXPECT_EQ(outcome.find("refused"), std::string::npos) << c.serial << ": " << outcome;
    } else {
      EXPECT_NE(outcome.find(c.refusalNames), std::string::npos) << c.name << " " << c.serial << ": " << outcome;
    }
  }
}

TEST(InfraredAction, SendsRateSwitchAndProtocol) {
  struct Case {
    const char* rate;
    bool on;
    int protocol;
    const char* outcome;
  };
  const Case cases[] = {
      {"38400", true, 1, "02 01 01"},
      {"9600", false, 0, "00 00 00"},  // the lists are sent with infrared off too
      {"115200", true, 0, "04 01 00"},
      {"14400", true, 0, "refused: cbb_InfraredBaurate"},
      {"9600", true, -1, "refused: cbb_irdaProtecl"},
  };
  for (const auto& c : cases) {
    ParaControlState controls;
    controls.setText("cbb_InfraredBaurate", c.rate);
    controls.setChecked(c.on ? "rb_Infrared" : "rb_notInfrared", true);
    controls.setIndex("cbb_irdaProtecl", c.protocol);
    EXPECT_EQ(hexOf(btn_SetInfraredParaClick(controls)), c.outcome) << c.rate;
  }
}

TEST(DistanceAction, SendsTheDistanceByteOrRefusesOneNoByteHolds) {
  const std::pair<const char*, const char*> cases[] = {
      {"40", "28"},
      {"255", "FF"},
      {"1", "01"},
      {"", "1E"},
      {"4x", "1E"},
      {"0", "refused: 黑标宽度 (ed_Black_width) 须在 1 到 255 毫米之间，不是 0，未发送"},
      {"256", "refused: 黑标宽度 (ed_Black_width) 须在 1 到 255 毫米之间，不是 256，未发送"},
  };
  for (const auto& [text, outcome] : cases) {
    ParaControlState controls;
    controls.setText("ed_Black_width", text);
    EXPECT_EQ(hexOf(bt_Black_width_setClick(controls)), outcome) << text;
  }
}

}  // namespace
}  // namespace ombrel
