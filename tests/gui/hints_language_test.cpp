// Every control the operator uses has a hint in both languages, and the
// chosen language reaches Qt's own texts and every control of ours.

#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QListWidget>
#include <QSlider>
#include <map>
#include <set>

#include "gui/para_window_fixture.h"
#include "texts/item_texts.h"

namespace ombrel::gui_test {
namespace {

using HintsAndLanguage = ParaWindowTest;

// The hint Qt shows over each button, list, edit, radio and check box of
// both windows: its own, or for an unnamed part of a control (the options of
// a radio group) the control's.
std::map<const QWidget*, QString> shownHints(const std::vector<QWidget*>& windows) {
  std::map<const QWidget*, QString> hints;
  for (QWidget* window : windows) {
    for (QWidget* widget : window->findChildren<QWidget*>()) {
      const bool operated = qobject_cast<QPushButton*>(widget) || qobject_cast<QRadioButton*>(widget) ||
                            qobject_cast<QCheckBox*>(widget) || qobject_cast<QComboBox*>(widget) ||
                            qobject_cast<QListWidget*>(widget) || qobject_cast<QSlider*>(widget) ||
                            qobject_cast<QAbstractSpinBox*>(widget) ||
                            (qobject_cast<QLineEdit*>(widget) && !qobject_cast<QComboBox*>(widget->parent()) &&
                             !qobject_cast<QAbstractSpinBox*>(widget->parent()));
      if (!operated) continue;
      const QWidget* carrier = widget->objectName().isEmpty() ? widget->parentWidget() : widget;
      hints[widget] = carrier->toolTip();
    }
  }
  return hints;
}

TEST_F(HintsAndLanguage, EveryControlHasAHintFromEachLanguageFile) {
  installLanguageFiles();
  start();
  const auto builtIn = shownHints({window_.get(), para_.get()});
  ASSERT_GE(builtIn.size(), 140u);

  window_->ApplyLanguage(1);
  for (const auto& [widget, hint] : shownHints({window_.get(), para_.get()})) {
    EXPECT_FALSE(hint.isEmpty()) << widget->objectName().toStdString() << " has no hint";
    EXPECT_NE(hint, builtIn.at(widget)) << widget->objectName().toStdString() << " has no English hint";
  }
  window_->ApplyLanguage(0);
  for (const auto& [widget, hint] : shownHints({window_.get(), para_.get()})) {
    EXPECT_FALSE(hint.isEmpty()) << widget->objectName().toStdString() << " has no hint";
    EXPECT_EQ(hint, builtIn.at(widget)) << widget->objectName().toStdString() << ": Chinese.lng differs";
  }
}

TEST_F(HintsAndLanguage, QtsTextsTheCancelButtonAndTheBluetoothOptionsFollowTheLanguage) {
  installLanguageFiles();
  start();
  for (const auto& [language, cancel] : {std::pair{1, "Cancel"}, std::pair{0, "取消"}}) {
    SCOPED_TRACE(language);
    window_->ApplyLanguage(language);
    EXPECT_EQ(control<QPushButton>("btn_CancelTransfer")->text().toStdString(), cancel);
    // The buttons of Qt's message boxes and file dialogs.
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel").toStdString(), cancel);
    const auto options = itemTexts().items(ItemList::BluetoothPswCheck);
    EXPECT_EQ(std::set<std::string>(options.begin(), options.end()).size(), options.size());
  }
}

}  // namespace
}  // namespace ombrel::gui_test
