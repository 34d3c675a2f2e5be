#pragma once

// Named Qt controls as the language files see them: each control's displayed
// text (caption of labels, buttons, radios, check boxes and group boxes; text
// of edits and lists) and its hint (tool tip).

#include <QString>
#include <QWidget>
#include <string>
#include <vector>

#include "texts/caption_target.h"

namespace ombrel::app {

// The language-file view of one control, named by its object name. Widgets
// without a text of their own (a status bar) offer only their hint.
CaptionControl captionControlFor(QWidget& widget);

// Gives `widget` its control name and adds it to `controls`, keeping the
// order of creation that the language files are applied in.
template <typename Widget>
Widget* named(Widget* widget, const char* name, std::vector<QWidget*>& controls) {
  widget->setObjectName(QString::fromLatin1(name));
  controls.push_back(widget);
  return widget;
}

}  // namespace ombrel::app
