#include "stream_splitter.h"

#include <algorithm>

#include "protocol/frame.h"

namespace ombrel::vprinter {

namespace {

constexpr std::uint8_t kFrameStart = 0x02;

// A raw piece: `from` bytes that cannot start a frame, and the bytes after
// them up to the next possible frame start.
Split rawFrom(const std::uint8_t* data, std::size_t count, std::size_t from) {
  const std::uint8_t* next = std::find(data + from, data + count, kFrameStart);
  return Split{Piece::Raw, static_cast<std::size_t>(next - data)};
}

}  // namespace

Split splitStream(const std::uint8_t* data, std::size_t count) {
  if (count == 0) return Split{};
  if (data[0] != kFrameStart) return rawFrom(data, count, 0);
  if (count < 2) return Split{};
  if (data[1] != 0x00) return rawFrom(data, count, 1);
  if (count < frame::kHeadSize) return Split{};
  if (!frame::headCheckOk(data)) return rawFrom(data, count, 1);
  const std::size_t length = frame::readHead(data).length;
  const std::size_t whole = frame::kHeadSize + (length > 0 ? length + 1 : 0);
  if (count < whole) return Split{};
  return Split{Piece::Frame, whole};
}

}  // namespace ombrel::vprinter
