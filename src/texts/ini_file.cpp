#include "texts/ini_file.h"

#include <fcntl.h>
#include <strings.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <utility>

#include "platform/errors.h"
#include "platform/file_replace.h"
#include "texts/ini_integer.h"
#include "texts/text_codec.h"

namespace ombrel {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// Without blanks at either end; a carriage return counts as one, for a last
// line that ends in one without a line feed.
std::string_view trimmed(std::string_view text) {
  constexpr std::string_view kBlanks = " \t\r";
  const auto first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(kBlanks);
  return text.substr(first, last - first + 1);
}

// An empty name ("[]") may have no characters at all, and strncasecmp must
// not be given a null pointer even for no characters.
bool sameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && (a.empty() || strncasecmp(a.data(), b.data(), a.size()) == 0);
}

std::string_view withoutQuotes(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

// How a value is written so that reading gives it back: reading drops the
// blanks around a value and one pair of enclosing quotes, so a value that
// would lose either goes inside double quotes, which reading (here and on
// Windows) takes off again.
std::string storedValue(const std::string& value) {
  if (withoutQuotes(trimmed(value)) == value) return value;
  return "\"" + value + "\"";
}

// A comment line that says the file is UTF-8 whatever its text, written into
// a UTF-8 file whose text would not be taken for UTF-8 (no byte-order mark,
// and characters other than CJK or punctuation).
constexpr std::string_view kUtf8Marker = "; \xE7\xBC\x96\xE7\xA0\x81: UTF-8";  // "; 编码: UTF-8"

// A comment whose GBK bytes are not UTF-8: a GBK file whose other bytes
// happen to be well-formed UTF-8 of CJK characters gets it, so that it is
// read back as GBK.
constexpr std::string_view kGbkMarker = "; \xB1\xE0\xC2\xEB: GBK";  // "; 编码: GBK"

bool holdsLine(std::string_view bytes, std::string_view line) {
  for (std::size_t at = bytes.find(line); at != std::string_view::npos; at = bytes.find(line, at + 1)) {
    const std::size_t end = at + line.size();
    const bool starts = at == 0 || bytes[at - 1] == '\n';
    const bool ends = end == bytes.size() || bytes[end] == '\r' || bytes[end] == '\n';
    if (starts && ends) return true;
  }
  return false;
}

// GBK is what the other system's files are, so a file is UTF-8 only when it
// says so (a byte-order mark or this program's marker) or when its non-ASCII
// text reads as Chinese in UTF-8. A file of plain ASCII is GBK: the bytes are
// the same, and writing it on as GBK keeps it readable where it came from.
bool holdsNonAscii(std::string_view bytes) {
  return std::any_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

bool readsAsUtf8(std::string_view bytes) {
  if (bytes.starts_with(kUtf8Bom) || holdsLine(bytes, kUtf8Marker)) return true;
  return holdsNonAscii(bytes) && TextCodec::isUtf8OfCjkText(bytes);
}

// The first kMaxValueLength characters of a UTF-8 text.
std::string_view limited(std::string_view text) {
  std::size_t characters = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool startsCharacter = (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80;
    if (startsCharacter && ++characters > IniFile::kMaxValueLength) return text.substr(0, i);
  }
  return text;
}

// The name without blanks around it; refused when reading could not find it
// again: empty, holding one of `forbidden`, or beginning with one of
// `forbiddenFirst` (a key line that begins with ";" is a comment).
std::string_view checkedName(std::string_view name, std::string_view forbidden, std::string_view forbiddenFirst = {}) {
  const std::string_view usable = trimmed(name);
  if (usable.empty() || usable.find_first_of(forbidden) != std::string_view::npos ||
      forbiddenFirst.find(usable.front()) != std::string_view::npos) {
    throw std::invalid_argument("Not a usable initialisation file name: \"" + std::string(name) + "\"");
  }
  return usable;
}

// The file's bytes; empty when it is missing or cannot be read.
std::string readWholeFile(const std::filesystem::path& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return {};
  std::string bytes;
  char buffer[8192];
  for (;;) {
    const ssize_t count = ::read(fd, buffer, sizeof buffer);
    if (count < 0 && errno == EINTR) continue;
    if (count < 0) bytes.clear();
    if (count <= 0) break;
    bytes.append(buffer, static_cast<std::size_t>(count));
  }
  ::close(fd);
  return bytes;
}

}  // namespace

IniFile::IniFile(std::filesystem::path path) : path_(std::move(path)) { parse(readWholeFile(path_)); }

void IniFile::parse(const std::string& bytes) {
  encoding_ = readsAsUtf8(bytes) ? Encoding::Utf8 : Encoding::Gbk;
  std::size_t start = 0;
  while (start < bytes.size()) {
    const std::size_t newline = bytes.find('\n', start);
    const std::size_t end = newline == std::string::npos ? bytes.size() : newline;
    Line line;
    line.raw = bytes.substr(start, end - start);
    if (newline != std::string::npos) {
      const bool crLf = line.raw.ends_with('\r');
      if (crLf) line.raw.pop_back();
      line.ending = crLf ? "\r\n" : "\n";
    }
    if (lines_.empty() && !line.ending.empty()) newLine_ = line.ending;

    std::string text = decode(line.raw);
    if (lines_.empty() && text.starts_with(kUtf8Bom)) text.erase(0, kUtf8Bom.size());
    const std::string_view content = trimmed(text);
    const std::size_t equals = content.find('=');
    if (content.starts_with(';')) {
      // A comment, kept as it stands.
    } else if (content.starts_with('[') && content.find(']') != std::string_view::npos) {
      line.kind = LineKind::Section;
      line.name = trimmed(content.substr(1, content.find(']') - 1));
    } else if (equals != std::string_view::npos && !trimmed(content.substr(0, equals)).empty()) {
      line.kind = LineKind::Key;
      line.name = trimmed(content.substr(0, equals));
      line.value = withoutQuotes(trimmed(content.substr(equals + 1)));
    }
    lines_.push_back(std::move(line));
    start = end + 1;
  }
}

std::string IniFile::decode(std::string_view raw) const {
  return encoding_ == Encoding::Utf8 ? std::string(raw) : TextCodec::gbkToUtf8(raw);
}

std::string IniFile::encode(std::string_view text) const {
  return encoding_ == Encoding::Utf8 ? std::string(text) : TextCodec::utf8ToGbk(text);
}

std::size_t IniFile::findSection(std::string_view section) const {
  const std::string_view wanted = trimmed(section);
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    if (lines_[i].kind == LineKind::Section && sameName(lines_[i].name, wanted)) return i;
  }
  return kNotFound;
}

std::size_t IniFile::sectionEnd(std::size_t header) const {
  std::size_t i = header + 1;
  while (i < lines_.size() && lines_[i].kind != LineKind::Section) ++i;
  return i;
}

std::size_t IniFile::findKey(std::string_view section, std::string_view key) const {
  const std::size_t header = findSection(section);
  if (header == kNotFound) return kNotFound;
  const std::string_view wanted = trimmed(key);
  const std::size_t end = sectionEnd(header);
  for (std::size_t i = header + 1; i < end; ++i) {
    if (lines_[i].kind == LineKind::Key && sameName(lines_[i].name, wanted)) return i;
  }
  return kNotFound;
}

std::string IniFile::readString(std::string_view section, std::string_view key, std::string_view defaultValue) const {
  const std::size_t line = findKey(section, key);
  return std::string(limited(line == kNotFound ? defaultValue : std::string_view(lines_[line].value)));
}

std::int32_t IniFile::readInteger(std::string_view section, std::string_view key, std::int32_t defaultValue) const {
  const std::size_t line = findKey(section, key);
  if (line == kNotFound) return defaultValue;
  return iniInteger(limited(lines_[line].value)).value_or(defaultValue);
}

bool IniFile::readBool(std::string_view section, std::string_view key, bool defaultValue) const {
  return readInteger(section, key, defaultValue ? 1 : 0) != 0;
}

void IniFile::insertLine(std::size_t position, LineKind kind, std::string name) {
  if (position > 0 && lines_[position - 1].ending.empty()) lines_[position - 1].ending = newLine_;
  Line line{.raw = kind == LineKind::Section ? encode("[" + name + "]") : std::string(),
            .ending = newLine_,
            .kind = kind,
            .name = std::move(name),
            .value = {}};
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(position), std::move(line));
}

void IniFile::writeString(std::string_view section, std::string_view key, std::string_view value) {
  const std::string sectionName(checkedName(section, "]\r\n"));
  const std::string keyName(checkedName(key, "=[]\r\n", ";"));
  std::string text(value);
  for (char& c : text) {
    if (c == '\r' || c == '\n') c = ' ';
  }

  std::size_t line = findKey(sectionName, keyName);
  if (line == kNotFound) {
    std::size_t header = findSection(sectionName);
    if (header == kNotFound) {
      header = lines_.size();
      insertLine(header, LineKind::Section, sectionName);
    }
    // After the section's last non-blank line, so that blank lines before
    // the next section stay where they are.
    line = sectionEnd(header);
    while (line > header + 1 && trimmed(lines_[line - 1].raw).empty()) --line;
    insertLine(line, LineKind::Key, keyName);
  }
  const std::string stored = storedValue(text);
  lines_[line].value = withoutQuotes(trimmed(stored));
  lines_[line].raw = encode(lines_[line].name + "=" + stored);
}

void IniFile::writeInteger(std::string_view section, std::string_view key, std::int32_t value) {
  writeString(section, key, std::to_string(value));
}

void IniFile::writeBool(std::string_view section, std::string_view key, bool value) {
  writeString(section, key, value ? "1" : "0");
}

std::vector<std::string> IniFile::sections() const {
  std::vector<std::string> names;
  for (std::size_t i = 0; i < lines_.size(); ++i) {
    if (lines_[i].kind == LineKind::Section && findSection(lines_[i].name) == i) names.push_back(lines_[i].name);
  }
  return names;
}

std::vector<std::string> IniFile::keys(std::string_view section) const {
  std::vector<std::string> names;
  const std::size_t header = findSection(section);
  if (header == kNotFound) return names;
  const std::size_t end = sectionEnd(header);
  for (std::size_t i = header + 1; i < end; ++i) {
    if (lines_[i].kind == LineKind::Key) names.push_back(lines_[i].name);
  }
  return names;
}

void IniFile::save() const {
  std::string bytes;
  for (const Line& line : lines_) bytes += line.raw + line.ending;
  // A saved file is read back in the encoding it was read in (plain ASCII
  // reads the same in both).
  const bool misread = encoding_ == Encoding::Gbk ? readsAsUtf8(bytes) : holdsNonAscii(bytes) && !readsAsUtf8(bytes);
  if (misread) {
    if (!lines_.empty() && lines_.back().ending.empty()) bytes += newLine_;
    bytes += std::string(encoding_ == Encoding::Gbk ? kGbkMarker : kUtf8Marker) + newLine_;
  }
  try {
    replaceFileWith(path_, bytes);
  } catch (const ECommonError&) {
    throw EIniWriteError("Unable to write to " + path_.string());
  }
}

}  // namespace ombrel
