#include "app/para_widget_controls.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QRadioButton>
#include <QSlider>

namespace ombrel::app {

namespace {

QString qt(const std::string& text) { return QString::fromStdString(text); }

// The chosen item: the current one while the list shows its text.
int chosenItem(const QComboBox& list) {
  const int current = list.currentIndex();
  return current >= 0 && list.itemText(current) == list.currentText() ? current : -1;
}

void chooseItem(QComboBox& list, int index) {
  if (index < 0 || index >= list.count()) {
    list.setCurrentIndex(-1);
    list.setEditText(QString());
    return;
  }
  list.setCurrentIndex(index);
  list.setEditText(list.itemText(index));
}

void showText(QComboBox& list, const QString& text) {
  const int match = list.findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
  if (match >= 0) {
    chooseItem(list, match);
    return;
  }
  list.setCurrentIndex(-1);
  list.setEditText(text);
}

void replaceItems(QComboBox& list, const std::vector<std::string>& items) {
  const int chosen = chosenItem(list);
  const QString shown = list.currentText();
  list.clear();
  for (const auto& item : items) list.addItem(qt(item));
  if (chosen >= 0 && chosen < list.count()) {
    chooseItem(list, chosen);
  } else {
    list.setCurrentIndex(-1);
    list.setEditText(shown);
  }
}

// An exclusive group keeps one button checked; to clear them all it lets go
// for a moment.
void uncheckAll(QButtonGroup& group) {
  const bool exclusive = group.exclusive();
  group.setExclusive(false);
  for (QAbstractButton* button : group.buttons()) button->setChecked(false);
  group.setExclusive(exclusive);
}

}  // namespace

void ParaWidgetControls::add(const std::string& name, QWidget* widget) { widgets_[name] = widget; }

void ParaWidgetControls::addRadioGroup(const std::string& name, QWidget* box, QButtonGroup* options) {
  widgets_[name] = box;
  buttonGroups_[name] = options;
}

void ParaWidgetControls::addRadio(const std::string& name, QAbstractButton* radio, QButtonGroup* set) {
  widgets_[name] = radio;
  buttonGroups_[name] = set;
}

QWidget* ParaWidgetControls::find(std::string_view name) const {
  const auto found = widgets_.find(name);
  if (found == widgets_.end()) throw std::out_of_range("No control named " + std::string(name));
  return found->second;
}

QButtonGroup* ParaWidgetControls::groupOptions(std::string_view name) const {
  if (qobject_cast<QRadioButton*>(find(name)) != nullptr) return nullptr;
  const auto found = buttonGroups_.find(name);
  return found == buttonGroups_.end() ? nullptr : found->second;
}

QButtonGroup* ParaWidgetControls::options(std::string_view group) const {
  if (QButtonGroup* options = groupOptions(group)) return options;
  throw std::out_of_range(std::string(group) + " is no radio group");
}

std::string ParaWidgetControls::text(std::string_view control) const {
  QWidget* widget = find(control);
  if (auto* edit = qobject_cast<QLineEdit*>(widget)) return edit->text().toStdString();
  if (auto* list = qobject_cast<QComboBox*>(widget)) return list->currentText().toStdString();
  if (auto* slider = qobject_cast<QSlider*>(widget)) return std::to_string(slider->value());
  if (auto* box = qobject_cast<QListWidget*>(widget)) {
    return box->currentItem() != nullptr ? box->currentItem()->text().toStdString() : std::string();
  }
  return {};
}

void ParaWidgetControls::setText(std::string_view control, const std::string& text) {
  QWidget* widget = find(control);
  if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
    edit->setText(qt(text));
  } else if (auto* list = qobject_cast<QComboBox*>(widget)) {
    showText(*list, qt(text));
  } else if (auto* slider = qobject_cast<QSlider*>(widget)) {
    slider->setValue(QString::fromStdString(text).toInt());
  }
}

int ParaWidgetControls::index(std::string_view control) const {
  QWidget* widget = find(control);
  if (auto* list = qobject_cast<QComboBox*>(widget)) return chosenItem(*list);
  if (auto* box = qobject_cast<QListWidget*>(widget)) return box->currentRow();
  if (const QButtonGroup* options = groupOptions(control)) return options->checkedId();
  return -1;
}

void ParaWidgetControls::setIndex(std::string_view control, int index) {
  QWidget* widget = find(control);
  if (auto* list = qobject_cast<QComboBox*>(widget)) {
    chooseItem(*list, index);
    return;
  }
  if (auto* box = qobject_cast<QListWidget*>(widget)) {
    box->setCurrentRow(index >= 0 && index < box->count() ? index : -1);
    return;
  }
  if (QButtonGroup* options = groupOptions(control)) {
    if (QAbstractButton* option = options->button(index)) {
      option->setChecked(true);
    } else {
      uncheckAll(*options);
    }
  }
}

std::vector<std::string> ParaWidgetControls::items(std::string_view control) const {
  QWidget* widget = find(control);
  std::vector<std::string> result;
  if (auto* list = qobject_cast<QComboBox*>(widget)) {
    for (int i = 0; i < list->count(); ++i) result.push_back(list->itemText(i).toStdString());
  } else if (auto* box = qobject_cast<QListWidget*>(widget)) {
    for (int i = 0; i < box->count(); ++i) result.push_back(box->item(i)->text().toStdString());
  } else if (const QButtonGroup* options = groupOptions(control)) {
    for (int id = 0; options->button(id) != nullptr; ++id) result.push_back(options->button(id)->text().toStdString());
  }
  return result;
}

void ParaWidgetControls::setItems(std::string_view control, const std::vector<std::string>& items) {
  QWidget* widget = find(control);
  if (auto* list = qobject_cast<QComboBox*>(widget)) {
    replaceItems(*list, items);
    return;
  }
  if (auto* box = qobject_cast<QListWidget*>(widget)) {
    const int chosen = box->currentRow();
    box->clear();
    for (const auto& item : items) box->addItem(qt(item));
    box->setCurrentRow(chosen < box->count() ? chosen : -1);
    return;
  }
  // A radio group keeps the options of the layout; their texts change.
  if (const QButtonGroup* options = groupOptions(control)) {
    for (std::size_t id = 0; id < items.size(); ++id) {
      if (QAbstractButton* option = options->button(static_cast<int>(id))) option->setText(qt(items[id]));
    }
  }
}

bool ParaWidgetControls::checked(std::string_view control) const {
  const auto* button = qobject_cast<const QAbstractButton*>(find(control));
  return button != nullptr && button->isChecked();
}

void ParaWidgetControls::setChecked(std::string_view control, bool on) {
  auto* button = qobject_cast<QAbstractButton*>(find(control));
  if (button == nullptr) return;
  // A checked radio button of an exclusive set is cleared with its set.
  if (!on && button->isChecked() && qobject_cast<QRadioButton*>(button) != nullptr) {
    if (const auto set = buttonGroups_.find(control); set != buttonGroups_.end()) {
      uncheckAll(*set->second);
      return;
    }
  }
  button->setChecked(on);
}

void ParaWidgetControls::setVisible(std::string_view control, bool visible) { find(control)->setVisible(visible); }

}  // namespace ombrel::app
