#include "app/para_input_rules.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <algorithm>

namespace ombrel::app {

namespace {

// Drops typed keys that would put a character other than `accepted` (when
// given) into the box, or more than `maxLength` (when above 0) characters;
// editing keys (backspace, shortcuts) pass.
class TypedCharacterFilter final : public QObject {
 public:
  TypedCharacterFilter(QLineEdit* box, QString accepted, int maxLength)
      : QObject(box), box_(box), accepted_(std::move(accepted)), maxLength_(maxLength) {
    box->installEventFilter(this);
  }

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::KeyPress) {
      const QString typed = static_cast<QKeyEvent*>(event)->text();
      const bool printable = !typed.isEmpty() && std::ranges::all_of(typed, [](QChar c) { return c.isPrint(); });
      if (printable && !fits(typed)) return true;
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  bool fits(const QString& typed) const {
    const auto acceptable = [this](QChar c) { return accepted_.isEmpty() || accepted_.contains(c); };
    if (!std::ranges::all_of(typed, acceptable)) return false;
    const qsizetype length = box_->text().size() - box_->selectedText().size() + typed.size();
    return maxLength_ <= 0 || length <= maxLength_;
  }

  QLineEdit* box_;
  QString accepted_;
  int maxLength_;
};

class EnterKeyFilter final : public QObject {
 public:
  EnterKeyFilter(QLineEdit* box, std::function<void()> handler) : QObject(box), handler_(std::move(handler)) {
    box->installEventFilter(this);
  }

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::KeyPress) {
      const int key = static_cast<QKeyEvent*>(event)->key();
      if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        handler_();
        return true;
      }
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  std::function<void()> handler_;
};

class LeaveFilter final : public QObject {
 public:
  LeaveFilter(QLineEdit* box, std::function<void()> handler) : QObject(box), handler_(std::move(handler)) {
    box->installEventFilter(this);
  }

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::FocusOut && isOperatorsMove(static_cast<QFocusEvent*>(event)->reason())) {
      handler_();
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  static bool isOperatorsMove(Qt::FocusReason reason) {
    return reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason || reason == Qt::MouseFocusReason;
  }

  std::function<void()> handler_;
};

}  // namespace

void limitTyping(QLineEdit* box, int maxLength) { new TypedCharacterFilter(box, QString(), maxLength); }

void acceptDigits(QLineEdit* box) { new TypedCharacterFilter(box, QStringLiteral("0123456789"), 0); }

void acceptAddressCharacters(QLineEdit* box) { new TypedCharacterFilter(box, QStringLiteral("0123456789."), 0); }

void onEnter(QLineEdit* box, std::function<void()> handler) { new EnterKeyFilter(box, std::move(handler)); }

void onLeave(QLineEdit* box, std::function<void()> handler) { new LeaveFilter(box, std::move(handler)); }

}  // namespace ombrel::app
