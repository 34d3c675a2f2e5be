#pragma once

// Every control of the parameters window that holds a value, with its kind,
// items and the value the window starts with. The desktop window builds its
// widgets' initial state from it and the command line its control state.

#include <optional>
#include <string>
#include <vector>

#include "settings/para_controls.h"
#include "texts/item_texts.h"

namespace ombrel {

struct ControlSpec {
  std::string name;
  ControlKind kind = ControlKind::Edit;
  std::string text;  // edits: initial text; lists: text shown with no item chosen
  int index = -1;    // lists and radio groups: the initially chosen item
  bool checked = false;
  std::vector<std::string> items;         // fixed items
  std::optional<ItemList> languageItems;  // items that follow the language
  std::string radioSet;                   // radios: the set they belong to
};

const std::vector<ControlSpec>& paraLayout();
const ControlSpec* findControl(std::string_view name);

// The 53 code pages in list order.
const std::vector<std::string>& codePageItems();

}  // namespace ombrel
