#include "frame_fields.h"

#include <algorithm>

namespace ombrel::vprinter {

std::optional<FrameFields> readFrame(const Bytes& unit) {
  if (!frame::isAcceptedDatagram(unit.data(), unit.size())) return std::nullopt;
  FrameFields fields;
  fields.head = frame::readHead(unit.data());
  fields.headOk = frame::headCheckOk(unit.data());
  const std::size_t length = fields.head.length;
  const std::size_t present = std::min(length, unit.size() - frame::kHeadSize);
  const auto dataBegin = unit.begin() + static_cast<std::ptrdiff_t>(frame::kHeadSize);
  fields.data.assign(dataBegin, dataBegin + static_cast<std::ptrdiff_t>(present));
  std::size_t end = frame::kHeadSize + present;
  if (length > 0 && fields.dataComplete() && unit.size() > end) {
    fields.dataCheck = frame::xorOf(fields.data.data(), length) == unit[end] ? DataCheck::Ok : DataCheck::Wrong;
    ++end;
  }
  fields.trailing = unit.size() - end;
  return fields;
}

}  // namespace ombrel::vprinter
