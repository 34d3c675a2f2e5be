#pragma once

#include <QString>

#include "app/message_boxes.h"

namespace ombrel::app {

// Modal Qt message boxes over the active window, titled with its caption.
class QtMessageBoxes final : public MessageBoxes {
 public:
  void information(const std::string& text) override;
  void warning(const std::string& text) override;
  void error(const std::string& text) override;
  bool question(const std::string& text) override;
  std::optional<std::string> openFile(const std::string& title, const std::string& filter) override;
  std::optional<std::string> saveFile(const std::string& filter) override;
};

// A filter "Name|*.a;*.b|Other|*.c" as Qt writes it:
// "Name (*.a *.b);;Other (*.c)".
QString qtFileFilter(const std::string& filter);

}  // namespace ombrel::app
