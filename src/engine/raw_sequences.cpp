#include "engine/raw_sequences.h"

namespace ombrel::raw {

namespace {
std::uint8_t payloadByte(const Bytes& payload, std::size_t index) {
  return index < payload.size() ? payload[index] : std::uint8_t{0};
}

Bytes payloadBytes(const Bytes& payload, std::size_t count) {
  Bytes out(count, 0);
  for (std::size_t i = 0; i < count; ++i) out[i] = payloadByte(payload, i);
  return out;
}

// 0x1F, a letter naming the wired network setting, then its value bytes.
Bytes wiredNetworkSequence(std::uint8_t letter, const Bytes& payload, std::size_t valueBytes) {
  Bytes out{0x1F, letter};
  const Bytes value = payloadBytes(payload, valueBytes);
  out.insert(out.end(), value.begin(), value.end());
  return out;
}
}  // namespace

Bytes switchSequence(std::uint8_t code, std::uint8_t flag) { return Bytes{code, flag}; }

Bytes escapeSequence(const Bytes& data) {
  Bytes out{0x1F, 0x1B};
  out.insert(out.end(), data.begin(), data.end());
  return out;
}

Bytes flowControlSequence(const Bytes& data) {
  Bytes out{0x02, 0x00, 0x8D, 0x00, 0, 0, 0, 0, 0, 0, 0, 0, 0x01, 0x00, 0x8E};
  out.insert(out.end(), data.begin(), data.end());
  return out;
}

bool isRawTask(int code) { return (code >= 26 && code <= 43) && code != 28; }

Bytes rawTaskBytes(int code, const Bytes& payload) {
  const std::uint8_t distance = payloadByte(payload, 0);
  const std::uint8_t afterDistance = payloadByte(payload, 1);
  switch (code) {
    case 26:
      return switchSequence(0x8D, 0);  // WiFi off
    case 27:
      return switchSequence(0x8E, 0);  // Bluetooth visible
    case 29:
      return switchSequence(0x8D, 1);  // WiFi on
    case 30:
      return switchSequence(0x8E, 1);  // Bluetooth hidden
    case 31:
      return escapeSequence({0x1F, 0x80, 0x04, 0x05, 0x06, 0x44});  // black-mark mode on
    case 32:
      return escapeSequence({0x1F, 0x80, 0x04, 0x05, 0x06, 0x66});  // black-mark mode off
    case 33:
      return escapeSequence({0x1F, 0x81, 0x04, 0x05, 0x06, distance, afterDistance});
    case 34:
      return escapeSequence({0x1F, 0x82, 0x04, 0x05, 0x06, distance, afterDistance});
    case 35:
      return Bytes{0x1B, 0x28, 0x46, 0x04, 0x00, 0x01, 0x00, distance, afterDistance};
    case 36:
      return payload;  // the find-black-mark text
    case 37:
      return wiredNetworkSequence('S', payload, 4);
    case 38:
      return wiredNetworkSequence('N', payload, 4);
    case 39:
      return wiredNetworkSequence('P', payload, 2);
    case 40:
      return wiredNetworkSequence('M', payload, 4);
    case 41:
      return wiredNetworkSequence('I', payload, 4);
    case 42:
      return flowControlSequence({0x00, 0x00, 0x00});
    case 43:
      return flowControlSequence({0x00, 0x01, 0x01});
    default:
      return {};
  }
}

Bytes hardwareSettingBytes(int setting, int item) {
  const auto flag = static_cast<std::uint8_t>(item == 0 ? 0 : 1);
  switch (setting) {
    case 0:
      return {0x12, 0x55, flag};
    case 1:
      return {0x1F, 0x41, flag};
    case 2:
      return {0x1B, 0x7B, static_cast<std::uint8_t>(item == 0 ? 0xF1 : 0xF0)};
    default:
      return {};
  }
}

Bytes printLogoBytes(int number) { return {0x1C, 0x70, static_cast<std::uint8_t>(number), 0x00}; }

}  // namespace ombrel::raw
