#pragma once

// Saving a file so that it is replaced whole or not at all: the settings
// file, a memory read-back and the converted logo all go through here.

#include <filesystem>
#include <string_view>

#include "platform/bytes.h"

namespace ombrel {

// Writes `bytes` to a new temporary file beside `path` (hidden, named
// ".<name>.tmp<pid>_<n>"), flushes it to the disk, renames it over `path` and
// flushes the directory, so that a crash or a kill at any moment leaves
// either the old file or the new one, whole. A symbolic link at `path` stays
// and the file it points to is replaced; the new file keeps the old one's
// permission bits. Temporary files of `path` left by a process that no longer
// runs are removed first. When anything fails, `path` is left as it was, the
// temporary file is removed, and ECommonError says what failed.
void replaceFileWith(const std::filesystem::path& path, std::string_view bytes);
void replaceFileWith(const std::filesystem::path& path, const Bytes& bytes);

}  // namespace ombrel
