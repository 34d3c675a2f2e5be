#pragma once

// What a window offers to the language files: its name (the section of the
// language file), its caption, and its visual controls with their displayed
// text and hint. The windows implement it with their own toolkit; the
// language code never sees a widget.

#include <functional>
#include <string>
#include <vector>

namespace ombrel {

// One visual control. `text` is what the control shows as its caption: the
// caption of labels, buttons, radios, check boxes and group boxes, the text
// of edits and lists. A control without a hint (or without text) may leave
// that pair of functions empty.
struct CaptionControl {
  std::string name;  // e.g. "btn_Test"
  std::function<std::string()> text;
  std::function<void(const std::string&)> setText;
  std::function<std::string()> hint;
  std::function<void(const std::string&)> setHint;
};

class CaptionTarget {
 public:
  virtual ~CaptionTarget() = default;
  // The window's language-file section, e.g. "FrmMain".
  virtual std::string windowName() const = 0;
  virtual std::string caption() const = 0;
  virtual void setCaption(const std::string& caption) = 0;
  // The window's visual controls in creation order; timers, sockets and
  // other components without a face are not listed.
  virtual std::vector<CaptionControl> controls() = 0;
};

}  // namespace ombrel
