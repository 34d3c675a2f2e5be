#include "app/frm_para.h"

#include <QShowEvent>
#include <QVBoxLayout>

#include "app/frm_main.h"
#include "app/widget_captions.h"

namespace ombrel::app {

namespace {
constexpr int kInitialWidth = 640;
constexpr int kInitialHeight = 480;
constexpr int kStatusPanel0Width = 250;
}  // namespace

TFrmPara::TFrmPara(TFrmMain& mainWindow) : mainWindow_(mainWindow) {
  setWindowTitle(QStringLiteral("Ombrel Setting Tool"));
  setModal(true);
  tabs_ = new QTabWidget(this);
  statusBar_ = named(new QStatusBar(this), "StatusBar1", captionControls_);
  statusBar_->setSizeGripEnabled(false);
  for (QLabel*& panel : statusPanels_) {
    panel = new QLabel(statusBar_);
    panel->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  }
  statusPanels_[0]->setMinimumWidth(kStatusPanel0Width);
  statusBar_->addWidget(statusPanels_[0], 1);
  statusBar_->addWidget(statusPanels_[1], 1);

  auto* column = new QVBoxLayout(this);
  column->addWidget(tabs_, 1);
  column->addWidget(statusBar_);
  resize(kInitialWidth, kInitialHeight);
}

TFrmPara::~TFrmPara() {
  mainWindow_.setParaWindow(nullptr);
  mainWindow_.engine().setNotifyWindow(mainWindow_);
}

void TFrmPara::showTransferText(const std::string& text) {
  statusPanels_[1]->setText(QString::fromStdString(text));
}

void TFrmPara::engineMessage(EngineMessage message, int, const std::string& text) {
  if (message == kStatusChanged || message == kTaskFailed) {
    statusPanels_[0]->setText(QString::fromStdString(text));
  }
}

std::string TFrmPara::caption() const { return windowTitle().toStdString(); }

void TFrmPara::setCaption(const std::string& caption) { setWindowTitle(QString::fromStdString(caption)); }

std::vector<CaptionControl> TFrmPara::controls() {
  std::vector<CaptionControl> result;
  for (QWidget* widget : captionControls_) result.push_back(captionControlFor(*widget));
  return result;
}

void TFrmPara::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // Restoring a minimised window is no new showing.
  if (!event->spontaneous()) FormShow();
}

void TFrmPara::done(int result) {
  if (isVisible()) FormClose();
  QDialog::done(result);
}

void TFrmPara::FormShow() {
  statusPanels_[0]->clear();
  mainWindow_.engine().setNotifyWindow(*this);
}

void TFrmPara::FormClose() {
  mainWindow_.engine().setNotifyWindow(mainWindow_);
  mainWindow_.paraWindowClosed();
}

}  // namespace ombrel::app
