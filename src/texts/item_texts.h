#pragma once

// The option texts of the twelve lists that the windows fill from the
// current language: one language-file section per list, keys "0", "1", ...
// Built-in texts are Chinese; a language file may replace them while another
// thread reads them, so every access is guarded.

#include <array>
#include <cstddef>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace ombrel {

// In the order in which the language file is applied.
enum class ItemList {
  BluetoothSeek,      // Cbx_Bluetooth
  BluetoothMode,      // rg_lyMode
  BluetoothPswCheck,  // rg_lyPswcheck
  FlowControl,        // cbb_Flowcontrol
  Dark,               // cbb_Dark
  BluetoothWorkMode,  // cbb_lyWorkMode
  CheckMode,          // RadioGroup1
  IrdaProtocol,       // cbb_irdaProtecl
  UsbDeviceType,      // cbb_UsbDeviceTpe
  PaperType,          // cbb_PaperType
  PrinterOrder,       // cbb_PrinterOrder
  TransMode,          // lbl_TranMsg of the main window, by checked transport
};

inline constexpr std::array<ItemList, 12> kAllItemLists = {
    ItemList::BluetoothSeek, ItemList::BluetoothMode,     ItemList::BluetoothPswCheck, ItemList::FlowControl,
    ItemList::Dark,          ItemList::BluetoothWorkMode, ItemList::CheckMode,         ItemList::IrdaProtocol,
    ItemList::UsbDeviceType, ItemList::PaperType,         ItemList::PrinterOrder,      ItemList::TransMode,
};

class ItemTexts {
 public:
  ItemTexts();

  // The language-file section of a list, e.g. "Dark description".
  static std::string_view sectionName(ItemList list);
  // The fixed number of items of a list.
  static std::size_t itemCount(ItemList list);

  // The current texts of a list, in index order.
  std::vector<std::string> items(ItemList list) const;
  // The current text of one item; empty when `index` is out of range.
  std::string item(ItemList list, std::size_t index) const;
  // Replaces one item's text; returns false (and changes nothing) when
  // `index` is out of range.
  bool setItem(ItemList list, std::size_t index, std::string text);

  // Stored list texts are the visible texts of one language. These are the
  // texts of every language known, the built-in ones first: a stored text of
  // another language still names its item.
  void addKnownItem(ItemList list, std::size_t index, const std::string& text);
  // The position of the first item of `list` that reads `text` in a known
  // language, or -1.
  int knownPosition(ItemList list, std::string_view text) const;

 private:
  mutable std::mutex mutex_;
  std::array<std::vector<std::string>, kAllItemLists.size()> lists_;
  // Per list, one vector of texts per item.
  std::array<std::vector<std::vector<std::string>>, kAllItemLists.size()> known_;
};

// The one table that the windows, the command line and the engine share.
ItemTexts& itemTexts();

}  // namespace ombrel
