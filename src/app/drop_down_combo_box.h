#pragma once

#include <QComboBox>
#include <functional>
#include <utility>

namespace ombrel::app {

// A list that runs a handler just before its list drops down, so that it can
// refill itself (the serial port list looks for ports again each time).
class DropDownComboBox final : public QComboBox {
 public:
  using QComboBox::QComboBox;
  void setOnDropDown(std::function<void()> handler) { onDropDown_ = std::move(handler); }

  void showPopup() override {
    if (onDropDown_) onDropDown_();
    QComboBox::showPopup();
  }

 private:
  std::function<void()> onDropDown_;
};

}  // namespace ombrel::app
