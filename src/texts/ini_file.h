#pragma once

// Initialisation files (sysconfig.ini, the .lng language files) with the
// Windows profile rules that stored files rely on:
// - "[section]" lines open sections, "key=value" lines hold values; blanks
//   around names and values are dropped, and a value enclosed in matching
//   single or double quotes loses them. Other lines (";" comments, blank
//   lines) are kept but never match.
// - Section and key names are compared without regard to ASCII case; the
//   first section and the first key of a name win.
// - Every read takes a default, returned when the file, section or key is
//   missing (or, for numbers, when the text is not a number).
// - Values are read up to 2047 characters; longer ones are cut there.
//
// Encoding: the stored files are 8-bit text in GBK (code page 936), as the
// Windows machines that share them write it. A file is read and written as
// UTF-8 only when it begins with a byte-order mark, holds this program's
// UTF-8 marker line, or when its non-ASCII text decodes as UTF-8 into CJK,
// fullwidth and punctuation characters only (GBK bytes can happen to be
// well-formed UTF-8, but then decode into other letters); every other file,
// a new one or one of plain ASCII included, is read and written as GBK
// (characters GBK cannot hold are written as '?'). Names
// and values are UTF-8 inside the program. Lines that were not changed are
// written back byte for byte, line ends included; new lines take the line
// end of the file's first line, "\r\n" in a new file.
//
// An IniFile is a plain value: use one from one thread at a time.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace ombrel {

// The file could not be written; the text is "Unable to write to <path>".
class EIniWriteError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class IniFile {
 public:
  enum class Encoding { Utf8, Gbk };
  static constexpr std::size_t kMaxValueLength = 2047;

  // Reads `path`; a missing or unreadable file gives an empty one, which
  // save() creates.
  explicit IniFile(std::filesystem::path path);

  const std::filesystem::path& path() const { return path_; }
  Encoding encoding() const { return encoding_; }

  std::string readString(std::string_view section, std::string_view key, std::string_view defaultValue) const;
  // Decimal, "$" hex or "0x" hex, with an optional sign; hex texts of up to
  // eight digits are 32-bit patterns ("$FFFFFFFF" is -1).
  std::int32_t readInteger(std::string_view section, std::string_view key, std::int32_t defaultValue) const;
  // An integer; non-zero is true.
  bool readBool(std::string_view section, std::string_view key, bool defaultValue) const;

  // Replaces the first value of `key` in place, or appends the key at the end
  // of its section, or appends the section at the end of the file. Line
  // breaks in `value` become blanks, so a value can never add lines. A value
  // that reading would change (blanks around it, enclosing quotes) is stored
  // inside double quotes, so it reads back as written. Names
  // that could not be read back (empty, with a line break, "=", "[" or "]"
  // in a key, a key beginning with ";", "]" in a section) raise
  // std::invalid_argument.
  void writeString(std::string_view section, std::string_view key, std::string_view value);
  void writeInteger(std::string_view section, std::string_view key, std::int32_t value);
  // Written as "1" or "0".
  void writeBool(std::string_view section, std::string_view key, bool value);

  // Section names in file order, each once.
  std::vector<std::string> sections() const;
  // Key names of a section in file order.
  std::vector<std::string> keys(std::string_view section) const;

  // Replaces the file whole through replaceFileWith, so a crash leaves the
  // old file or the new one, never a part. Raises EIniWriteError when the
  // file cannot be written. A saved file keeps its encoding: a GBK file whose
  // bytes would pass for UTF-8 gets a last comment line whose bytes do not,
  // and a UTF-8 file whose text would pass for GBK gets the UTF-8 marker.
  void save() const;

 private:
  enum class LineKind { Other, Section, Key };
  struct Line {
    std::string raw;     // bytes as stored, without the line end
    std::string ending;  // "\r\n", "\n", or empty on a last line without one
    LineKind kind = LineKind::Other;
    std::string name;   // section or key name, UTF-8
    std::string value;  // key value, UTF-8
  };
  static constexpr std::size_t kNotFound = static_cast<std::size_t>(-1);

  void parse(const std::string& bytes);
  std::string decode(std::string_view raw) const;
  std::string encode(std::string_view text) const;
  std::size_t findSection(std::string_view section) const;
  std::size_t sectionEnd(std::size_t header) const;
  std::size_t findKey(std::string_view section, std::string_view key) const;
  void insertLine(std::size_t position, LineKind kind, std::string name);

  std::filesystem::path path_;
  Encoding encoding_ = Encoding::Gbk;
  std::string newLine_ = "\r\n";
  std::vector<Line> lines_;
};

}  // namespace ombrel
