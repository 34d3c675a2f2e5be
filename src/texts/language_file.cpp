#include "texts/language_file.h"

#include <optional>
#include <system_error>

#include "texts/ini_file.h"

namespace ombrel {

namespace {

// Replaces a non-empty text with the file's value for `key`; texts are set
// only when they change, so that controls see no change events otherwise.
void applyText(const IniFile& file, const std::string& section, const std::string& key,
               const std::function<std::string()>& get, const std::function<void(const std::string&)>& set) {
  if (!get || !set) return;
  const std::string current = get();
  if (current.empty()) return;
  const std::string replacement = file.readString(section, key, current);
  if (replacement != current) set(replacement);
}

void applyToWindow(const IniFile& file, CaptionTarget& window) {
  const std::string section = window.windowName();
  applyText(
      file, section, "Caption", [&] { return window.caption(); },
      [&](const std::string& caption) { window.setCaption(caption); });
  for (const CaptionControl& control : window.controls()) {
    applyText(file, section, control.name + ".Caption", control.text, control.setText);
    applyText(file, section, control.name + ".Hint", control.hint, control.setHint);
  }
}

// The language file of `index` in the first of `directories` that holds it.
std::optional<std::filesystem::path> languageFilePath(int index,
                                                      const std::vector<std::filesystem::path>& directories) {
  const std::string name = languageFileName(index);
  for (const auto& directory : directories) {
    std::error_code error;
    if (std::filesystem::is_regular_file(directory / name, error)) return directory / name;
  }
  return std::nullopt;
}

void learnItemTexts(const IniFile& file, ItemTexts& items) {
  for (ItemList list : kAllItemLists) {
    const std::string section(ItemTexts::sectionName(list));
    for (std::size_t i = 0; i < ItemTexts::itemCount(list); ++i) {
      items.addKnownItem(list, i, file.readString(section, std::to_string(i), ""));
    }
  }
}

}  // namespace

std::string languageFileName(int index) { return index == 1 ? "English.lng" : "Chinese.lng"; }

void applyLanguageFile(const std::filesystem::path& path, const std::vector<CaptionTarget*>& windows, ItemTexts& items,
                       MessageTexts& messages) {
  const IniFile file(path);
  for (CaptionTarget* window : windows) {
    if (window != nullptr) applyToWindow(file, *window);
  }
  for (ItemList list : kAllItemLists) {
    const std::string section(ItemTexts::sectionName(list));
    for (std::size_t i = 0; i < ItemTexts::itemCount(list); ++i) {
      items.setItem(list, i, file.readString(section, std::to_string(i), items.item(list, i)));
    }
  }
  for (const auto& [key, text] : messages.all()) {
    messages.setText(key, file.readString("String", key, text));
  }
}

void applyLanguage(int index, const std::vector<std::filesystem::path>& directories,
                   const std::vector<CaptionTarget*>& windows, ItemTexts& items, MessageTexts& messages) {
  for (const int language : {0, 1}) {
    if (const auto path = languageFilePath(language, directories)) learnItemTexts(IniFile(*path), items);
  }
  if (const auto path = languageFilePath(index, directories)) applyLanguageFile(*path, windows, items, messages);
}

}  // namespace ombrel
