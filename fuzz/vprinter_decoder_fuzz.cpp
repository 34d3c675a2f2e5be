// The virtual printer's reading of what arrives: the input as one datagram,
// then as a byte stream cut into frames and raw sequences. Every unit is
// named for the log without fault, and the stream's pieces cover it exactly.

#include <cstdint>

#include "command_decoder.h"
#include "frame_fields.h"
#include "fuzz_check.h"
#include "raw_decoder.h"
#include "stream_splitter.h"

namespace {

using ombrel::Bytes;
using namespace ombrel::vprinter;

void nameUnit(const Bytes& unit) {
  if (const auto fields = readFrame(unit)) {
    FUZZ_CHECK(fields->data.size() <= fields->head.length);
    FUZZ_CHECK(!decodeCommand(*fields).empty());
  } else {
    FUZZ_CHECK(!decodeRaw(unit).empty());
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  nameUnit(Bytes(data, data + size));
  std::size_t at = 0;
  while (at < size) {
    const Split split = splitStream(data + at, size - at);
    if (split.piece == Piece::NeedMore) {
      FUZZ_CHECK(split.length == 0);
      nameUnit(Bytes(data + at, data + size));
      break;
    }
    FUZZ_CHECK(split.length > 0 && split.length <= size - at);
    const Bytes unit(data + at, data + at + split.length);
    if (split.piece == Piece::Frame) {
      const auto fields = readFrame(unit);
      FUZZ_CHECK(fields && fields->headOk && fields->dataComplete() && fields->trailing == 0);
    }
    nameUnit(unit);
    at += split.length;
  }
  return 0;
}
