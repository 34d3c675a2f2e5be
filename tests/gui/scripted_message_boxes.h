#pragma once

// Message boxes answered at once, each remembered as "kind: text".

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/message_boxes.h"

namespace ombrel::gui_test {

class ScriptedMessageBoxes final : public app::MessageBoxes {
 public:
  void information(const std::string& text) override { shown_.push_back("information: " + text); }
  void warning(const std::string& text) override { shown_.push_back("warning: " + text); }
  void error(const std::string& text) override { shown_.push_back("error: " + text); }
  bool question(const std::string& text) override {
    shown_.push_back("question: " + text);
    return std::exchange(nextAnswer_, true);
  }
  std::optional<std::string> openFile(const std::string& title, const std::string& filter) override {
    shown_.push_back("open: " + title + " " + filter);
    return std::exchange(nextFile_, std::nullopt);
  }
  std::optional<std::string> saveFile(const std::string& filter) override {
    shown_.push_back("save: " + filter);
    return std::exchange(nextFile_, std::nullopt);
  }

  const std::vector<std::string>& shown() const { return shown_; }
  // The answer of the next open or save dialog; none: it is cancelled.
  void answerOpen(std::string path) { nextFile_ = std::move(path); }
  // The next question is answered no (else yes).
  void answerNo() { nextAnswer_ = false; }

 private:
  std::vector<std::string> shown_;
  std::optional<std::string> nextFile_;
  bool nextAnswer_ = true;
};

}  // namespace ombrel::gui_test
