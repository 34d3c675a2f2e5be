#pragma once

// Saving a file so that it is replaced whole or not at all: the settings
// file, a memory read-back and the converted logo all go through here.

#include <sys/types.h>

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

// A content written anew again and again, piece by piece.
class PieceFile {
 public:
  virtual ~PieceFile() = default;
  // Starts a new content; false when it cannot be written.
  virtual bool begin() = 0;
  virtual void append(std::string_view bytes) = 0;
  // Puts the content in place; false when it could not all be written.
  virtual bool commit() = 0;
};

// A file whose content is written anew again and again, piece by piece (the
// trace of every task). Each content goes into a spare file beside it, which
// is then exchanged with the file in one step: a kill at any moment leaves
// the old content or the new one, whole. The spare keeps the content before
// and is written over the next time, since creating and removing a file each
// time, or renaming over the old one (which makes the file system write the
// new file out at once), costs many times more. Nothing is flushed to the
// disk. A symbolic link at `path` stays; the spare goes with the object.
class RewrittenFile final : public PieceFile {
 public:
  explicit RewrittenFile(const std::filesystem::path& path);
  ~RewrittenFile() override;
  RewrittenFile(const RewrittenFile&) = delete;
  RewrittenFile& operator=(const RewrittenFile&) = delete;

  // Starts a new content, dropping one that was not put in place. False when
  // no spare file can be written; the writes until the next begin() are then
  // lost and commit() fails.
  bool begin() override;
  void append(std::string_view bytes) override;
  // Puts the content in place; false, and the file left as it was, when the
  // content could not all be written or put in place.
  bool commit() override;

 private:
  std::filesystem::path target_;
  std::filesystem::path spare_;
  int fd_ = -1;
  off_t written_ = 0;
  bool failed_ = false;
};

}  // namespace ombrel
