#include "raw_decoder.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <string_view>

#include "protocol/codes.h"

namespace ombrel::vprinter {

namespace {

using namespace std::string_view_literals;

std::string number(unsigned value) { return std::to_string(value); }

std::string dotted(const Bytes& raw, std::size_t from) {
  return number(raw[from]) + "." + number(raw[from + 1]) + "." + number(raw[from + 2]) + "." + number(raw[from + 3]);
}

std::string choice(std::uint8_t value, std::uint8_t first, const char* firstText, std::uint8_t second,
                   const char* secondText) {
  if (value == first) return firstText;
  if (value == second) return secondText;
  char text[24];
  std::snprintf(text, sizeof text, "unknown value 0x%02X", value);
  return text;
}

// One recognised shape: the leading bytes, the whole length (0 = any length
// of at least the prefix) and how to name it.
struct RawShape {
  std::string_view prefix;
  std::size_t length;
  std::string (*describe)(const Bytes& raw);
};

std::string blackMarkDistance(const char* what, const Bytes& raw) {
  return std::string(what) + " " + number(raw[7]) + " mm";
}

constexpr std::string_view kFindBlackMark = "Hello world 0x0C"sv;

// Longer prefixes first where two shapes share leading bytes.
const std::array<RawShape, 19> kShapes = {{
    {"\x8D\x00"sv, 2, [](const Bytes&) -> std::string { return "WiFi off"; }},
    {"\x8D\x01"sv, 2, [](const Bytes&) -> std::string { return "WiFi on"; }},
    {"\x8E\x01"sv, 2, [](const Bytes&) -> std::string { return "Bluetooth hidden"; }},
    {"\x8E\x00"sv, 2, [](const Bytes&) -> std::string { return "Bluetooth shown"; }},
    {"\x1F\x1B\x1F\x80\x04\x05\x06\x44"sv, 8, [](const Bytes&) -> std::string { return "black-mark mode on"; }},
    {"\x1F\x1B\x1F\x80\x04\x05\x06\x66"sv, 8, [](const Bytes&) -> std::string { return "black-mark mode off"; }},
    {"\x1F\x1B\x1F\x81\x04\x05\x06"sv, 9,
     [](const Bytes& raw) { return blackMarkDistance("black-mark search distance", raw); }},
    {"\x1F\x1B\x1F\x82\x04\x05\x06"sv, 9, [](const Bytes& raw) { return blackMarkDistance("black-mark width", raw); }},
    {"\x1B\x28\x46\x04\x00\x01\x00"sv, 9,
     [](const Bytes& raw) { return blackMarkDistance("opto-sensor to print-head distance", raw); }},
    {"\x1F\x49"sv, 6, [](const Bytes& raw) { return "wired IP address " + dotted(raw, 2); }},
    {"\x1F\x53"sv, 6, [](const Bytes& raw) { return "wired subnet mask " + dotted(raw, 2); }},
    {"\x1F\x4E"sv, 6, [](const Bytes& raw) { return "wired gateway " + dotted(raw, 2); }},
    {"\x1F\x4D"sv, 6, [](const Bytes& raw) { return "wired MAC bytes 3 to 6 " + toHex(raw.data() + 2, 4); }},
    {"\x1F\x50"sv, 4, [](const Bytes& raw) { return "wired port " + number(raw[2] * 256u + raw[3]); }},
    {"\x12\x55"sv, 3,
     [](const Bytes& raw) {
       return "USB device class: " + choice(raw[2], 0, "virtual serial port", 1, "printer port");
     }},
    {"\x1F\x41"sv, 3, [](const Bytes& raw) { return "paper type: " + choice(raw[2], 0, "receipt", 1, "label"); }},
    {"\x1B\x7B"sv, 3,
     [](const Bytes& raw) { return "print order: " + choice(raw[2], 0xF1, "reverse", 0xF0, "normal"); }},
    {kFindBlackMark, kFindBlackMark.size(), [](const Bytes&) -> std::string { return "find black mark"; }},
    {"\x1F\x75\x00\x01"sv, 0,
     [](const Bytes& raw) {
       if (raw.size() < 6) return std::string("firmware stream head, size missing");
       return "firmware stream head, size " + number(raw[4] * 256u + raw[5]) + " (low 16 bits), " +
              number(static_cast<unsigned>(raw.size() - 6)) + " image bytes";
     }},
}};

bool matches(const RawShape& shape, const Bytes& raw) {
  if (shape.length != 0 && raw.size() != shape.length) return false;
  if (raw.size() < shape.prefix.size()) return false;
  return std::equal(shape.prefix.begin(), shape.prefix.end(), raw.begin(),
                    [](char expected, std::uint8_t got) { return static_cast<std::uint8_t>(expected) == got; });
}

}  // namespace

std::string decodeRaw(const Bytes& raw) {
  for (const RawShape& shape : kShapes) {
    if (matches(shape, raw)) return shape.describe(raw);
  }
  if (raw.size() == 4 && raw[0] == 0x1C && raw[1] == 0x70 && raw[3] == 0x00) return "print logo " + number(raw[2]);
  if (!raw.empty() && std::all_of(raw.begin(), raw.end(), [](std::uint8_t b) { return b == kBootLoaderByte; })) {
    return "boot handshake byte 0x61";
  }
  if (raw.size() >= 2 && raw[0] == 0x02 && raw[1] == 0x00) return "incomplete frame head";
  if (raw.size() >= 2 && raw[0] == 0x1F && raw[1] == 0x1B) return "unrecognised escape sequence";
  return "unrecognised raw bytes";
}

}  // namespace ombrel::vprinter
