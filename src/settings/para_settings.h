#pragma once

// Section ParaDefault of sysconfig.ini: the 56 keys that keep the parameters
// window's values between sessions, taken from the rows of its controls; one
// table drives loading, saving and the command line's --set.

#include <optional>
#include <string>
#include <vector>

#include "texts/ini_file.h"
#include "settings/para_controls.h"
#include "settings/para_layout.h"
#include "texts/item_texts.h"

namespace ombrel {

inline constexpr const char* kParaSection = "ParaDefault";

// A settings key as the rows of the window's controls give it.
struct ParaKey {
  const char* key;
  KeyKind kind;
  const char* control;              // the control, or the set's first radio for RadioSet
  std::string defaultText;          // text, list text or number as text
  int defaultItem = -1;             // lists whose default is an item of the current language
  std::vector<std::string> radios;  // RadioSet: the buttons for 0, 1, 2
  bool saved = true;                // Flowcontrol and Updatafirmware are never written
};

// All 56 keys, in the order they are read.
const std::vector<ParaKey>& paraKeys();
const ParaKey* findParaKey(std::string_view key);

// Puts the current language's texts into the eleven lists that follow it.
void putItemTexts(ParaControls& controls, const ItemTexts& items = itemTexts());

void LoadParaSettings(const IniFile& file, ParaControls& controls, const ItemTexts& items = itemTexts());
// Applies one value, stored in the file or typed on the command line, to its
// control by the rules of its kind: integers and Booleans as the settings
// file reads them (decimal, "$" or "0x" hex; the key's default for other
// text), list texts as the current language's item, or else the item that
// reads so in another known language.
void loadParaKey(const ParaKey& key, const std::string& stored, ParaControls& controls,
                 const ItemTexts& items = itemTexts());
// A value typed for a key that loading would not take as it stands (it would
// use the default, no item or the first): the line that refuses it, naming
// the key, the value and what the key accepts. Nothing for a value it takes.
std::optional<std::string> typedValueRefusal(const ParaKey& key, const std::string& value, const ParaControls& controls,
                                             const ItemTexts& items = itemTexts());
// Writes the 54 saved keys into `file` (the caller saves the file).
void SaveParaSettings(IniFile& file, const ParaControls& controls);

// After a successful device-parameter write the serial number steps by one in
// the direction chosen with rb_Minus / rb_Plus, so the next printer gets the
// next number. Returns the new text, or nullopt when nothing steps. Raises
// std::invalid_argument when the field does not hold a 32-bit number.
std::optional<std::string> steppedSerialNumber(const std::string& serial, bool minus, bool plus);

}  // namespace ombrel
