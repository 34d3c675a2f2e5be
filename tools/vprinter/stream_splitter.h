#pragma once

// Finds command frames in a byte stream, where nothing marks where one unit
// ends and the next begins. A frame is a 16-byte head beginning 0x02 0x00
// whose bytes XOR to 0, then, when its length L is not 0, L data bytes and
// their check byte. Everything else is raw: bytes that cannot start a frame.
// Pure: the caller keeps the buffer and removes what a split names.

#include <cstddef>
#include <cstdint>

namespace ombrel::vprinter {

enum class Piece {
  NeedMore,  // the bytes may still become a frame: wait for more
  Frame,     // a whole frame, head checked (the data check is the printer's)
  Raw,       // bytes that do not start a frame
};

struct Split {
  Piece piece = Piece::NeedMore;
  std::size_t length = 0;  // bytes at the start that make up the piece; 0 for NeedMore
};

// What the buffered bytes begin with. A raw piece runs up to the next 0x02, so
// a frame that follows noise in the same chunk is still found.
Split splitStream(const std::uint8_t* data, std::size_t count);

}  // namespace ombrel::vprinter
