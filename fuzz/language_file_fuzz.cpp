// The language file reader: any file applies without fault, and applying the
// same file a second time changes nothing more.

#include <cstdint>
#include <vector>

#include "fuzz_check.h"
#include "scratch_file.h"
#include "texts/fake_window.h"
#include "texts/language_file.h"

namespace {

using ombrel::ItemList;
using ombrel::ItemTexts;
using ombrel::MessageTexts;
using ombrel::testing::FakeWindow;

struct Texts {
  FakeWindow main{"FrmMain", "Setting tool"};
  FakeWindow para{"FrmPara", "Parameters"};
  ItemTexts items;
  MessageTexts messages;

  Texts() {
    main.add("btn_Test", "Test", "Test the link");
    main.add("lbl_Port", "Port");
    para.add("btn_SetCodepage", "Set", "Send the code page");
  }
  void apply(const std::filesystem::path& file) { ombrel::applyLanguageFile(file, {&main, &para}, items, messages); }
  int sets() const {
    return main.captionSets() + para.captionSets() + main.control("btn_Test").sets + main.control("lbl_Port").sets +
           para.control("btn_SetCodepage").sets;
  }
  std::vector<std::vector<std::string>> itemLists() const {
    std::vector<std::vector<std::string>> lists;
    for (ItemList list : ombrel::kAllItemLists) lists.push_back(items.items(list));
    return lists;
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto file = ombrel::fuzz::writeScratchFile(data, size);
  Texts texts;
  texts.apply(file);
  const int sets = texts.sets();
  const auto lists = texts.itemLists();
  const auto messages = texts.messages.all();
  texts.apply(file);
  FUZZ_CHECK(texts.sets() == sets);
  FUZZ_CHECK(texts.itemLists() == lists);
  FUZZ_CHECK(texts.messages.all() == messages);
  return 0;
}
