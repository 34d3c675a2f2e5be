#include "app/widget_captions.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace ombrel::app {

namespace {

template <typename Widget, typename Get, typename Set>
void bindText(CaptionControl& control, Widget* widget, Get get, Set set) {
  control.text = [widget, get] { return (widget->*get)().toStdString(); };
  control.setText = [widget, set](const std::string& text) { (widget->*set)(QString::fromStdString(text)); };
}

}  // namespace

CaptionControl captionControlFor(QWidget& widget) {
  CaptionControl control;
  control.name = widget.objectName().toStdString();
  QWidget* target = &widget;
  control.hint = [target] { return target->toolTip().toStdString(); };
  control.setHint = [target](const std::string& hint) { target->setToolTip(QString::fromStdString(hint)); };

  if (auto* label = qobject_cast<QLabel*>(target)) {
    bindText(control, label, &QLabel::text, &QLabel::setText);
  } else if (auto* button = qobject_cast<QAbstractButton*>(target)) {
    bindText(control, button, &QAbstractButton::text, &QAbstractButton::setText);
  } else if (auto* group = qobject_cast<QGroupBox*>(target)) {
    bindText(control, group, &QGroupBox::title, &QGroupBox::setTitle);
  } else if (auto* edit = qobject_cast<QLineEdit*>(target)) {
    bindText(control, edit, &QLineEdit::text, &QLineEdit::setText);
  } else if (auto* memo = qobject_cast<QPlainTextEdit*>(target)) {
    bindText(control, memo, &QPlainTextEdit::toPlainText, &QPlainTextEdit::setPlainText);
  } else if (auto* list = qobject_cast<QComboBox*>(target)) {
    // An editable list takes any text; a fixed one selects the item of that text.
    control.text = [list] { return list->currentText().toStdString(); };
    control.setText = [list](const std::string& text) {
      if (list->isEditable()) {
        list->setEditText(QString::fromStdString(text));
      } else {
        list->setCurrentText(QString::fromStdString(text));
      }
    };
  }
  return control;
}

}  // namespace ombrel::app
