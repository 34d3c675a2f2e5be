#include "settings/para_control_state.h"

#include <stdexcept>

namespace ombrel {

ParaControlState::ParaControlState(const ItemTexts& items) {
  for (const auto& entry : paraLayout()) {
    State state{entry.kind, entry.text, entry.index, entry.items, entry.checked, true, entry.radioSet};
    if (entry.languageItems) state.items = items.items(*entry.languageItems);
    if (entry.kind == ControlKind::List && entry.index >= 0) {
      state.text = state.items[static_cast<std::size_t>(entry.index)];
    }
    controls_.emplace(entry.name, std::move(state));
  }
}

ParaControlState::State& ParaControlState::at(std::string_view control) {
  const auto found = controls_.find(control);
  if (found == controls_.end()) throw std::out_of_range("No control named " + std::string(control));
  return found->second;
}

const ParaControlState::State& ParaControlState::at(std::string_view control) const {
  return const_cast<ParaControlState*>(this)->at(control);
}

std::string ParaControlState::text(std::string_view control) const { return at(control).text; }

void ParaControlState::setText(std::string_view control, const std::string& text) {
  State& state = at(control);
  state.text = text;
  if (state.kind == ControlKind::List) {
    state.index = -1;
    for (std::size_t i = 0; i < state.items.size(); ++i) {
      if (state.items[i] == text) {
        state.index = static_cast<int>(i);
        break;
      }
    }
  }
}

int ParaControlState::index(std::string_view control) const { return at(control).index; }

void ParaControlState::setIndex(std::string_view control, int index) {
  State& state = at(control);
  if (index < -1 || index >= static_cast<int>(state.items.size())) index = -1;
  state.index = index;
  if (state.kind == ControlKind::List) {
    state.text = index >= 0 ? state.items[static_cast<std::size_t>(index)] : std::string();
  }
}

std::vector<std::string> ParaControlState::items(std::string_view control) const { return at(control).items; }

void ParaControlState::setItems(std::string_view control, const std::vector<std::string>& items) {
  State& state = at(control);
  state.items = items;
  if (state.index >= static_cast<int>(items.size())) state.index = -1;
  if (state.kind == ControlKind::List && state.index >= 0) {
    state.text = items[static_cast<std::size_t>(state.index)];
  }
}

bool ParaControlState::checked(std::string_view control) const { return at(control).checked; }

void ParaControlState::setChecked(std::string_view control, bool on) {
  State& state = at(control);
  if (on && state.kind == ControlKind::Radio) {
    for (auto& [name, other] : controls_) {
      if (other.kind == ControlKind::Radio && other.radioSet == state.radioSet) other.checked = false;
    }
  }
  state.checked = on;
}

void ParaControlState::setVisible(std::string_view control, bool visible) { at(control).visible = visible; }

bool ParaControlState::visible(std::string_view control) const { return at(control).visible; }

ControlKind ParaControlState::kind(std::string_view control) const { return at(control).kind; }

}  // namespace ombrel
