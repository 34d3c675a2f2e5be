// The parameters window's controls that follow the operator's choices: the
// WiFi address boxes, the cipher group of the chosen authentication, the
// infrared lists, the WiFi key controls while WiFi is off, and the checks
// that boxes' rows give: address boxes on leaving them, the black-mark
// distance boxes on Enter.

#include <QCheckBox>
#include <QComboBox>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTimer>
#include <algorithm>
#include <utility>

#include "app/frm_main.h"
#include "app/frm_para.h"
#include "app/para_input_rules.h"
#include "commands/black_mark.h"
#include "commands/network_settings.h"
#include "commands/number_text.h"
#include "settings/para_layout.h"

namespace ombrel::app {

namespace {
constexpr const char* kCipherGroups[] = {"rg_1", "rg_2", "rg_3"};
}  // namespace

void TFrmPara::connectRules() {
  // Loading the settings changes these choices as a click does, and the
  // controls follow them either way.
  for (const char* radio : {"rb_AutoIp", "rb_StaticIP", "rb_WifiAp"}) {
    connect(controls_.widget<QRadioButton>(radio), &QRadioButton::toggled, this, [this] { rb_StaticIPClick(); });
  }
  for (const char* radio : {"rb_notInfrared", "rb_Infrared"}) {
    connect(controls_.widget<QRadioButton>(radio), &QRadioButton::toggled, this, [this] { rb_InfraredClick(); });
  }
  connect(controls_.options("RadioGroup1"), &QButtonGroup::idToggled, this, [this] { RadioGroup1Click(); });
  connect(controls_.widget<QCheckBox>("Chb_CloseWifi"), &QCheckBox::toggled, this, [this] { Chb_CloseWifiChange(); });
  // The boxes' own checks, as their rows give them.
  for (const ControlSpec& row : paraLayout()) {
    switch (row.check) {
      case BoxCheck::None:
        break;
      case BoxCheck::AddressOnLeave: {
        QLineEdit* box = controls_.widget<QLineEdit>(row.name);
        onLeave(box, [this, box] { addressBoxLeft(box); });
        break;
      }
      case BoxCheck::RangeOnEnter: {
        QLineEdit* box = controls_.widget<QLineEdit>(row.name);
        onEnter(box, [this, box] { distanceBoxEnter(box); });
        break;
      }
    }
  }
}

void TFrmPara::applyEnableRules() {
  rb_StaticIPClick();
  RadioGroup1Click();
  rb_InfraredClick();
  Chb_CloseWifiChange();
}

// The address boxes are typed only for a static address; the port is part of
// every mode but the access point.
void TFrmPara::rb_StaticIPClick() {
  const bool staticAddress = controls_.checked("rb_StaticIP");
  for (const char* box : {"edt_IPaddress", "edt_Mask", "edt_Gateway"}) {
    controls_.widget<QLineEdit>(box)->setEnabled(staticAddress);
  }
  controls_.widget<QLineEdit>("edt_Port")->setEnabled(!controls_.checked("rb_WifiAp"));
}

// Open authentication offers rg_1, shared rg_2, the two WPA modes rg_3.
void TFrmPara::RadioGroup1Click() {
  const int authentication = controls_.index("RadioGroup1");
  if (authentication < 0) return;
  QWidget* group = controls_.widget<QWidget>(kCipherGroups[std::min(authentication, 2)]);
  qobject_cast<QStackedWidget*>(group->parentWidget())->setCurrentWidget(group);
}

void TFrmPara::rb_InfraredClick() {
  const bool infrared = controls_.checked("rb_Infrared");
  for (const char* list : {"cbb_InfraredBaurate", "cbb_irdaProtecl"}) {
    controls_.widget<QComboBox>(list)->setEnabled(infrared);
  }
}

// With WiFi off the authentication, the first two cipher groups and the key
// cannot be changed.
void TFrmPara::Chb_CloseWifiChange() {
  const bool wifiOff = controls_.checked("Chb_CloseWifi");
  for (const char* control : {"RadioGroup1", "rg_1", "rg_2", "edt_NetworkPsw"}) {
    controls_.widget<QWidget>(control)->setEnabled(!wifiOff);
  }
}

// The check runs once the focus has settled in the next control, or before
// a Set button that was clicked to leave the box acts.
void TFrmPara::addressBoxLeft(QLineEdit* box) {
  leftAddressBox_ = box;
  QTimer::singleShot(0, this, [this] { leftBoxHoldsAnAddress(); });
}

// An address the system's parser cannot read is not left behind: the
// operator is told and the focus goes back into the box.
bool TFrmPara::leftBoxHoldsAnAddress() {
  QLineEdit* box = std::exchange(leftAddressBox_, nullptr);
  if (box == nullptr) return true;
  const auto refusal = addressBoxExit(controls_, box->objectName().toStdString());
  if (!refusal) return true;
  // The warning shows over the box it is about, on its tab, with the box
  // focused, wherever the click that left it went.
  for (QWidget* page = box; page != nullptr; page = page->parentWidget()) {
    if (tabs_->indexOf(page) >= 0) tabs_->setCurrentWidget(page);
  }
  box->setFocus();
  mainWindow_.messageBoxes().warning(refusal->text);
  box->setFocus();
  return false;
}

void TFrmPara::distanceBoxEnter(QLineEdit* box) {
  const std::string text = box->text().toStdString();
  switch (checkDistance(box->objectName().toStdString(), text)) {
    case DistanceEntry::Accepted:
      return;
    case DistanceEntry::OutOfRange:
      box->clear();
      box->setFocus();
      return;
    case DistanceEntry::NotANumber:
      mainWindow_.messageBoxes().error(notANumberMessage(text));
      return;
  }
}

}  // namespace ombrel::app
