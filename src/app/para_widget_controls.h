#pragma once

// The parameters window's controls by name over its Qt widgets: what the
// settings store and the window actions read and set.
//
// Lists are editable combo boxes, except the logo list, a list box whose
// text is its chosen item's. The logo threshold is a slider, its text its
// value. A list has an item chosen only while it
// shows exactly that item's text; any other text means no item is chosen.
// Radio groups are a group box with numbered options; the single radio
// buttons belong to sets in which one at most is checked.

#include <QAbstractButton>
#include <QButtonGroup>
#include <QWidget>
#include <map>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "settings/para_controls.h"

namespace ombrel::app {

class ParaWidgetControls final : public ParaControls {
 public:
  // Edits, lists, list boxes, sliders, check boxes and buttons.
  void add(const std::string& name, QWidget* widget);
  // A radio group: its box and its options, numbered from 0.
  void addRadioGroup(const std::string& name, QWidget* box, QButtonGroup* options);
  // One radio button of a set.
  void addRadio(const std::string& name, QAbstractButton* radio, QButtonGroup* set);

  // The widget of a control; raises std::out_of_range naming the control when
  // there is no such control of that kind.
  template <typename Widget>
  Widget* widget(std::string_view name) const {
    if (auto* typed = qobject_cast<Widget*>(find(name))) return typed;
    throw std::out_of_range("No control " + std::string(name) + " of that kind");
  }
  // The options of a radio group.
  QButtonGroup* options(std::string_view group) const;

  std::string text(std::string_view control) const override;
  void setText(std::string_view control, const std::string& text) override;
  int index(std::string_view control) const override;
  void setIndex(std::string_view control, int index) override;
  std::vector<std::string> items(std::string_view control) const override;
  void setItems(std::string_view control, const std::vector<std::string>& items) override;
  bool checked(std::string_view control) const override;
  void setChecked(std::string_view control, bool on) override;
  void setVisible(std::string_view control, bool visible) override;

 private:
  QWidget* find(std::string_view name) const;
  // The options of a radio group; null for any other control.
  QButtonGroup* groupOptions(std::string_view name) const;

  std::map<std::string, QWidget*, std::less<>> widgets_;
  // A radio group's options, or the set of a radio button.
  std::map<std::string, QButtonGroup*, std::less<>> buttonGroups_;
};

}  // namespace ombrel::app
