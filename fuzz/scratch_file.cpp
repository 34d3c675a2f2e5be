#include "scratch_file.h"

#include <stdlib.h>

#include <fstream>
#include <stdexcept>
#include <string>

namespace ombrel::fuzz {

namespace {

class ScratchDirectory {
 public:
  ScratchDirectory() {
    std::string pattern = (std::filesystem::temp_directory_path() / "ombrel-fuzz-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot create " + pattern);
    path_ = pattern;
  }
  ~ScratchDirectory() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  ScratchDirectory(const ScratchDirectory&) = delete;
  ScratchDirectory& operator=(const ScratchDirectory&) = delete;

  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace

std::filesystem::path writeScratchFile(const std::uint8_t* data, std::size_t size) {
  static const ScratchDirectory directory;
  const std::filesystem::path file = directory.path() / "input";
  std::ofstream stream(file, std::ios::binary | std::ios::trunc);
  stream.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  if (!stream.flush()) throw std::runtime_error("cannot write " + file.string());
  return file;
}

}  // namespace ombrel::fuzz
