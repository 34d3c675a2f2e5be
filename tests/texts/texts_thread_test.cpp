// Language files are applied on the window thread while the worker thread
// reads message texts for its status reports: every read sees a whole text.

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "settings/temp_dir.h"
#include "texts/language_file.h"

namespace ombrel {
namespace {

TEST(TextTablesAcrossThreads, ReadersSeeWholeTextsWhileALanguageIsApplied) {
  testing::TempDir dir;
  testing::writeFile(dir / "English.lng", "[String]\nsMsg17=Code page set\n[Printer Order]\n0=Reverse order\n");
  ItemTexts items;
  MessageTexts messages;
  std::atomic<bool> done{false};
  std::atomic<int> unexpected{0};

  std::thread reader([&] {
    while (!done.load()) {
      const std::string message = messages.text("sMsg17");
      const std::string item = items.item(ItemList::PrinterOrder, 0);
      if (message != "设置代码页成功" && message != "Code page set") ++unexpected;
      if (item != "倒序" && item != "Reverse order") ++unexpected;
    }
  });
  for (int i = 0; i < 20; ++i) {
    applyLanguage(1, {dir.path()}, {}, items, messages);
    messages.setText("sMsg17", "设置代码页成功");
    items.setItem(ItemList::PrinterOrder, 0, "倒序");
  }
  done = true;
  reader.join();
  EXPECT_EQ(unexpected.load(), 0);
}

}  // namespace
}  // namespace ombrel
