#pragma once

// Makes the parameters window's controls, tab by tab: each value-holding
// control in the state its layout entry gives (kind, items, initial value,
// what may be typed, read-only or disabled), each captioned control with its built-in Chinese caption, all under their
// control names. Value-holding controls and buttons are registered for the
// settings store and the actions; captioned ones for the language files.

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTabWidget>
#include <initializer_list>
#include <map>
#include <string>
#include <vector>

#include "app/para_widget_controls.h"
#include "settings/para_layout.h"

namespace ombrel::app {

class ParaPageBuilder {
 public:
  ParaPageBuilder(QTabWidget& tabs, ParaWidgetControls& controls, std::vector<QWidget*>& captionControls);

  // A new tab; the controls made next belong to it.
  QWidget* page(const char* name, const char* caption);
  QGroupBox* group(const char* name, const char* title);
  QGroupBox* untitledGroup();
  QLabel* label(const char* name, const char* caption);
  // The label of a box, with the caption of the box's row.
  QLabel* boxLabel(const char* name, const char* box);
  QPushButton* button(const char* name, const char* caption);
  QCheckBox* check(const char* name, const char* caption);
  QRadioButton* radio(const char* name, const char* caption);
  // Options in `columns` columns.
  QGroupBox* radioGroup(const char* name, const char* title, int columns);
  // At most as many typed characters as its row's length (none: no limit),
  // of the characters its row's typing lets through, read-only or disabled
  // as its row says. A stored text of any length or character is shown
  // whole (even one that is no number in a box of digits), so the window
  // sends what ombrelctl sends from the same settings file.
  QLineEdit* edit(const char* name);
  QComboBox* list(const char* name);
  // A list box: its items are the run's, never stored.
  QListWidget* listBox(const char* name);
  // A horizontal slider over its row's range; its text is its value.
  QSlider* slider(const char* name);

 private:
  // Raises std::logic_error for a name the layout does not know.
  static const ControlSpec& layoutOf(const char* name);
  template <typename Widget>
  Widget* captioned(Widget* widget, const char* name);

  QTabWidget& tabs_;
  ParaWidgetControls& controls_;
  std::vector<QWidget*>& captionControls_;
  QWidget* page_ = nullptr;
  std::map<std::string, QButtonGroup*> radioSets_;
};

// Puts `widgets` into `row` of `grid`, one a column from `column`; a null
// entry leaves its column empty.
void addRow(QGridLayout* grid, int row, std::initializer_list<QWidget*> widgets, int column = 0);

// Limits a box's width to about `characters` digits of its font.
void fitCharacters(QLineEdit* box, int characters);

}  // namespace ombrel::app
