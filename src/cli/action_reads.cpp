#include "cli/action_reads.h"

#include <algorithm>
#include <stdexcept>
#include <variant>

#include "commands/window_actions.h"
#include "settings/para_control_state.h"
#include "settings/para_settings.h"
#include "texts/ini_file.h"

namespace ombrel::cli {

namespace {

// Passes every read on to the controls and notes the names read. A click
// only reads, so changes are refused.
class ReadRecorder final : public ParaControls {
 public:
  explicit ReadRecorder(const ParaControls& controls) : controls_(controls) {}

  std::string text(std::string_view control) const override { return note(control), controls_.text(control); }
  void setText(std::string_view, const std::string&) override { readOnly(); }
  int index(std::string_view control) const override { return note(control), controls_.index(control); }
  void setIndex(std::string_view, int) override { readOnly(); }
  std::vector<std::string> items(std::string_view control) const override {
    return note(control), controls_.items(control);
  }
  void setItems(std::string_view, const std::vector<std::string>&) override { readOnly(); }
  bool checked(std::string_view control) const override { return note(control), controls_.checked(control); }
  void setChecked(std::string_view, bool) override { readOnly(); }
  void setVisible(std::string_view, bool) override { readOnly(); }

  const std::vector<std::string>& read() const { return read_; }

 private:
  void note(std::string_view control) const {
    if (std::find(read_.begin(), read_.end(), control) == read_.end()) read_.emplace_back(control);
  }
  [[noreturn]] static void readOnly() { throw std::logic_error("a window action changed a control"); }

  const ParaControls& controls_;
  mutable std::vector<std::string> read_;
};

// Puts "1" into every empty text box named; false when there was none.
bool fillEmptyBoxes(ParaControlState& controls, const std::vector<std::string>& names) {
  bool filled = false;
  for (const std::string& name : names) {
    if (controls.kind(name) == ControlKind::Edit && controls.text(name).empty()) {
      controls.setText(name, "1");
      filled = true;
    }
  }
  return filled;
}

// The settings key that stores a control, or the control's own name.
std::string keyOf(const std::string& control) {
  for (const ParaKey& key : paraKeys()) {
    if (control == key.control) return key.key;
    if (std::find(key.radios.begin(), key.radios.end(), control) != key.radios.end()) return key.key;
  }
  return control;
}

}  // namespace

std::vector<std::string> controlsReadBy(const WindowAction& action, const ParaControls& controls) {
  if (action.kind != WindowAction::Kind::SetButton && action.kind != WindowAction::Kind::CheckBox) return {};
  ReadRecorder recorder(controls);
  pressAction(action, recorder);
  return recorder.read();
}

std::vector<ActionReads> actionReads() {
  std::vector<ActionReads> list;
  for (const WindowAction& action : windowActions()) {
    ParaControlState controls;
    putItemTexts(controls);
    LoadParaSettings(IniFile(""), controls);
    ReadRecorder recorder(controls);
    // An action that finds its boxes empty stops before reading the rest:
    // fill the empty boxes it read and ask again, until it starts a task.
    for (int round = 0; round < 4 && std::holds_alternative<Refusal>(pressAction(action, recorder)); ++round) {
      if (!fillEmptyBoxes(controls, recorder.read())) break;
    }
    ActionReads entry{action.control, action.kind == WindowAction::Kind::CheckBox, {}};
    for (const std::string& control : recorder.read()) {
      if (control == action.control) continue;  // a check box's own new state
      const std::string key = keyOf(control);
      if (std::find(entry.reads.begin(), entry.reads.end(), key) == entry.reads.end()) entry.reads.push_back(key);
    }
    list.push_back(std::move(entry));
  }
  return list;
}

std::string actionReadsText() {
  std::string text;
  for (const ActionReads& action : actionReads()) {
    text += action.control + (action.checkBox ? "=0|1" : "") + "\t";
    for (std::size_t i = 0; i < action.reads.size(); ++i) text += (i == 0 ? "" : " ") + action.reads[i];
    text += "\n";
  }
  return text;
}

}  // namespace ombrel::cli
