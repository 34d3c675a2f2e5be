#pragma once

// Saving a file so that it is replaced whole or not at all.

#include <string>

#include "platform/bytes.h"

namespace ombrel {

// Writes `bytes` to a temporary file beside `path`, then renames it over
// `path`. When anything fails, `path` is left as it was, the temporary file
// is removed, and ECommonError says what failed.
void replaceFileWith(const std::string& path, const Bytes& bytes);

}  // namespace ombrel
