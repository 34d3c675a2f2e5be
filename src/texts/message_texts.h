#pragma once

// The program's message texts, by their language-file key (section "String").
// Built-in texts are Chinese; a language file may replace any of them while
// the worker thread reads them, so every access is guarded.

#include <mutex>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace ombrel {

class MessageTexts {
 public:
  MessageTexts();

  // The current text of `key`; the key itself when no such message exists.
  std::string text(std::string_view key) const;
  // Replaces the text of an existing key (names compared without regard to
  // case); unknown keys are ignored. Returns whether the key exists.
  bool setText(std::string_view key, std::string value);
  // Every keyed message in table order (key, current text).
  std::vector<std::pair<std::string, std::string>> all() const;

  // The text shown during a program update; it has no key and never changes.
  static constexpr const char* kUpdatingPleaseWait = "程序更新中请等待...";

 private:
  mutable std::mutex mutex_;
  std::vector<std::pair<std::string, std::string>> texts_;
};

// The one table that the engine and both front ends share.
MessageTexts& messageTexts();

}  // namespace ombrel
