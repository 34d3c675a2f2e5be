#pragma once

// Every control of the parameters window that holds a value, one row each:
// its kind, items (with the value the printer gets for each) and the value
// the window starts with; the settings key that stores it, with the key's
// kind and default and whether it is saved; the length it takes (typed
// characters in the window, bytes of the printer's field), what may be typed
// into it, the range of its number, whether it can be changed, the check made
// on leaving it or on Enter, and the caption that names it in messages. The
// key table, the window's widgets with their typing limits and checks, the
// payloads' byte limits and item values, the command line's control state
// and its address checks all derive from these rows.

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

// What the operator can type into a box.
enum class Typing {
  Any,
  Digits,    // 0 to 9
  Address,   // the digits and "."
  Password,  // any character, shown hidden
};

// The check a box makes of the operator's text.
enum class BoxCheck {
  None,
  // On leaving it: the system's IPv4 parser reads the text, or the row's
  // warning is shown and the focus goes back.
  AddressOnLeave,
  // On Enter: a whole number within the row's range; outside it the box is
  // emptied, and a text that is no number is reported.
  RangeOnEnter,
};

// The smallest and largest number a box or slider takes.
struct NumberRange {
  int minimum = 0;
  int maximum = 0;
};

struct ControlSpec {
  std::string name;
  ControlKind kind = ControlKind::Edit;
  std::string text;  // edits: initial text; lists: text shown with no item chosen
  int index = -1;    // lists and radio groups: the initially chosen item
  bool checked = false;
  std::vector<std::string> items;         // fixed items
  std::optional<ItemList> languageItems;  // items that follow the language
  std::vector<int> itemValues;            // lists and radio groups: what the printer gets for each item
  std::string radioSet;                   // radios: the set they belong to
  std::size_t maxLength = 0;              // edits: 0 for no limit
  const char* caption = nullptr;          // edits: the label that names the box
  Typing typing = Typing::Any;            // edits
  std::optional<NumberRange> range;       // edits and sliders holding a number
  bool readOnly = false;                  // edits: shown, changed only through the settings file
  bool enabled = true;                    // false: shown, never operated
  BoxCheck check = BoxCheck::None;        // edits
  const char* checkWarning = nullptr;     // AddressOnLeave: the warning's message key

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

// The value the printer gets for `item` of a control's list or radio group;
// nullopt for no item (-1) or one the row gives no value.
std::optional<int> itemValue(std::string_view control, int item);

// The 53 code pages in list order.
const std::vector<std::string>& codePageItems();

}  // namespace ombrel
