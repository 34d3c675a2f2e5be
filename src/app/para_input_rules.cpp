#include "app/para_input_rules.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QRegularExpressionValidator>

#include "commands/number_text.h"

namespace ombrel::app {

namespace {

constexpr int kShortestDistance = 1;
constexpr int kLongestDistance = 255;

void acceptOnly(QLineEdit* box, const QString& characters) {
  box->setValidator(new QRegularExpressionValidator(QRegularExpression(characters + QStringLiteral("*")), box));
}

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

void acceptDigits(QLineEdit* box) { acceptOnly(box, QStringLiteral("[0-9]")); }

void acceptAddressCharacters(QLineEdit* box) { acceptOnly(box, QStringLiteral("[0-9.]")); }

void onEnter(QLineEdit* box, std::function<void()> handler) { new EnterKeyFilter(box, std::move(handler)); }

void onLeave(QLineEdit* box, std::function<void()> handler) { new LeaveFilter(box, std::move(handler)); }

DistanceEntry checkDistance(const std::string& text) {
  const auto number = wholeNumber(text);
  if (!number) return DistanceEntry::NotANumber;
  return *number < kShortestDistance || *number > kLongestDistance ? DistanceEntry::OutOfRange
                                                                    : DistanceEntry::Accepted;
}

}  // namespace ombrel::app
