#pragma once

// Every control of the parameters window that holds a value, one row each:
// its kind, items and the value the window starts with; the settings key
// that stores it, with the key's kind and default and whether it is saved;
// the length it takes (typed characters in the window, bytes of the
// printer's field) and the caption that names it in messages. The key table,
// the window's widgets with their typing limits, the payloads' byte limits
// and the command line's control state all derive from these rows.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "settings/para_controls.h"
#include "texts/item_texts.h"

namespace ombrel {

// How a settings key stores its control.
enum class KeyKind {
  Text,           // the control's text
  ListText,       // the chosen item's text; unmatched: no item
  ListFallback,   // as ListText, but unmatched text chooses the first item
  GroupIndex,     // a radio group's option index
  RadioSet,       // the index of the checked radio button of a set
  Boolean,        // a check box
  UpdateButtons,  // which update button shows; read only
};

struct ControlSpec {
  std::string name;
  ControlKind kind = ControlKind::Edit;
  std::string text;  // edits: initial text; lists: text shown with no item chosen
  int index = -1;    // lists and radio groups: the initially chosen item
  bool checked = false;
  std::vector<std::string> items;         // fixed items
  std::optional<ItemList> languageItems;  // items that follow the language
  std::string radioSet;                   // radios: the set they belong to
  std::size_t maxLength = 0;              // edits: 0 for no limit
  const char* caption = nullptr;          // edits: the label that names the box

  // The settings key; null for a control that no key stores. A radio set's
  // key is on its first button.
  const char* key = nullptr;
  KeyKind keyKind = KeyKind::Text;
  std::string keyDefault;  // text, list text or number as text
  int defaultItem = -1;    // lists whose default is an item of the current language
  bool saved = true;       // Flowcontrol and Updatafirmware are read only
};

// In the order the keys are read and written.
const std::vector<ControlSpec>& paraLayout();
const ControlSpec* findControl(std::string_view name);
// The row of a control that must exist; raises std::logic_error otherwise.
const ControlSpec& controlSpec(std::string_view name);

// The 53 code pages in list order.
const std::vector<std::string>& codePageItems();

}  // namespace ombrel
