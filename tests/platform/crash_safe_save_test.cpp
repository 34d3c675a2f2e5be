// A process killed at a random moment while it saves a file leaves the old
// file or the new one, whole, and never none. A forked child saves the file
// over and over with two large contents in turn; the parent kills it after a
// random few milliseconds and reads what is there.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <thread>

#include "platform/file_replace.h"
#include "settings/temp_dir.h"
#include "texts/ini_file.h"

namespace ombrel {
namespace {

using testing::readFile;
using testing::TempDir;

// Saves content A (index 0) or B (index 1) to the file.
using Savers = std::array<std::function<void()>, 2>;

// The settings file: 128 values of 2000 characters each, about 256 KB.
Savers settingsFileSavers(const std::filesystem::path& path) {
  auto a = std::make_shared<IniFile>(path);
  for (int key = 0; key < 128; ++key) a->writeString("Big", "k" + std::to_string(key), std::string(2000, 'a'));
  a->save();
  auto b = std::make_shared<IniFile>(path);
  for (int key = 0; key < 128; ++key) b->writeString("Big", "k" + std::to_string(key), std::string(2000, 'b'));
  return {[a] { a->save(); }, [b] { b->save(); }};
}

// A read-back file or the converted logo: raw bytes, 256 KB.
Savers replacedFileSavers(const std::filesystem::path& path) {
  Bytes a(256 * 1024), b(256 * 1024);
  for (std::size_t i = 0; i < a.size(); ++i) {
    a[i] = static_cast<std::uint8_t>(i);
    b[i] = static_cast<std::uint8_t>(~i);
  }
  return {[path, a] { replaceFileWith(path, a); }, [path, b] { replaceFileWith(path, b); }};
}

// The task trace: 256 KB written in pieces as it comes, then put in place.
Savers rewrittenFileSavers(const std::filesystem::path& path) {
  const auto save = [path](char letter) {
    RewrittenFile file(path);
    file.begin();
    for (int piece = 0; piece < 4; ++piece) file.append(std::string(64 * 1024, letter));
    file.commit();
  };
  return {[save] { save('a'); }, [save] { save('b'); }};
}

std::size_t entriesIn(const std::filesystem::path& directory) {
  std::size_t count = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(directory)) ++count;
  return count;
}

struct FileKind {
  const char* name;
  const char* fileName;
  std::function<Savers(const std::filesystem::path&)> makeSavers;
};

class CrashSafeSave : public ::testing::TestWithParam<FileKind> {};

// A kill loses nothing the page cache holds, so a memory file system sees
// the same files as a disk; it only spares a hundred disk flushes.
std::filesystem::path scratchParent() {
  const std::filesystem::path memory("/dev/shm");
  return ::access(memory.c_str(), W_OK) == 0 ? memory : std::filesystem::temp_directory_path();
}

TEST_P(CrashSafeSave, AKillAtAnyMomentLeavesTheOldOrTheNewFileWhole) {
  constexpr int kKills = 100;
  // Where a save spends most of its time before its file exists (formatting
  // a settings file), few kills land inside the write: go on until one has.
  constexpr int kMostKills = 1000;
  TempDir dir(scratchParent());
  const std::filesystem::path path = dir / GetParam().fileName;
  const Savers save = GetParam().makeSavers(path);
  save[1]();
  const std::string contentB = readFile(path);
  const auto saveStart = std::chrono::steady_clock::now();
  save[0]();
  const auto saveTime = std::chrono::steady_clock::now() - saveStart;
  const std::string contentA = readFile(path);
  ASSERT_NE(contentA, contentB);

  const unsigned seed = std::random_device{}();
  SCOPED_TRACE("seed " + std::to_string(seed));
  std::mt19937 random(seed);
  // Up to twice as long as one save takes on this disk, so that most kills
  // land inside a save, at any point of it.
  const auto longestDelay = std::chrono::duration_cast<std::chrono::microseconds>(saveTime * 2).count();
  std::uniform_int_distribution<std::int64_t> delayMicroseconds(0, longestDelay);
  int killedMidSave = 0;
  for (int kill = 0; kill < kKills || (killedMidSave == 0 && kill < kMostKills); ++kill) {
    int started[2];
    ASSERT_EQ(::pipe(started), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      try {
        ::close(started[0]);
        ::close(started[1]);
        for (unsigned turn = 1;; ++turn) save[turn % 2]();
      } catch (...) {
        ::_exit(1);
      }
    }
    // The pipe's end closes once the child runs: the delay counts from there.
    ::close(started[1]);
    char ignored = 0;
    ASSERT_EQ(::read(started[0], &ignored, 1), 0);
    ::close(started[0]);
    std::this_thread::sleep_for(std::chrono::microseconds(delayMicroseconds(random)));
    ::kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the saving child stopped by itself";

    ASSERT_TRUE(std::filesystem::exists(path)) << "after kill " << kill;
    const std::string content = readFile(path);
    ASSERT_TRUE(content == contentA || content == contentB)
        << "after kill " << kill << ": " << content.size() << " bytes, neither A nor B";
    if (entriesIn(dir.path()) > 1) ++killedMidSave;
  }
  // Only kills that hit a save half-way prove anything.
  EXPECT_GT(killedMidSave, 0);

  // The next save takes the killed writers' temporary files away.
  save[0]();
  EXPECT_EQ(readFile(path), contentA);
  EXPECT_EQ(entriesIn(dir.path()), 1u);
}

INSTANTIATE_TEST_SUITE_P(FileKinds, CrashSafeSave,
                         ::testing::Values(FileKind{"SettingsFile", "sysconfig.ini", settingsFileSavers},
                                           FileKind{"ReplacedFile", "back.hex", replacedFileSavers},
                                           FileKind{"RewrittenFile", "debug.log", rewrittenFileSavers}),
                         [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace ombrel
