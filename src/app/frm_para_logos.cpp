// The NV logo list of the download tab: adding and removing pictures, and the
// preview that follows the list, its selection and the reduction chosen.

#include <QCheckBox>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>

#include "app/frm_main.h"
#include "app/frm_para.h"
#include "app/logo_preview_box.h"
#include "app/logo_zoom_window.h"
#include "commands/logo_transfer.h"

namespace ombrel::app {

namespace {
constexpr const char* kLogoList = "ListBox1";
}  // namespace

void TFrmPara::connectLogos() {
  connect(controls_.widget<QPushButton>("btn_OpenLogo"), &QPushButton::clicked, this, [this] { btn_OpenLogoClick(); });
  connect(controls_.widget<QPushButton>("btn_DeleteLogo"), &QPushButton::clicked, this,
          [this] { btn_DeleteLogoClick(); });
  auto* list = controls_.widget<QListWidget>(kLogoList);
  const auto refresh = [this] { showLogoPreview(); };
  connect(list, &QListWidget::currentRowChanged, this, refresh);
  connect(list->model(), &QAbstractItemModel::rowsInserted, this, refresh);
  connect(list->model(), &QAbstractItemModel::rowsRemoved, this, refresh);
  connect(controls_.widget<QPushButton>("btn_ZoomLogo"), &QPushButton::clicked, this, [this] { btn_ZoomLogoClick(); });
  connect(controls_.widget<QSlider>("trk_LogoThreshold"), &QSlider::valueChanged, this, refresh);
  connect(controls_.widget<QCheckBox>("chk_LogoDither"), &QCheckBox::toggled, this, refresh);
}

void TFrmPara::btn_OpenLogoClick() {
  const auto path = mainWindow_.messageBoxes().openFile({}, kLogoFileFilter);
  auto* list = controls_.widget<QListWidget>(kLogoList);
  if (path) list->addItem(QString::fromStdString(*path));
  // Confirmed or not, the first entry is selected.
  if (list->count() > 0) list->setCurrentRow(0);
}

void TFrmPara::btn_DeleteLogoClick() {
  auto* list = controls_.widget<QListWidget>(kLogoList);
  if (list->count() == 0) return;
  const int selected = list->currentRow();
  delete list->takeItem(selected >= 0 ? selected : list->count() - 1);
}

void TFrmPara::showLogoPreview() {
  LogoPreviewBox* preview = LogoPreviewBox::in(*this);
  preview->showLogos(controls_.items(kLogoList), controls_.index(kLogoList), logoReductionOf(controls_));
  controls_.widget<QPushButton>("btn_ZoomLogo")->setEnabled(!preview->dots().isNull());
  if (logoZoom_ != nullptr) logoZoom_->showDots(preview->dots());
}

void TFrmPara::btn_ZoomLogoClick() {
  if (logoZoom_ == nullptr) logoZoom_ = new LogoZoomWindow(this);
  logoZoom_->showDots(LogoPreviewBox::in(*this)->dots());
  logoZoom_->show();
  logoZoom_->raise();
}

}  // namespace ombrel::app
