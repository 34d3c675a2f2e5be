#include "texts/item_texts.h"

#include <algorithm>
#include <utility>

namespace ombrel {

namespace {

struct BuiltInList {
  std::string_view section;
  std::vector<std::string> items;
};

// Indexed by ItemList.
const std::array<BuiltInList, kAllItemLists.size()>& builtInLists() {
  static const std::array<BuiltInList, kAllItemLists.size()> lists = {{
      {"Bluetooth SEEK", {"开启蓝牙隐身", "取消蓝牙隐身"}},
      {"Blue ToolthMode", {"未安装蓝牙", "单模蓝牙", "双模蓝牙"}},
      // The third entry repeats the second on purpose: options 1 and 2
      // of the password check read alike.
      {"Blue PSWCheck", {"需要密码鉴权", "需要密码鉴权（****）", "不需要密码鉴权"}},
      {"Flow control", {"软件流控", "硬件流控"}},
      {"Dark description", {"微淡", "正常", "微浓", "高浓度"}},
      {"BlueToolth WorkMode", {"高速模式", "正常模式"}},
      {"Check Mode", {"开放系统", "共享系统", "WPA-PSK", "WAP2-PSK"}},
      {"irda Protecl", {"原始红外", "IRDA"}},
      {"USB Device Type", {"USB虚拟串口", "USB打印口"}},
      {"Paper Type", {"热敏票据纸", "热敏标签纸"}},
      {"Printer Order", {"倒序", "正序"}},
      {"Trans Mode", {"当前选择串口", "当前选择以太网", "当前选择USB", "当前选择并口"}},
  }};
  return lists;
}

std::size_t position(ItemList list) { return static_cast<std::size_t>(list); }

}  // namespace

ItemTexts::ItemTexts() {
  for (ItemList list : kAllItemLists) {
    lists_[position(list)] = builtInLists()[position(list)].items;
    for (const std::string& text : lists_[position(list)]) known_[position(list)].push_back({text});
  }
}

std::string_view ItemTexts::sectionName(ItemList list) { return builtInLists()[position(list)].section; }

std::size_t ItemTexts::itemCount(ItemList list) { return builtInLists()[position(list)].items.size(); }

std::vector<std::string> ItemTexts::items(ItemList list) const {
  std::lock_guard lock(mutex_);
  return lists_[position(list)];
}

std::string ItemTexts::item(ItemList list, std::size_t index) const {
  std::lock_guard lock(mutex_);
  const auto& texts = lists_[position(list)];
  return index < texts.size() ? texts[index] : std::string();
}

bool ItemTexts::setItem(ItemList list, std::size_t index, std::string text) {
  std::lock_guard lock(mutex_);
  auto& texts = lists_[position(list)];
  if (index >= texts.size()) return false;
  texts[index] = std::move(text);
  return true;
}

void ItemTexts::addKnownItem(ItemList list, std::size_t index, const std::string& text) {
  std::lock_guard lock(mutex_);
  auto& known = known_[position(list)];
  if (index >= known.size() || text.empty()) return;
  if (std::find(known[index].begin(), known[index].end(), text) == known[index].end()) known[index].push_back(text);
}

int ItemTexts::knownPosition(ItemList list, std::string_view text) const {
  std::lock_guard lock(mutex_);
  const auto& known = known_[position(list)];
  for (std::size_t i = 0; i < known.size(); ++i) {
    if (std::find(known[i].begin(), known[i].end(), text) != known[i].end()) return static_cast<int>(i);
  }
  return -1;
}

ItemTexts& itemTexts() {
  static ItemTexts table;
  return table;
}

}  // namespace ombrel
