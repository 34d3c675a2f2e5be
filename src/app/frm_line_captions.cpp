// The production line window names each action as the parameters window
// shows it, in the interface language: what it sets and its own caption
// ("设置语言 · 设置"). The recipe and the log keep the control names.

#include <QAbstractButton>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QTabWidget>

#include "app/frm_line.h"
#include "app/frm_para.h"

namespace ombrel::app {

namespace {

QString withoutColon(QString text) {
  text = text.trimmed();
  while (text.endsWith(u':') || text.endsWith(u'：')) text.chop(1);
  return text.trimmed();
}

// The grid, among `layout` and those nested in it, that holds the control itself.
QGridLayout* gridHolding(QLayout* layout, const QWidget& control) {
  if (layout == nullptr) return nullptr;
  auto* grid = qobject_cast<QGridLayout*>(layout);
  if (grid != nullptr && grid->indexOf(&control) >= 0) return grid;
  for (int i = 0; i < layout->count(); ++i) {
    if (QGridLayout* found = gridHolding(layout->itemAt(i)->layout(), control)) return found;
  }
  return nullptr;
}

// The label that starts the control's row of a grid, when one does.
QString rowLabel(const QWidget& control) {
  QWidget* parent = control.parentWidget();
  QGridLayout* grid = parent != nullptr ? gridHolding(parent->layout(), control) : nullptr;
  if (grid == nullptr) return {};
  const int index = grid->indexOf(&control);
  int row = 0;
  int column = 0;
  int rows = 0;
  int columns = 0;
  grid->getItemPosition(index, &row, &column, &rows, &columns);
  const QLayoutItem* first = grid->itemAtPosition(row, 0);
  const auto* label = first != nullptr ? qobject_cast<const QLabel*>(first->widget()) : nullptr;
  return label != nullptr ? withoutColon(label->text()) : QString();
}

// What the control sets: its row's label, else its group's title, else its tab's.
QString subjectOf(QWidget& control) {
  if (QString label = rowLabel(control); !label.isEmpty()) return label;
  for (QWidget* w = control.parentWidget(); w != nullptr; w = w->parentWidget()) {
    if (const auto* group = qobject_cast<const QGroupBox*>(w); group != nullptr && !group->title().isEmpty()) {
      return withoutColon(group->title());
    }
    const QWidget* stack = w->parentWidget();
    if (auto* tabs = stack != nullptr ? qobject_cast<QTabWidget*>(stack->parentWidget()) : nullptr) {
      return withoutColon(tabs->tabText(tabs->indexOf(w)));
    }
  }
  return {};
}

}  // namespace

QString TFrmLine::actionCaption(const std::string& control) const {
  auto* widget = para_.findChild<QAbstractButton*>(QString::fromStdString(control));
  if (widget == nullptr) return QString::fromStdString(control);
  const QString own = withoutColon(widget->text());
  const QString subject = subjectOf(*widget);
  return subject.isEmpty() || subject == own ? own : subject + QStringLiteral(" · ") + own;
}

}  // namespace ombrel::app
