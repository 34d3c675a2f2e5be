#include "settings/para_settings.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <stdexcept>
#include <strings.h>

#include "settings/para_layout.h"
#include "texts/ini_integer.h"

namespace ombrel {

namespace {

std::int32_t integerOr(const std::string& text, std::int32_t otherwise) { return iniInteger(text).value_or(otherwise); }

std::int32_t defaultInteger(const ParaKey& key) { return integerOr(key.defaultText, 0); }

// The item a list text chooses: the item of the current language that reads
// exactly so, or else the item that reads so in another known language (a
// file saved under the other interface language); -1 for none.
int chosenItem(const ParaKey& key, const std::string& text, const ParaControls& controls, const ItemTexts& items) {
  const auto current = controls.items(key.control);
  const auto found = std::find(current.begin(), current.end(), text);
  if (found != current.end()) return static_cast<int>(found - current.begin());
  const ControlSpec* control = findControl(key.control);
  if (control == nullptr || !control->languageItems) return -1;
  const int known = items.knownPosition(*control->languageItems, text);
  return known < static_cast<int>(current.size()) ? known : -1;
}

std::string joined(const std::vector<std::string>& texts) {
  std::string out;
  for (const std::string& text : texts) out += (out.empty() ? "" : ", ") + text;
  return out;
}

}  // namespace

const std::vector<ParaKey>& paraKeys() {
  static const std::vector<ParaKey> keys = [] {
    std::vector<ParaKey> all;
    for (const ControlSpec& row : paraLayout()) {
      if (row.key == nullptr) continue;
      ParaKey key{row.key, row.keyKind, row.name.c_str(), row.keyDefault, row.defaultItem, {}, row.saved};
      if (row.keyKind == KeyKind::RadioSet) {
        for (const ControlSpec& other : paraLayout()) {
          if (other.kind == ControlKind::Radio && other.radioSet == row.radioSet) key.radios.push_back(other.name);
        }
      }
      all.push_back(std::move(key));
    }
    return all;
  }();
  return keys;
}

const ParaKey* findParaKey(std::string_view key) {
  for (const auto& candidate : paraKeys()) {
    if (key.size() == std::char_traits<char>::length(candidate.key) &&
        strncasecmp(key.data(), candidate.key, key.size()) == 0) {
      return &candidate;
    }
  }
  return nullptr;
}

void putItemTexts(ParaControls& controls, const ItemTexts& items) {
  for (const auto& entry : paraLayout()) {
    if (entry.languageItems) controls.setItems(entry.name, items.items(*entry.languageItems));
  }
}

void loadParaKey(const ParaKey& key, const std::string& stored, ParaControls& controls, const ItemTexts& items) {
  switch (key.kind) {
    case KeyKind::Text:
      controls.setText(key.control, stored);
      return;
    case KeyKind::ListText:
    case KeyKind::ListFallback: {
      int chosen = chosenItem(key, stored, controls, items);
      if (chosen < 0 && key.kind == KeyKind::ListFallback && !controls.items(key.control).empty()) chosen = 0;
      controls.setIndex(key.control, chosen);
      return;
    }
    case KeyKind::GroupIndex: {
      const int count = static_cast<int>(controls.items(key.control).size());
      int value = integerOr(stored, defaultInteger(key));
      if (value >= count) value = count - 1;
      if (value < 0) value = -1;
      controls.setIndex(key.control, value);
      return;
    }
    case KeyKind::RadioSet: {
      const int value = integerOr(stored, defaultInteger(key));
      if (value >= 0 && value < static_cast<int>(key.radios.size())) {
        controls.setChecked(key.radios[static_cast<std::size_t>(value)], true);
      }
      return;
    }
    case KeyKind::Boolean:
      controls.setChecked(key.control, integerOr(stored, defaultInteger(key)) != 0);
      return;
    case KeyKind::UpdateButtons: {
      const bool programUpdate = stored == "0";
      controls.setVisible("btn_UpdatePrg", programUpdate);
      controls.setVisible("bt_firmware", !programUpdate);
      return;
    }
  }
}

std::optional<std::string> typedValueRefusal(const ParaKey& key, const std::string& value, const ParaControls& controls,
                                             const ItemTexts& items) {
  const std::string head = std::string(key.key) + ": '" + value + "' is not ";
  const auto number = iniInteger(value);
  switch (key.kind) {
    case KeyKind::Text:
    case KeyKind::UpdateButtons:
      return std::nullopt;
    case KeyKind::ListText:
    case KeyKind::ListFallback:
      if (chosenItem(key, value, controls, items) >= 0) return std::nullopt;
      return head + "an item of the list (" + joined(controls.items(key.control)) + ")";
    case KeyKind::GroupIndex: {
      const int last = static_cast<int>(controls.items(key.control).size()) - 1;
      if (number && *number >= -1 && *number <= last) return std::nullopt;
      return head + (number ? "an option" : "an integer") + " (0 to " + std::to_string(last) + ", -1 for none)";
    }
    case KeyKind::RadioSet: {
      const int last = static_cast<int>(key.radios.size()) - 1;
      if (number && *number >= 0 && *number <= last) return std::nullopt;
      return head + (number ? "an option" : "an integer") + " (0 to " + std::to_string(last) + ")";
    }
    case KeyKind::Boolean:
      if (number) return std::nullopt;
      return head + "an integer (0 or 1)";
  }
  return std::nullopt;
}

void LoadParaSettings(const IniFile& file, ParaControls& controls, const ItemTexts& items) {
  for (const auto& key : paraKeys()) {
    std::string defaultText = key.defaultText;
    if (key.defaultItem >= 0) {
      const auto current = controls.items(key.control);
      if (key.defaultItem < static_cast<int>(current.size()))
        defaultText = current[static_cast<std::size_t>(key.defaultItem)];
    }
    loadParaKey(key, file.readString(kParaSection, key.key, defaultText), controls, items);
  }
}

void SaveParaSettings(IniFile& file, const ParaControls& controls) {
  for (const auto& key : paraKeys()) {
    if (!key.saved) continue;
    switch (key.kind) {
      case KeyKind::Text:
      case KeyKind::ListText:
      case KeyKind::ListFallback:
        file.writeString(kParaSection, key.key, controls.text(key.control));
        break;
      case KeyKind::GroupIndex:
        file.writeInteger(kParaSection, key.key, controls.index(key.control));
        break;
      case KeyKind::RadioSet: {
        // With no button of the set checked (only after a stored value out of
        // range) the key's default is written.
        int value = defaultInteger(key);
        for (std::size_t i = 0; i < key.radios.size(); ++i) {
          if (controls.checked(key.radios[i])) {
            value = static_cast<int>(i);
            break;
          }
        }
        file.writeInteger(kParaSection, key.key, value);
        break;
      }
      case KeyKind::Boolean:
        file.writeBool(kParaSection, key.key, controls.checked(key.control));
        break;
      case KeyKind::UpdateButtons:
        break;
    }
  }
}

std::optional<std::string> steppedSerialNumber(const std::string& serial, bool minus, bool plus) {
  if (serial.empty() || (!minus && !plus)) return std::nullopt;
  std::int64_t value = 0;
  const char* begin = serial.data();
  const char* end = serial.data() + serial.size();
  if (*begin == '+') ++begin;
  const auto [stop, error] = std::from_chars(begin, end, value);
  if (error != std::errc() || stop != end || value > std::numeric_limits<std::int32_t>::max() ||
      value < std::numeric_limits<std::int32_t>::min()) {
    throw std::invalid_argument("'" + serial + "' is not a valid integer value");
  }
  return std::to_string(minus ? value - 1 : value + 1);
}

}  // namespace ombrel
