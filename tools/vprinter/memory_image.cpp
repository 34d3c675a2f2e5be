#include "memory_image.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "printer_model.h"

namespace ombrel::vprinter {

Bytes initialMemory(std::optional<std::size_t> size, const std::string& file) {
  Bytes content;
  if (!file.empty()) {
    std::ifstream in(file, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read memory file " + file);
    content.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (in.bad()) throw std::runtime_error("cannot read memory file " + file);
  }
  const std::size_t memorySize = size.value_or(std::max(kDefaultMemorySize, content.size()));
  if (content.size() > memorySize) {
    throw std::runtime_error("memory file " + file + " holds " + std::to_string(content.size()) +
                             " bytes, more than the memory size " + std::to_string(memorySize));
  }
  Bytes memory = patternMemory(memorySize);
  std::copy(content.begin(), content.end(), memory.begin());
  return memory;
}

}  // namespace ombrel::vprinter
