// The station's serial numbers: held by one printer, committed, given back
// to be the next, never again when their fate is unknown; carried over a
// killed station by the journal; one station per program directory.

#include "commands/serial_allocator.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <sstream>
#include <thread>

#include "commands/recipe_texts.h"
#include "settings/para_control_state.h"
#include "settings/temp_dir.h"

namespace ombrel {
namespace {

constexpr int kEnglish = 1;

ParaControlState serialControls(const std::string& serial, const std::string& direction) {
  ParaControlState controls;
  controls.setText("edt_DeviceSerialNo", serial);
  if (direction == "+") controls.setChecked("rb_Plus", true);
  if (direction == "-") controls.setChecked("rb_Minus", true);
  return controls;
}

// Runs a script of words on an allocator of a fresh directory and gives what
// they show, one word each: "t" takes (the number, or "none"), "c=N", "g=N"
// and "u=N" end N committed, given back or unknown, "next" is nextText(),
// "restart=S" kills the allocator (destroyed without ending what it holds)
// and starts another with DeviceSerialNo S, "abandoned" lists what that one
// found held ("abandoned:N,"), "second" starts another beside it ("locked").
std::string run(const char* journal, const char* serial, const char* direction, const std::string& script) {
  testing::TempDir dir;
  const std::string appDir = dir.path().string() + "/";
  if (journal != nullptr) testing::writeFile(dir / "serialnumbers.journal", journal);
  std::ostringstream shown;
  try {
    auto numbers = std::make_unique<SerialAllocator>(appDir, serialControls(serial, direction), kEnglish);
    std::istringstream words(script);
    for (std::string word; words >> word;) {
      const std::string argument = word.substr(word.find('=') + 1);
      const std::map<std::string, NumberEnd> ends{
          {"c", NumberEnd::Committed}, {"g", NumberEnd::GivenBack}, {"u", NumberEnd::Unknown}};
      if (const auto end = ends.find(word.substr(0, word.find('='))); end != ends.end()) {
        numbers->end(static_cast<std::uint32_t>(std::stoul(argument)), end->second);
      } else if (word == "t") {
        const auto taken = numbers->take();
        shown << (taken ? std::to_string(*taken) : "none") << ' ';
      } else if (word == "next") {
        shown << numbers->nextText() << ' ';
      } else if (word.starts_with("restart=")) {
        numbers.reset();
        numbers = std::make_unique<SerialAllocator>(appDir, serialControls(argument, direction), kEnglish);
      } else if (word == "abandoned") {
        shown << "abandoned:";
        for (const std::uint32_t lost : numbers->abandoned()) shown << lost << ',';
        shown << ' ';
      } else if (word == "second") {
        try {
          SerialAllocator second(appDir, serialControls(serial, direction), kEnglish);
          shown << "not-locked ";
        } catch (const StationLocked& locked) {
          shown << (locked.what() == stationLockedText(appDir, kEnglish) ? "locked " : "locked-wrong-text ");
        }
      }
    }
  } catch (const std::runtime_error& error) {
    const bool named = std::string(error.what()).find(appDir + "serialnumbers.journal") != std::string::npos;
    shown << (named ? "error-naming-journal " : "error ");
  }
  std::string text = shown.str();
  if (!text.empty()) text.pop_back();
  return text;
}

TEST(SerialAllocator, HandsOutEachNumberOnceAndGoesOnAfterAKill) {
  const struct {
    const char* name;
    const char* journal;
    const char* serial;
    const char* direction;
    const char* script;
    const char* shown;
  } cases[] = {
      {"fresh start up", nullptr, "0099", "+", "t t next", "99 100 101"},
      {"fresh start down", nullptr, "100", "-", "t t next", "100 99 98"},
      {"a given-back number is the next", nullptr, "100", "+", "t t g=100 next t t", "100 101 100 100 102"},
      {"given back in the steps' order", nullptr, "100", "-", "t t t g=98 g=100 t t t", "100 99 98 100 98 97"},
      {"committed and unknown never again", nullptr, "5", "+", "t t c=5 u=6 t g=5 t", "5 6 7 8"},
      {"killed: held abandoned, next goes on", nullptr, "100", "+", "t t c=100 restart=101 abandoned t",
       "100 101 abandoned:101, 102"},
      {"killed after the settings were saved", nullptr, "100", "+", "t g=100 t t restart=102 abandoned t t",
       "100 100 101 abandoned:100,101, 102 103"},
      {"killed holding a given-back number", nullptr, "100", "+", "t t g=100 restart=100 abandoned t t",
       "100 101 abandoned:101, 100 102"},
      {"the operator's new start", nullptr, "100", "+", "t c=100 restart=500 abandoned t", "100 abandoned: 500"},
      {"the journal of an earlier station", "next 42\ndirection +\ngiven-back 40\nheld 41\n", "42", "+",
       "abandoned t t", "abandoned:41, 40 42"},
      {"range end at 2147483647", nullptr, "2147483645", "+", "t t t g=2147483646 t t next",
       "2147483645 2147483646 none 2147483646 none 2147483647"},
      {"range end at 0", nullptr, "2", "-", "t t t next", "2 1 none 0"},
      {"second allocator locked, also after a restart", nullptr, "7", "+", "second restart=7 second", "locked locked"},
      {"damaged journal: a number", "next 1x\ndirection +\ngiven-back\nheld\n", "1", "+", "t", "error-naming-journal"},
      {"damaged journal: a line missing", "next 1\ndirection +\nheld\n", "1", "+", "t", "error-naming-journal"},
      {"damaged journal: held and given back", "next 3\ndirection +\ngiven-back 2\nheld 2\n", "3", "+", "t",
       "error-naming-journal"},
      {"damaged journal: an empty file", "", "1", "+", "t", "error-naming-journal"},
  };
  for (const auto& c : cases) EXPECT_EQ(run(c.journal, c.serial, c.direction, c.script), c.shown) << c.name;
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
