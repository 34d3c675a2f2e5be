#include "app/frm_main.h"

#include <QAbstractItemView>
#include <QScreen>
#include <QShowEvent>
#include <algorithm>
#include <chrono>

#include "app/control_hints.h"
#include "app/frm_line.h"
#include "app/frm_para.h"
#include "app/link_text.h"
#include "app/status_panel.h"
#include "app/widget_captions.h"
#include "commands/boot_mode.h"
#include "ports/serial_port_factory.h"
#include "ports/usb/usb_identity.h"
#include "settings/main_defaults.h"
#include "texts/item_texts.h"
#include "texts/language_file.h"

namespace ombrel::app {

namespace {
constexpr int kComFallbackCount = 30;
constexpr const char* kSettingsFile = "sysconfig.ini";
}  // namespace

TFrmMain::TFrmMain(MainWindowServices services) : services_(std::move(services)) {
  ui_ = createMainControls(*this, captionControls_);
  giveHints(captionControls_, mainWindowHints());
  setWindowTitle(QStringLiteral("Ombrel Setting Tool V1.0"));
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
  const auto tick = std::chrono::duration_cast<std::chrono::milliseconds>(services_.clock.realDuration(kBootTickMs));
  ui_.Timer1->setInterval(std::max<int>(1, static_cast<int>(tick.count())));

  for (QRadioButton* radio : ui_.transportRadios) {
    connect(radio, &QRadioButton::clicked, this, [this] { RadioButtonClick(); });
  }
  ui_.cbb_Comname->setOnDropDown([this] { FillComPorts(); });
  connect(ui_.cbb_Language, &QComboBox::activated, this, [this](int index) { cbb_LanguageChange(index); });
  connect(ui_.btn_Test, &QPushButton::clicked, this, [this] { btn_TestClick(); });
  connect(ui_.btn_SetPara, &QPushButton::clicked, this, [this] { btn_SetParaClick(); });
  connect(ui_.but_bootIn, &QPushButton::clicked, this, [this] { but_bootInClick(); });
  connect(ui_.but_bootOut, &QPushButton::clicked, this, [this] { but_bootOutClick(); });
  connect(ui_.Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });

  serial_ = makePrinterSerialPort(owner_);
  engine_ = std::make_unique<TCommThread>(owner_, *this, *this, TCommThread::Ports{*serial_, usb_, udp_},
                                          services_.clock, services_.appDir + "debug.log");
  FillComPorts();
}

TFrmMain::~TFrmMain() {
  // Stopping the engine lets events through: no boot tick may reach it once it is gone.
  ui_.Timer1->stop();
  // A worker waiting for this thread must not wait for ever once it stops
  // listening.
  owner_.shutdown();
  while (!keptUntilShutdown_.empty()) keptUntilShutdown_.pop_back();
  engine_.reset();
}

void TFrmMain::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (shown_ || event->spontaneous()) return;
  shown_ = true;
  FormShow();
}

void TFrmMain::FormShow() {
  if (ui_.cbb_UsbDeviceList->count() > 0) ui_.cbb_UsbDeviceList->setCurrentIndex(0);
  LoadMainDefaults();
  ApplyLanguage(ui_.cbb_Language->currentIndex());
  showTranMsg();
  if (const QScreen* screen = this->screen()) {
    QRect frame = frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
  }
}

void TFrmMain::FillComPorts() {
  // The operator's typed name stays when no port is found.
  const QString typed = ui_.cbb_Comname->currentText();
  ui_.cbb_Comname->clear();
  const auto ports = services_.listSerialPorts();
  for (const auto& port : ports) ui_.cbb_Comname->addItem(QString::fromStdString(port));
  if (!ports.empty()) {
    ui_.cbb_Comname->setCurrentIndex(0);
  } else {
    for (int n = 1; n <= kComFallbackCount; ++n) ui_.cbb_Comname->addItem(QStringLiteral("COM%1").arg(n));
    ui_.cbb_Comname->setCurrentIndex(-1);
    ui_.cbb_Comname->setEditText(typed);
  }
  // Long stable names are read in a list wider than the box.
  auto* view = ui_.cbb_Comname->view();
  view->setMinimumWidth(view->sizeHintForColumn(0) + 2 * view->frameWidth());
}

int TFrmMain::checkedTransport() const {
  for (std::size_t i = 0; i < ui_.transportRadios.size(); ++i) {
    if (ui_.transportRadios[i]->isChecked()) return static_cast<int>(i);
  }
  return -1;
}

void TFrmMain::showTranMsg() {
  const int transport = checkedTransport();
  if (transport < 0) return;
  ui_.lbl_TranMsg->setText(
      QString::fromStdString(itemTexts().item(ItemList::TransMode, static_cast<std::size_t>(transport))));
}

void TFrmMain::RadioButtonClick() {
  connected_ = false;
  showTranMsg();
}

void TFrmMain::ApplyLanguage(int index) {
  std::vector<CaptionTarget*> windows{this};
  if (paraWindow_ != nullptr) windows.insert(windows.end(), {paraWindow_, &paraWindow_->lineWindow()});
  applyLanguage(index, services_.languageDirs, windows);
  qtTranslations_.use(index);
}

void TFrmMain::setParaWindow(TFrmPara* window) {
  paraWindow_ = window;
  // A window built after the first show takes the language already chosen.
  if (shown_ && window != nullptr) {
    applyLanguage(ui_.cbb_Language->currentIndex(), services_.languageDirs, {window, &window->lineWindow()});
  }
}

void TFrmMain::cbb_LanguageChange(int index) {
  ApplyLanguage(index);
  showTranMsg();
}

void TFrmMain::LoadMainDefaults() {
  const MainDefaults defaults = loadMainDefaults(IniFile(services_.appDir + kSettingsFile));
  ui_.edt_Ipaddress->setText(QString::fromStdString(defaults.ipAddress));
  ui_.cbb_Language->setCurrentIndex(defaults.language);
  if (defaults.tranMode >= 0 && defaults.tranMode < static_cast<int>(ui_.transportRadios.size())) {
    ui_.transportRadios[static_cast<std::size_t>(defaults.tranMode)]->setChecked(true);
  }
  // The remembered serial port only while it is present, the USB printer
  // once the list holds printers, the rates only when they are whole numbers.
  const int comIndex = ui_.cbb_Comname->findText(QString::fromStdString(defaults.comName));
  if (!defaults.comName.empty() && comIndex >= 0) ui_.cbb_Comname->setCurrentIndex(comIndex);
  storedUsbChoice_ = defaults.usbDevice;
  chooseStoredUsbPrinter();
  for (const auto& [box, text] :
       {std::pair{ui_.cbb_DevBauRate, defaults.devBaud}, std::pair{ui_.cbb_TranBauRate, defaults.tranBaud}}) {
    if (!parseWholeNumber(text)) continue;
    const int index = box->findText(QString::fromStdString(text));
    if (index >= 0) {
      box->setCurrentIndex(index);
    } else {
      box->setEditText(QString::fromStdString(text));
    }
  }
}

void TFrmMain::SaveMainDefaults() {
  // The chosen printer by its port, so that a restart finds it among
  // identical ones; a stored choice no list has offered yet is kept.
  const auto printer = ui_.cbb_UsbDeviceList->currentPrinter();
  const std::string usbDevice = printer ? usbDeviceName(printer->identity, printer->port) : storedUsbChoice_;
  try {
    IniFile file(services_.appDir + kSettingsFile);
    storeMainDefaults(file, MainDefaults{ui_.edt_Ipaddress->text().toStdString(), ui_.cbb_Language->currentIndex(),
                                         checkedTransport(), ui_.cbb_Comname->currentText().toStdString(),
                                         ui_.cbb_DevBauRate->currentText().toStdString(),
                                         ui_.cbb_TranBauRate->currentText().toStdString(), usbDevice});
    file.save();
  } catch (const std::exception& error) {
    // The parameters window still opens: only the start-up choice is lost.
    services_.messageBoxes.warning(error.what());
  }
}

void TFrmMain::paraWindowClosed() {
  connected_ = false;
  // The link test that opened the parameters window is long over.
  if (engine_ && !engine_->isBusy()) dropRunningText();
  show();
}

void TFrmMain::showStatusText(const QString& text) { showStatus(ui_.statusPanels[0], text); }

std::string TFrmMain::caption() const { return windowTitle().toStdString(); }

void TFrmMain::setCaption(const std::string& caption) { setWindowTitle(QString::fromStdString(caption)); }

std::vector<CaptionControl> TFrmMain::controls() {
  std::vector<CaptionControl> result;
  for (QWidget* widget : captionControls_) result.push_back(captionControlFor(*widget));
  return result;
}

}  // namespace ombrel::app
