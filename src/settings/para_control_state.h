#pragma once

// The parameters window's controls held in memory, starting from the
// window's layout: what the command line and the tests act on.

#include <map>

#include "settings/para_layout.h"
#include "texts/item_texts.h"

namespace ombrel {

class ParaControlState final : public ParaControls {
 public:
  // Language-dependent items are taken from `items` as they are now.
  explicit ParaControlState(const ItemTexts& items = itemTexts());

  std::string text(std::string_view control) const override;
  void setText(std::string_view control, const std::string& text) override;
  int index(std::string_view control) const override;
  void setIndex(std::string_view control, int index) override;
  std::vector<std::string> items(std::string_view control) const override;
  void setItems(std::string_view control, const std::vector<std::string>& items) override;
  bool checked(std::string_view control) const override;
  void setChecked(std::string_view control, bool on) override;
  void setVisible(std::string_view control, bool visible) override;

  bool visible(std::string_view control) const;
  ControlKind kind(std::string_view control) const;

 private:
  struct State {
    ControlKind kind;
    std::string text;
    int index;
    std::vector<std::string> items;
    bool checked;
    bool visible = true;
    std::string radioSet;
  };
  // Raises std::out_of_range naming the control when there is no such control.
  State& at(std::string_view control);
  const State& at(std::string_view control) const;

  std::map<std::string, State, std::less<>> controls_;
};

}  // namespace ombrel
