#include "printer_model.h"

#include <algorithm>

#include "command_decoder.h"
#include "protocol/codes.h"
#include "raw_decoder.h"

namespace ombrel::vprinter {

namespace {

// Why a frame goes unanswered; empty when it may be answered.
std::string refusal(const FrameFields& frame) {
  if (!frame.headOk) return "head check wrong";
  if (!frame.dataComplete()) {
    return "data incomplete (" + std::to_string(frame.data.size()) + " of " + std::to_string(frame.head.length) +
           " bytes)";
  }
  if (frame.dataCheck == DataCheck::Wrong) return "data check wrong";
  return "";
}

frame::Head replyHeadFor(const frame::Head& request, ReplyHead style, std::size_t dataLength) {
  const auto length = static_cast<std::uint16_t>(dataLength);
  switch (style) {
    case ReplyHead::Zero:
      return {request.command, 0, 0, length};
    case ReplyHead::Fixed:
      return {kCmdIdentify, 0, 0, length};
    case ReplyHead::Echo:
      break;
  }
  return {request.command, request.first, request.second, length};
}

}  // namespace

Bytes patternMemory(std::size_t size) {
  Bytes memory(size);
  for (std::size_t i = 0; i < size; ++i) memory[i] = static_cast<std::uint8_t>(i & 0xFF);
  return memory;
}

PrinterModel::PrinterModel(PrinterConfig config)
    : identity_(config.identity.begin(), config.identity.end()),
      readBlock_(config.readBlock),
      memory_(std::move(config.memory)),
      lineRate_(config.lineRate),
      bootAfter_(config.bootAfter),
      replyHead_(config.replyHead),
      corruptStore_(config.corruptStore) {
  identity_.resize(kIdentitySize, 0x00);
}

Handling PrinterModel::receive(const Bytes& unit) {
  Handling handling;
  handling.frame = readFrame(unit);
  if (!handling.frame) {
    handling.decoded = decodeRaw(unit);
    std::string note;
    handling.reply = bootLoader(unit, note);
    if (!note.empty()) handling.decoded += "; " + note;
    return handling;
  }
  const FrameFields& frame = *handling.frame;
  handling.decoded = decodeCommand(frame);
  const std::string refused = refusal(frame);
  if (!refused.empty()) {
    handling.decoded += "; " + refused + ", not answered";
    return handling;
  }
  std::string note;
  const Bytes replyData = act(frame, note);
  if (!note.empty()) handling.decoded += "; " + note;
  if (frame.trailing > 0) handling.decoded += "; " + std::to_string(frame.trailing) + " trailing bytes ignored";
  handling.reply = frame::build(replyHeadFor(frame.head, replyHead_, replyData.size()), replyData.data(), true);
  return handling;
}

Bytes PrinterModel::act(const FrameFields& frame, std::string& note) {
  switch (frame.head.command) {
    case kCmdIdentify:
      note = "identity \"" + std::string(identity_.begin(), std::find(identity_.begin(), identity_.end(), 0)) + "\"";
      return identity_;
    case kCmdSwitchRate:
      if (rateOfCode(frame.head.first) == 0) {
        note = "rate unchanged";
      } else {
        lineRate_ = static_cast<std::uint32_t>(rateOfCode(frame.head.first));
        note = "now the current rate";
      }
      return {};
    case kCmdBaudRate:
      // The printer keeps the new rate and listens on it from now on.
      if (frame.data.empty() || rateOfCode(frame.data[0]) == 0) {
        note = "rate unchanged";
      } else {
        lineRate_ = static_cast<std::uint32_t>(rateOfCode(frame.data[0]));
        note = "now the configured and current rate";
      }
      return {};
    case kCmdWriteBlock: {
      const std::size_t stored = writeMemory(frame.head.first, frame.data);
      if (stored < frame.data.size()) {
        note = std::to_string(frame.data.size() - stored) + " bytes beyond the end of memory dropped";
      }
      if (corruptStore_ && *corruptStore_ >= frame.head.first && *corruptStore_ - frame.head.first < stored) {
        note += std::string(note.empty() ? "" : "; ") + "byte at the corrupt-store address stored inverted";
      }
      return {};
    }
    case kCmdReadBlock: {
      Bytes data = readMemory(frame.head.first);
      note = std::to_string(data.size()) + " bytes returned";
      return data;
    }
    default:
      return {};
  }
}

bool PrinterModel::answersAtOnce(const Bytes& raw) const {
  if (!bootAfter_ || raw.empty() || raw.back() != kBootLoaderByte) return false;
  const auto count = static_cast<std::uint64_t>(std::count(raw.begin(), raw.end(), kBootLoaderByte));
  return bootBytes_ + count >= *bootAfter_;
}

std::optional<Bytes> PrinterModel::bootLoader(const Bytes& raw, std::string& note) {
  if (!bootAfter_) return std::nullopt;
  const auto count = static_cast<std::uint64_t>(std::count(raw.begin(), raw.end(), kBootLoaderByte));
  if (count == 0) return std::nullopt;
  const bool answers = answersAtOnce(raw);
  bootBytes_ += count;
  if (!answers) {
    note = "boot loader: " + std::to_string(bootBytes_) + " of " + std::to_string(*bootAfter_) +
           " handshake bytes received";
    return std::nullopt;
  }
  note = "boot loader answers";
  return Bytes{kBootLoaderByte};
}

std::size_t PrinterModel::writeMemory(std::uint32_t address, const Bytes& data) {
  if (address >= memory_.size()) return 0;
  const std::size_t count = std::min(data.size(), memory_.size() - address);
  std::copy_n(data.begin(), count, memory_.begin() + static_cast<std::ptrdiff_t>(address));
  if (corruptStore_ && *corruptStore_ >= address && *corruptStore_ - address < count) {
    memory_[*corruptStore_] = static_cast<std::uint8_t>(~memory_[*corruptStore_]);
  }
  return count;
}

Bytes PrinterModel::readMemory(std::uint32_t address) const {
  if (address >= memory_.size()) return {};
  const std::size_t count = std::min(readBlock_, memory_.size() - address);
  const auto begin = memory_.begin() + static_cast<std::ptrdiff_t>(address);
  return Bytes(begin, begin + static_cast<std::ptrdiff_t>(count));
}

}  // namespace ombrel::vprinter
