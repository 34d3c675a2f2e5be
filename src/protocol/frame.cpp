#include "protocol/frame.h"

#include <cstring>

namespace ombrel::frame {

namespace {
void putLe(Bytes& out, std::size_t at, std::uint32_t value, int width) {
  for (int i = 0; i < width; ++i) out[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
}
std::uint32_t getLe(const std::uint8_t* in, int width) {
  std::uint32_t value = 0;
  for (int i = width - 1; i >= 0; --i) value = (value << 8) | in[i];
  return value;
}
}  // namespace

std::uint8_t xorOf(const std::uint8_t* data, std::size_t count) {
  std::uint8_t check = 0;
  for (std::size_t i = 0; i < count; ++i) check ^= data[i];
  return check;
}

Bytes build(const Head& head, const std::uint8_t* data, bool dataCheck) {
  const std::size_t length = head.length;
  Bytes out(kHeadSize + length + (length > 0 && dataCheck ? 1 : 0));
  out[0] = 0x02;
  out[1] = 0x00;
  putLe(out, 2, head.command, 2);
  putLe(out, 4, head.first, 4);
  putLe(out, 8, head.second, 4);
  putLe(out, 12, head.length, 2);
  out[14] = xorOf(out.data(), 14);
  out[15] = 0x00;
  for (std::size_t i = 0; i < length; ++i) out[kHeadSize + i] = data[i];
  if (length > 0 && dataCheck) out[kHeadSize + length] = xorOf(data, length);
  return out;
}

Bytes build(std::uint16_t command, std::uint32_t first, std::uint32_t second, const Bytes& data, bool dataCheck) {
  Head head{command, first, second, static_cast<std::uint16_t>(data.size())};
  return build(head, data.data(), dataCheck);
}

Head readHead(const std::uint8_t* head) {
  return Head{static_cast<std::uint16_t>(getLe(head + 2, 2)), getLe(head + 4, 4), getLe(head + 8, 4),
              static_cast<std::uint16_t>(getLe(head + 12, 2))};
}

bool headCheckOk(const std::uint8_t* head) { return xorOf(head, kHeadSize) == 0; }

bool holdsWholeFrame(const std::uint8_t* bytes, std::size_t count) {
  const auto* start = static_cast<const std::uint8_t*>(std::memchr(bytes, 0x02, count));
  if (start == nullptr) return false;
  const std::size_t held = count - static_cast<std::size_t>(start - bytes);
  if (held < kHeadSize || !headCheckOk(start)) return false;
  const std::size_t length = readHead(start).length;
  return held >= kHeadSize + (length == 0 ? 0 : length + 1);
}

bool isAcceptedDatagram(const std::uint8_t* data, std::size_t count) {
  return count >= kHeadSize && data[0] == 0x02 && data[1] == 0x00;
}

}  // namespace ombrel::frame
