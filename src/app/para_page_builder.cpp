#include "app/para_page_builder.h"

#include <QGridLayout>
#include <QStyle>
#include <QStyleOptionFrame>
#include <stdexcept>

#include "app/para_input_rules.h"
#include "app/widget_captions.h"
#include "texts/item_texts.h"

namespace ombrel::app {

namespace {

QStringList itemsOf(const ControlSpec& entry) {
  QStringList items;
  const auto texts = entry.languageItems ? itemTexts().items(*entry.languageItems) : entry.items;
  for (const auto& text : texts) items << QString::fromStdString(text);
  return items;
}

}  // namespace

ParaPageBuilder::ParaPageBuilder(QTabWidget& tabs, ParaWidgetControls& controls, std::vector<QWidget*>& captionControls)
    : tabs_(tabs), controls_(controls), captionControls_(captionControls) {}

const ControlSpec& ParaPageBuilder::layoutOf(const char* name) { return controlSpec(name); }

template <typename Widget>
Widget* ParaPageBuilder::captioned(Widget* widget, const char* name) {
  return named(widget, name, captionControls_);
}

QWidget* ParaPageBuilder::page(const char* name, const char* caption) {
  page_ = captioned(new QWidget(&tabs_), name);
  tabs_.addTab(page_, QString::fromUtf8(caption));
  return page_;
}

QGroupBox* ParaPageBuilder::group(const char* name, const char* title) {
  return captioned(new QGroupBox(QString::fromUtf8(title), page_), name);
}

QGroupBox* ParaPageBuilder::untitledGroup() { return new QGroupBox(page_); }

QLabel* ParaPageBuilder::label(const char* name, const char* caption) {
  return captioned(new QLabel(QString::fromUtf8(caption), page_), name);
}

QLabel* ParaPageBuilder::boxLabel(const char* name, const char* box) { return label(name, layoutOf(box).caption); }

QPushButton* ParaPageBuilder::button(const char* name, const char* caption) {
  auto* button = captioned(new QPushButton(QString::fromUtf8(caption), page_), name);
  // Enter in a box must never press a Set button.
  button->setAutoDefault(false);
  controls_.add(name, button);
  return button;
}

QCheckBox* ParaPageBuilder::check(const char* name, const char* caption) {
  const ControlSpec& entry = layoutOf(name);
  auto* box = captioned(new QCheckBox(QString::fromUtf8(caption), page_), name);
  box->setChecked(entry.checked);
  box->setEnabled(entry.enabled);
  controls_.add(name, box);
  return box;
}

QRadioButton* ParaPageBuilder::radio(const char* name, const char* caption) {
  const ControlSpec& entry = layoutOf(name);
  QButtonGroup*& set = radioSets_[entry.radioSet];
  if (set == nullptr) {
    // Radio buttons of one set may stand in different layouts: the set, not
    // the parent, keeps one at most checked.
    set = new QButtonGroup(&tabs_);
    set->setObjectName(QString::fromStdString(entry.radioSet));
  }
  auto* radio = captioned(new QRadioButton(QString::fromUtf8(caption), page_), name);
  radio->setAutoExclusive(false);
  set->addButton(radio);
  radio->setChecked(entry.checked);
  controls_.addRadio(name, radio, set);
  return radio;
}

QGroupBox* ParaPageBuilder::radioGroup(const char* name, const char* title, int columns) {
  const ControlSpec& entry = layoutOf(name);
  auto* box = group(name, title);
  auto* options = new QButtonGroup(box);
  options->setObjectName(QString::fromLatin1(name));
  auto* grid = new QGridLayout(box);
  const QStringList items = itemsOf(entry);
  for (int id = 0; id < items.size(); ++id) {
    auto* option = new QRadioButton(items[id], box);
    options->addButton(option, id);
    grid->addWidget(option, id / columns, id % columns);
  }
  if (QAbstractButton* chosen = options->button(entry.index)) chosen->setChecked(true);
  controls_.addRadioGroup(name, box, options);
  return box;
}

QLineEdit* ParaPageBuilder::edit(const char* name) {
  const ControlSpec& entry = layoutOf(name);
  // Edits take captions and hints from the language files like any control.
  auto* box = captioned(new QLineEdit(page_), name);
  // The limit holds for typing only: a longer stored text is shown whole and
  // reaches the printer as ombrelctl sends it.
  if (entry.maxLength > 0) limitTyping(box, static_cast<int>(entry.maxLength));
  switch (entry.typing) {
    case Typing::Any:
      break;
    case Typing::Digits:
      acceptDigits(box);
      break;
    case Typing::Address:
      acceptAddressCharacters(box);
      break;
    case Typing::Password:
      box->setEchoMode(QLineEdit::Password);
      break;
  }
  box->setReadOnly(entry.readOnly);
  box->setEnabled(entry.enabled);
  box->setText(QString::fromStdString(entry.text));
  controls_.add(name, box);
  return box;
}

QComboBox* ParaPageBuilder::list(const char* name) {
  const ControlSpec& entry = layoutOf(name);
  // Some lists show a language-dependent text: the language files reach them.
  auto* box = captioned(new QComboBox(page_), name);
  box->setEditable(true);
  box->setInsertPolicy(QComboBox::NoInsert);
  // As wide as the items of the language in force, whichever tab shows first.
  box->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  box->addItems(itemsOf(entry));
  box->setCurrentIndex(entry.index);
  if (entry.index < 0) box->setEditText(QString::fromStdString(entry.text));
  // Typing the exact text of an item chooses that item.
  QObject::connect(box->lineEdit(), &QLineEdit::textEdited, box, [box](const QString& text) {
    const int match = box->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (match >= 0 && match != box->currentIndex()) box->setCurrentIndex(match);
  });
  controls_.add(name, box);
  return box;
}

QListWidget* ParaPageBuilder::listBox(const char* name) {
  layoutOf(name);
  // Only its hint comes from the language files.
  auto* box = captioned(new QListWidget(page_), name);
  controls_.add(name, box);
  return box;
}

QSlider* ParaPageBuilder::slider(const char* name) {
  const ControlSpec& entry = layoutOf(name);
  auto* slider = captioned(new QSlider(Qt::Horizontal, page_), name);
  slider->setRange(entry.range->minimum, entry.range->maximum);
  slider->setValue(QString::fromStdString(entry.text).toInt());
  controls_.add(name, slider);
  return slider;
}

void addRow(QGridLayout* grid, int row, std::initializer_list<QWidget*> widgets, int column) {
  for (QWidget* widget : widgets) {
    if (widget != nullptr) grid->addWidget(widget, row, column);
    ++column;
  }
}

void fitCharacters(QLineEdit* box, int characters) {
  QStyleOptionFrame option;
  option.initFrom(box);
  const QSize text(box->fontMetrics().horizontalAdvance(QString(characters, QLatin1Char('W'))),
                   box->fontMetrics().height());
  box->setMaximumWidth(box->style()->sizeFromContents(QStyle::CT_LineEdit, &option, text, box).width());
}

}  // namespace ombrel::app
