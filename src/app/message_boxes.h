#pragma once

// The message boxes and file dialogs of the windows, behind one small
// interface so that tests can answer them. Each call returns once the
// operator has answered.

#include <optional>
#include <string>

namespace ombrel::app {

class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  virtual void information(const std::string& text) = 0;
  virtual void warning(const std::string& text) = 0;
  virtual void error(const std::string& text) = 0;
  // A yes-or-no question: true when the operator answered yes.
  virtual bool question(const std::string& text) = 0;
  // An open dialog titled `title` with the filter "Name|*.a;*.b|Name|*.c"
  // (its first entry chosen): the chosen path, nullopt when cancelled.
  virtual std::optional<std::string> openFile(const std::string& title, const std::string& filter) = 0;
  // A save dialog with `filter`: the path as typed (no extension added),
  // nullopt when cancelled.
  virtual std::optional<std::string> saveFile(const std::string& filter) = 0;
};

}  // namespace ombrel::app
