#pragma once

// The main window: the operator chooses the link to the printer, tests it,
// opens the parameters window and switches a serial printer into its boot
// loader. It owns the task engine and answers the engine's questions about
// the link.

#include <QMainWindow>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/main_controls.h"
#include "app/message_boxes.h"
#include "app/qt_owner_thread.h"
#include "app/qt_translations.h"
#include "commands/time_left.h"
#include "ports/serial_port_list.h"
#include "engine/comm_thread.h"
#include "engine/engine_host.h"
#include "platform/clock.h"
#include "ports/udp_client.h"
#include "ports/usb/tusbcomm.h"
#include "texts/caption_target.h"

namespace ombrel::app {

class TFrmPara;

struct MainWindowServices {
  std::string appDir;                               // with a trailing '/': sysconfig.ini and debug.log
  std::vector<std::filesystem::path> languageDirs;  // searched in order
  Clock& clock;
  MessageBoxes& messageBoxes;
  std::function<std::vector<std::string>()> listSerialPorts = [] { return ombrel::listSerialPorts(); };
};

class TFrmMain final : public QMainWindow, public EngineHost, public NotifyWindow, public CaptionTarget {
 public:
  explicit TFrmMain(MainWindowServices services);
  ~TFrmMain() override;

  TCommThread& engine() { return *engine_; }
  const MainControls& ui() const { return ui_; }
  // The program directory, ending with a separator.
  const std::string& appDir() const { return services_.appDir; }
  MessageBoxes& messageBoxes() { return services_.messageBoxes; }
  // The clock the windows' timers follow.
  const Clock& clock() const { return services_.clock; }
  Clock& clock() { return services_.clock; }
  // The owner thread of the engines: the production line's slots run on it too.
  OwnerThread& owner() { return owner_; }
  // Kept until the owner thread no longer listens, then dropped last first:
  // the engines of a window that goes while their tasks run stop only once
  // none of their workers can wait for this thread any more.
  void keepUntilShutdown(std::shared_ptr<void> object) { keptUntilShutdown_.push_back(std::move(object)); }
  void setParaWindow(TFrmPara* window);

  // Copies the checked transport's selection into the fields the engine
  // reads. False, after telling the operator, when a rate box of the serial
  // link does not hold a whole number.
  bool ReadLinkSettings();
  // Language file `index` (1 English, else Chinese) for both windows.
  void ApplyLanguage(int index);
  bool connected() const { return connected_; }
  // The parameters window has closed: the next opening tests the link again.
  void paraWindowClosed();
  // Status panel 0 takes over the text of a task the parameters window left running.
  void showStatusText(const QString& text);

  // The production line's side of the link choice: whether it is a USB
  // printer, and the following tasks going to the present printer that
  // `choice` names, "IDENTITY@PORT" or the first of an identity (false when
  // it is not listed).
  bool usbLinkChosen() const { return checkedTransport() == kUsbTransport; }
  bool useUsbPrinter(const std::string& choice);
  // Called with the present USB printers after each arrival and removal,
  // once the list shows them.
  void setUsbListener(std::function<void(const std::vector<UsbDeviceName>&)> listener);

  LinkSettings linkSettings() override;
  void devBaudChanged(int rate) override;
  void showIdleData(const Bytes& bytes) override;
  void usbDevicesChanged(const std::vector<UsbDeviceName>& printers) override;
  void showTransferText(const std::string& text) override;
  void replyCheckingChanged(bool checked) override;

  // A task that ended while this window takes the engine's messages: the
  // parameters window's word for its own task, or this window's running
  // text taken away.
  void taskEnded(const TaskOutcome& outcome) override;
  void engineMessage(EngineMessage message, int wParam, const std::string& text) override;
  // A transfer that runs while the parameters window is closed.
  void transferProgress(const TransferProgress& progress) override;
  // The time left of a transfer, one estimate for whichever window shows it:
  // the task about to start, then each of its reports as it is shown,
  // measured on the engine's clock.
  void transferStarting(int taskCode) { transferTimeLeft_.start(taskCode); }
  std::optional<std::int64_t> transferTimeLeft(const TransferProgress& progress);

  std::string windowName() const override { return "FrmMain"; }
  std::string caption() const override;
  void setCaption(const std::string& caption) override;
  std::vector<CaptionControl> controls() override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  static constexpr int kUsbTransport = 2;  // the third link choice

  // Link choice.
  void FillComPorts();
  int checkedTransport() const;
  void showTranMsg();
  int rateFromBox(const QComboBox* box, const std::string& name) const;
  void RadioButtonClick();
  void cbb_LanguageChange(int index);
  void FormShow();
  void LoadMainDefaults();
  void SaveMainDefaults();
  // The stored USB printer, once the list holds printers.
  void chooseStoredUsbPrinter();
  // What the USB port is told to open for the printer chosen in the list.
  std::string usbPortChoiceOfList() const;

  // Link test and parameters window.
  bool startTask(int code);
  void btn_TestClick();
  void btn_SetParaClick();
  void pause(std::int64_t protocolMs);
  void linkTestSucceeded();
  void linkTestFailed();
  // Empties status panel 0 when it still shows this window's running text.
  void dropRunningText();

  // Boot mode.
  void but_bootInClick();
  void but_bootOutClick();
  void Timer1Timer();
  void setLinkControlsEnabled(bool enabled);

  MainWindowServices services_;
  std::vector<QWidget*> captionControls_;
  MainControls ui_;
  TFrmPara* paraWindow_ = nullptr;
  TimeLeftEstimate transferTimeLeft_;
  std::function<void(const std::vector<UsbDeviceName>&)> usbListener_;
  QtTranslations qtTranslations_;

  // The link as ReadLinkSettings last copied it.
  std::string comName_ = "COM1";
  std::string hostAddress_ = LinkSettings{}.hostAddress;
  int hostPort_ = LinkSettings{}.hostPort;
  std::string selUsbDevice_;
  // MainDefault's USB printer until a list with printers has come.
  std::string storedUsbChoice_;
  // Why the port of the latest task would not open, where more can be said.
  std::string openAdvice_;
  // The status this window showed when its task started.
  QString runningText_;

  bool connected_ = false;
  int waitCounter_ = 0;
  bool linkTestRunning_ = false;  // a link test of this window awaits its verdict
  bool shown_ = false;

  // Declared last: the engine stops before the ports and the owner thread go.
  QtOwnerThread owner_;
  TUSBComm usb_{owner_};
  UdpClient udp_;
  std::unique_ptr<SerialPort> serial_;
  std::unique_ptr<TCommThread> engine_;
  std::vector<std::shared_ptr<void>> keptUntilShutdown_;
};

}  // namespace ombrel::app
