#pragma once

// The fields of a received command frame as the printer reads them: the head,
// the data that arrived and the state of the optional data check byte. A
// datagram from the network link carries no data check; a byte-stream link
// (and the flow-control frame on every link) appends one.

#include <cstddef>
#include <optional>

#include "protocol/frame.h"
#include "platform/bytes.h"

namespace ombrel::vprinter {

enum class DataCheck { Absent, Ok, Wrong };

struct FrameFields {
  frame::Head head;
  bool headOk = false;
  // The data bytes that arrived, at most head.length of them.
  Bytes data;
  DataCheck dataCheck = DataCheck::Absent;
  // Bytes after the data and its check byte.
  std::size_t trailing = 0;

  bool dataComplete() const { return data.size() == head.length; }
};

// A unit is a command frame when it holds a whole head beginning 0x02 0x00;
// anything else is a raw sequence (nullopt).
std::optional<FrameFields> readFrame(const Bytes& unit);

}  // namespace ombrel::vprinter
