#pragma once

// The message boxes of the windows, behind one small interface so that tests
// can answer them. Each call returns once the operator has pressed OK.

#include <string>

namespace ombrel::app {

class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  virtual void information(const std::string& text) = 0;
  virtual void warning(const std::string& text) = 0;
  virtual void error(const std::string& text) = 0;
};

}  // namespace ombrel::app
