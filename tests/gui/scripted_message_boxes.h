#pragma once

// Message boxes answered at once, each remembered as "kind: text".

#include <string>
#include <vector>

#include "app/message_boxes.h"

namespace ombrel::gui_test {

class ScriptedMessageBoxes final : public app::MessageBoxes {
 public:
  void information(const std::string& text) override { shown_.push_back("information: " + text); }
  void warning(const std::string& text) override { shown_.push_back("warning: " + text); }
  void error(const std::string& text) override { shown_.push_back("error: " + text); }

  const std::vector<std::string>& shown() const { return shown_; }

 private:
  std::vector<std::string> shown_;
};

}  // namespace ombrel::gui_test
