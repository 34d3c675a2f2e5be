#pragma once

// 8-bit text as the printer and the stored files know it. The program works
// in UTF-8; the printer and older settings and language files use GBK
// (Windows code page 936). Conversions go through glibc's iconv.

#include <optional>
#include <string>
#include <string_view>

#include "platform/bytes.h"

namespace ombrel {

class TextCodec {
 public:
  // Whether `bytes` is well-formed UTF-8 (no overlong forms, no surrogates,
  // nothing above U+10FFFF).
  static bool isValidUtf8(std::string_view bytes);
  // Whether `bytes` is well-formed UTF-8 whose non-ASCII characters are all
  // CJK, fullwidth or punctuation: what Chinese text in UTF-8 is made of,
  // and what GBK bytes that happen to be well-formed UTF-8 seldom decode to
  // (they give mostly two-byte Latin, Greek, Cyrillic or Hebrew letters).
  static bool isUtf8OfCjkText(std::string_view bytes);

  // GBK to UTF-8; a byte sequence that is not GBK becomes U+FFFD.
  static std::string gbkToUtf8(std::string_view gbk);
  // UTF-8 to GBK; a character GBK cannot hold, or a malformed UTF-8
  // sequence, becomes '?'.
  static std::string utf8ToGbk(std::string_view utf8);

  // The bytes that go to the printer for a text typed by the operator.
  static Bytes toPrinterBytes(std::string_view utf8);
  // The same bytes, or nothing when a character has no GBK form (or the
  // UTF-8 is malformed): for texts that must reach the printer unchanged.
  static std::optional<Bytes> toPrinterBytesExactly(std::string_view utf8);
  // The text of bytes that came from the printer.
  static std::string fromPrinterBytes(const Bytes& gbk);
};

}  // namespace ombrel
