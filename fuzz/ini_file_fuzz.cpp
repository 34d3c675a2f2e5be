// The initialisation file reader and writer. The input up to its first NUL is
// the file; after it, "section NUL key NUL value" names one more value to
// write. Every value read is written back as it was read, the extra value is
// written, and the file is saved and read again: every value must read the
// same as before the save, and each value written must read back as written
// (when the file's encoding can hold it).

#include <algorithm>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "fuzz_check.h"
#include "scratch_file.h"
#include "texts/ini_file.h"
#include "texts/text_codec.h"

namespace {

using ombrel::IniFile;
using ombrel::TextCodec;

using Values = std::vector<std::tuple<std::string, std::string, std::string>>;

Values allValues(const IniFile& file) {
  Values values;
  for (const std::string& section : file.sections()) {
    for (const std::string& key : file.keys(section)) {
      values.emplace_back(section, key, file.readString(section, key, "\x01missing"));
    }
  }
  return values;
}

// Whether the file can store `value` unchanged: GBK files hold only what GBK
// can, and a UTF-8 file only well-formed UTF-8.
bool storable(const IniFile& file, std::string_view value) {
  if (!TextCodec::isValidUtf8(value)) return false;
  return file.encoding() == IniFile::Encoding::Utf8 || TextCodec::toPrinterBytesExactly(value).has_value();
}

// Writes `value` and checks that it reads back as written; names the writer
// refuses are left alone.
void writeAndCheck(IniFile& file, const std::string& section, const std::string& key, const std::string& value) {
  if (!storable(file, section) || !storable(file, key) || !storable(file, value)) return;
  if (value.find_first_of("\r\n") != std::string::npos || value.size() > IniFile::kMaxValueLength) return;
  try {
    file.writeString(section, key, value);
  } catch (const std::invalid_argument&) {
    return;
  }
  FUZZ_CHECK(file.readString(section, key, "\x01missing") == value);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  const std::size_t fileEnd = std::min(input.find('\0'), input.size());
  IniFile file(ombrel::fuzz::writeScratchFile(data, fileEnd));

  for (const auto& [section, key, value] : allValues(file)) writeAndCheck(file, section, key, value);
  if (fileEnd < input.size()) {
    std::vector<std::string> parts;
    std::size_t start = fileEnd + 1;
    while (parts.size() < 3) {
      const std::size_t end = std::min(input.find('\0', start), input.size());
      parts.push_back(input.substr(std::min(start, input.size()), end - std::min(start, input.size())));
      start = end + 1;
    }
    writeAndCheck(file, parts[0], parts[1], parts[2]);
  }

  const Values before = allValues(file);
  file.save();
  const IniFile again(file.path());
  FUZZ_CHECK(allValues(again) == before);
  return 0;
}
