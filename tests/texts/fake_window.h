#pragma once

// A window for the language tests: a caption and named controls with text
// and hint, counting how often each is set.

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "texts/caption_target.h"

namespace ombrel::testing {

class FakeWindow : public CaptionTarget {
 public:
  struct Control {
    std::string text;
    std::string hint;
    int sets = 0;
  };

  FakeWindow(std::string name, std::string caption) : name_(std::move(name)), caption_(std::move(caption)) {}

  void add(const std::string& control, std::string text, std::string hint = {}) {
    order_.push_back(control);
    controls_[control] = Control{std::move(text), std::move(hint), 0};
  }
  const Control& control(const std::string& name) const { return controls_.at(name); }
  int captionSets() const { return captionSets_; }

  std::string windowName() const override { return name_; }
  std::string caption() const override { return caption_; }
  void setCaption(const std::string& caption) override {
    caption_ = caption;
    ++captionSets_;
  }
  std::vector<CaptionControl> controls() override {
    std::vector<CaptionControl> result;
    for (const std::string& name : order_) {
      Control& c = controls_[name];
      result.push_back(CaptionControl{
          name,
          [&c] { return c.text; },
          [&c](const std::string& text) { c.text = text, ++c.sets; },
          [&c] { return c.hint; },
          [&c](const std::string& hint) { c.hint = hint, ++c.sets; },
      });
    }
    return result;
  }

 private:
  std::string name_;
  std::string caption_;
  int captionSets_ = 0;
  std::vector<std::string> order_;
  std::map<std::string, Control> controls_;
};

}  // namespace ombrel::testing
