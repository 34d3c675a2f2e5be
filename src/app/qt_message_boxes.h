#pragma once

#include "app/message_boxes.h"

namespace ombrel::app {

// Modal Qt message boxes over the active window, titled with its caption.
class QtMessageBoxes final : public MessageBoxes {
 public:
  void information(const std::string& text) override;
  void warning(const std::string& text) override;
  void error(const std::string& text) override;
};

}  // namespace ombrel::app
