// The station's serial numbers: held by one printer, committed, given back
// to be the next, never again when their fate is unknown; carried over a
// killed station by the journal; one station per program directory.

#include "commands/serial_allocator.h"

#include <gtest/gtest.h>

#include <set>
#include <thread>

#include "commands/allocator_script.h"
#include "commands/recipe_texts.h"
#include "settings/temp_dir.h"

namespace ombrel {
namespace {

constexpr int kEnglish = 1;

using testing::runAllocatorScript;
using testing::serialControls;

// The rules both stores share run in the line's tests against each; these
// need the station's own journal: one it found, or one it cannot read.
TEST(SerialAllocator, TheJournalItFindsOrCannotReadDecides) {
  const struct {
    const char* name;
    const char* journal;
    const char* serial;
    const char* script;
    const char* shown;
  } cases[] = {
      {"the operator's new start", nullptr, "100", "t c=100 restart=500 abandoned t", "100 abandoned: 500"},
      {"the journal of an earlier station", "next 42\ndirection +\ngiven-back 40\nheld 41\n", "42", "abandoned t t",
       "abandoned:41, 40 42"},
      {"damaged journal: a number", "next 1x\ndirection +\ngiven-back\nheld\n", "1", "t", "error-naming-journal"},
      {"damaged journal: a line missing", "next 1\ndirection +\nheld\n", "1", "t", "error-naming-journal"},
      {"damaged journal: held and given back", "next 3\ndirection +\ngiven-back 2\nheld 2\n", "3", "t",
       "error-naming-journal"},
      {"damaged journal: an empty file", "", "1", "t", "error-naming-journal"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(runAllocatorScript(std::nullopt, c.journal, c.serial, "+", c.script), c.shown) << c.name;
}

TEST(SerialAllocator, RefusesToStartWithoutANumberToStepInRange) {
  const struct {
    const char* serial;
    const char* direction;
    std::optional<std::string> refusal;
  } cases[] = {
      {"", "+", serialNumberEmptyText(kEnglish)},
      {"12a", "+", serialNumberNotANumberText("12a", kEnglish)},
      {"-1", "-", serialNumberNotANumberText("-1", kEnglish)},
      {"7", "", serialDirectionMissingText(kEnglish)},
      {"2147483648", "-", serialNumberLeavesRangeText("2147483648", kEnglish)},
      {"99999999999999999999999", "-", serialNumberLeavesRangeText("99999999999999999999999", kEnglish)},
      {"2147483647", "+", serialNumberLeavesRangeText("2147483647", kEnglish)},
      {"0", "-", serialNumberLeavesRangeText("0", kEnglish)},
      {"2147483647", "-", std::nullopt},
      {"0", "+", std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(serialNumberRefusal(serialControls(c.serial, c.direction), kEnglish), c.refusal) << c.serial;
  }
}

TEST(SerialAllocator, ThreadsTakingAtOnceGetDistinctNumbers) {
  testing::TempDir dir;
  SerialAllocator numbers(dir.path().string() + "/", serialControls("1000", "+"), kEnglish);
  constexpr int kThreads = 4;
  constexpr int kTakes = 25;
  std::vector<std::vector<std::uint32_t>> taken(kThreads);
  std::vector<std::thread> threads;
  for (auto& mine : taken) {
    threads.emplace_back([&numbers, &mine] {
      for (int i = 0; i < kTakes; ++i) {
        const std::uint32_t number = *numbers.take();
        mine.push_back(number);
        if (number % 3 == 0) numbers.end(number, NumberEnd::Committed);
      }
    });
  }
  for (auto& thread : threads) thread.join();
  std::set<std::uint32_t> all;
  for (const auto& mine : taken) all.insert(mine.begin(), mine.end());
  EXPECT_EQ(all.size(), std::size_t{kThreads * kTakes});
  EXPECT_EQ(*all.begin(), 1000u);
  EXPECT_EQ(*all.rbegin(), 1000u + kThreads * kTakes - 1);
}

}  // namespace
}  // namespace ombrel
