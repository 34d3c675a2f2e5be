#include "texts/text_codec.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <stdexcept>

namespace ombrel {

namespace {

// glibc's name for the Windows code page, which includes 0x80 for the euro sign.
constexpr const char* kGbk = "CP936";
constexpr const char* kUtf8 = "UTF-8";

// Length of the well-formed UTF-8 sequence at the start of `text`, 0 when
// there is none.
std::size_t utf8SequenceLength(std::string_view text) {
  if (text.empty()) return 0;
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(0);
  if (lead < 0x80) return 1;
  std::size_t length = 0;
  unsigned char low = 0x80;
  unsigned char high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;   // overlong
    if (lead == 0xED) high = 0x9F;  // surrogates
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;   // overlong
    if (lead == 0xF4) high = 0x8F;  // above U+10FFFF
  } else {
    return 0;
  }
  if (text.size() < length) return 0;
  if (byte(1) < low || byte(1) > high) return 0;
  for (std::size_t i = 2; i < length; ++i) {
    if (byte(i) < 0x80 || byte(i) > 0xBF) return 0;
  }
  return length;
}

// The code point of a well-formed sequence of `length` bytes.
char32_t codePointOf(std::string_view sequence, std::size_t length) {
  static constexpr unsigned char kLeadBits[] = {0x7F, 0x1F, 0x0F, 0x07};
  char32_t value = static_cast<unsigned char>(sequence[0]) & kLeadBits[length - 1];
  for (std::size_t i = 1; i < length; ++i) value = (value << 6) | (static_cast<unsigned char>(sequence[i]) & 0x3F);
  return value;
}

// Punctuation, symbols and arrows (U+2000 to U+2BFF), the CJK blocks with
// their symbols, kana and Hangul, the compatibility and vertical forms, the
// fullwidth forms and the supplementary ideographs.
bool isCjkOrPunctuation(char32_t c) {
  return (c >= 0x2000 && c <= 0x2BFF) || (c >= 0x2E80 && c <= 0x9FFF) || (c >= 0xAC00 && c <= 0xD7AF) ||
         (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE10 && c <= 0xFE6F) || (c >= 0xFF00 && c <= 0xFFEF) ||
         (c >= 0x20000 && c <= 0x3FFFF);
}

class Converter {
 public:
  Converter(const char* to, const char* from) : handle_(iconv_open(to, from)) {
    if (handle_ == reinterpret_cast<iconv_t>(-1)) {
      throw std::runtime_error(std::string("iconv cannot convert from ") + from + " to " + to);
    }
  }
  ~Converter() { iconv_close(handle_); }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // Converts `input`; a sequence that cannot be converted is replaced by
  // `replacement`, and `skip` says how many input bytes it occupies.
  template <typename Skip>
  std::string convert(std::string_view input, std::string_view replacement, Skip skip) {
    std::string output;
    output.reserve(input.size() * 3 / 2);
    // iconv takes a non-const input pointer but never writes through it.
    char* in = const_cast<char*>(input.data());
    std::size_t inLeft = input.size();
    while (inLeft > 0) {
      char buffer[512];
      char* out = buffer;
      std::size_t outLeft = sizeof buffer;
      const std::size_t result = iconv(handle_, &in, &inLeft, &out, &outLeft);
      output.append(buffer, static_cast<std::size_t>(out - buffer));
      if (result != static_cast<std::size_t>(-1) || errno == E2BIG) continue;
      output += replacement;
      const std::size_t skipped = std::min(inLeft, std::max<std::size_t>(1, skip(std::string_view(in, inLeft))));
      in += skipped;
      inLeft -= skipped;
      iconv(handle_, nullptr, nullptr, nullptr, nullptr);
    }
    return output;
  }

 private:
  iconv_t handle_;
};

}  // namespace

bool TextCodec::isValidUtf8(std::string_view bytes) {
  while (!bytes.empty()) {
    const std::size_t length = utf8SequenceLength(bytes);
    if (length == 0) return false;
    bytes.remove_prefix(length);
  }
  return true;
}

bool TextCodec::isUtf8OfCjkText(std::string_view bytes) {
  while (!bytes.empty()) {
    const std::size_t length = utf8SequenceLength(bytes);
    if (length == 0 || (length > 1 && !isCjkOrPunctuation(codePointOf(bytes, length)))) return false;
    bytes.remove_prefix(length);
  }
  return true;
}

std::string TextCodec::gbkToUtf8(std::string_view gbk) {
  Converter converter(kUtf8, kGbk);
  return converter.convert(gbk, "\xEF\xBF\xBD", [](std::string_view) { return std::size_t{1}; });
}

std::string TextCodec::utf8ToGbk(std::string_view utf8) {
  Converter converter(kGbk, kUtf8);
  return converter.convert(utf8, "?", utf8SequenceLength);
}

Bytes TextCodec::toPrinterBytes(std::string_view utf8) { return bytesOf(utf8ToGbk(utf8)); }

std::optional<Bytes> TextCodec::toPrinterBytesExactly(std::string_view utf8) {
  bool convertible = true;
  Converter converter(kGbk, kUtf8);
  const std::string gbk = converter.convert(utf8, "", [&convertible](std::string_view rest) {
    convertible = false;
    return utf8SequenceLength(rest);
  });
  if (!convertible) return std::nullopt;
  return bytesOf(gbk);
}

std::string TextCodec::fromPrinterBytes(const Bytes& gbk) {
  return gbkToUtf8(std::string_view(reinterpret_cast<const char*>(gbk.data()), gbk.size()));
}

}  // namespace ombrel
