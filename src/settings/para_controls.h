#pragma once

// The controls of the parameters window as the settings store and the window
// actions see them: by name, with their text, chosen item, items and check
// state. The desktop window implements this over its widgets; the command
// line and the tests use ParaControlState.

#include <string>
#include <string_view>
#include <vector>

namespace ombrel {

enum class ControlKind {
  Edit,        // a text box
  List,        // an editable list: items, the chosen item, the text shown
  RadioGroup,  // a group of options, one chosen by index
  Radio,       // one radio button of a set
  Check,       // a check box
  Button,      // shown or hidden only
};

class ParaControls {
 public:
  virtual ~ParaControls() = default;

  // The text of a box, or the text a list shows.
  virtual std::string text(std::string_view control) const = 0;
  // A list chooses the item with exactly this text, or none.
  virtual void setText(std::string_view control, const std::string& text) = 0;
  // The chosen item of a list or option of a radio group; -1 for none.
  virtual int index(std::string_view control) const = 0;
  // A list then shows the item's text, or an empty text for -1.
  virtual void setIndex(std::string_view control, int index) = 0;
  virtual std::vector<std::string> items(std::string_view control) const = 0;
  // Replaces the item texts; the chosen position stays.
  virtual void setItems(std::string_view control, const std::vector<std::string>& items) = 0;
  // Check boxes and radio buttons; checking a radio button clears the others
  // of its set.
  virtual bool checked(std::string_view control) const = 0;
  virtual void setChecked(std::string_view control, bool on) = 0;
  virtual void setVisible(std::string_view control, bool visible) = 0;
};

}  // namespace ombrel
