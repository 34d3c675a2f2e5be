#include "cli/settings_session.h"

#include <charconv>

#include "cli/options.h"
#include "settings/para_settings.h"

namespace ombrel::cli {

SettingsSession::SettingsSession(std::string path) : path_(std::move(path)) {}

void SettingsSession::load() {
  putItemTexts(controls_);
  LoadParaSettings(IniFile(path_), controls_);
}

void SettingsSession::set(const std::string& name, const std::string& value) {
  if (const ParaKey* key = findParaKey(name)) {
    if (const auto refusal = typedValueRefusal(*key, value, controls_)) throw RefusedValue(*refusal);
    loadParaKey(*key, value, controls_);
    return;
  }
  if (findControl(name) == nullptr) throw UsageError("--set: no settings key or control named " + name);
  switch (controls_.kind(name)) {
    case ControlKind::Edit:
    case ControlKind::List:
      controls_.setText(name, value);
      return;
    case ControlKind::Check:
    case ControlKind::Radio:
      if (value != "0" && value != "1") throw UsageError("--set " + name + " takes 0 or 1");
      controls_.setChecked(name, value == "1");
      return;
    case ControlKind::RadioGroup: {
      int index = -1;
      const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), index);
      const int count = static_cast<int>(controls_.items(name).size());
      if (error != std::errc() || end != value.data() + value.size() || index < -1 || index >= count) {
        throw UsageError("--set " + name + " takes an option number from 0 to " + std::to_string(count - 1));
      }
      controls_.setIndex(name, index);
      return;
    }
    case ControlKind::Button:
      throw UsageError("--set: " + name + " holds no value");
  }
}

void SettingsSession::save() {
  IniFile file(path_);
  SaveParaSettings(file, controls_);
  file.save();
}

}  // namespace ombrel::cli
