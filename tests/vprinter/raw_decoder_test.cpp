#include "raw_decoder.h"

#include <gtest/gtest.h>

namespace ombrel::vprinter {
namespace {

TEST(RawDecoder, NamesTheSequencesTheSettingToolWrites) {
  struct Case {
    const char* hex;
    const char* decoded;
  };
  const Case cases[] = {
      {"8D 00", "WiFi off"},
      {"8D 01", "WiFi on"},
      {"8E 01", "Bluetooth hidden"},
      {"8E 00", "Bluetooth shown"},
      {"1F 1B 1F 80 04 05 06 44", "black-mark mode on"},
      {"1F 1B 1F 80 04 05 06 66", "black-mark mode off"},
      {"1F 1B 1F 81 04 05 06 28 00", "black-mark search distance 40 mm"},
      {"1F 1B 1F 82 04 05 06 1E 00", "black-mark width 30 mm"},
      {"1B 28 46 04 00 01 00 0C 00", "opto-sensor to print-head distance 12 mm"},
      {"1F 49 0A 00 00 05", "wired IP address 10.0.0.5"},
      {"1F 53 FF FF FF 00", "wired subnet mask 255.255.255.0"},
      {"1F 4E C0 A8 01 01", "wired gateway 192.168.1.1"},
      {"1F 4D 65 66 67 68", "wired MAC bytes 3 to 6 65 66 67 68"},
      {"1F 50 23 8C", "wired port 9100"},
      {"12 55 00", "USB device class: virtual serial port"},
      {"12 55 01", "USB device class: printer port"},
      {"1F 41 01", "paper type: label"},
      {"1B 7B F1", "print order: reverse"},
      {"1B 7B F0", "print order: normal"},
      {"1B 7B 02", "print order: unknown value 0x02"},
      {"48 65 6C 6C 6F 20 77 6F 72 6C 64 20 30 78 30 43", "find black mark"},
      {"1C 70 02 00", "print logo 2"},
      {"61", "boot handshake byte 0x61"},
      {"1F 75 00 01 11 70 FF FF", "firmware stream head, size 4464 (low 16 bits), 2 image bytes"},
      {"1F 1B 00", "unrecognised escape sequence"},
      {"02 00 30 00", "incomplete frame head"},
      {"8D 00 00", "unrecognised raw bytes"},
      {"", "unrecognised raw bytes"},
  };
  for (const Case& c : cases) {
    Bytes raw;
    ASSERT_TRUE(parseHex(c.hex, raw)) << c.hex;
    EXPECT_EQ(decodeRaw(raw), c.decoded) << c.hex;
  }
}

}  // namespace
}  // namespace ombrel::vprinter
