// "程序下载": program update, font library download, NV logos and reading
// printer memory back.

#include <QHBoxLayout>
#include <QVBoxLayout>

#include "app/logo_preview_box.h"
#include "app/para_tabs.h"

namespace ombrel::app {

namespace {

constexpr int kShortBoxWidth = 10;  // characters shown of an address or length

QGroupBox* programGroup(ParaPageBuilder& b) {
  auto* group = b.group("grpUpdatePrg", "程序更新");
  // The stored settings choose which of the two update buttons shows; both
  // keep their place so the tab does not move when one is hidden.
  QPushButton* update = b.button("btn_UpdatePrg", "更新");
  QPushButton* firmware = b.button("bt_firmware", "固件更新");
  for (QPushButton* button : {update, firmware}) {
    QSizePolicy policy = button->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    button->setSizePolicy(policy);
  }
  QLineEdit* wait = b.edit("edt_WaitTime");
  fitCharacters(wait, kShortBoxWidth);

  auto* grid = new QGridLayout(group);
  grid->addWidget(b.edit("edt_Prgfile"), 0, 0, 1, 3);
  grid->addWidget(b.button("btn_OpenPrg", "浏览"), 0, 3);
  addRow(grid, 1, {b.label("lbl_WaitTime", "等待时间"), wait});
  grid->addWidget(update, 1, 3);
  grid->addWidget(firmware, 1, 3);
  grid->setColumnStretch(2, 1);
  return group;
}

QGroupBox* fontGroup(ParaPageBuilder& b) {
  auto* group = b.group("grpUpdateFont", "更新字库");
  QLineEdit* address = b.edit("edt_FontAddress");
  fitCharacters(address, kShortBoxWidth);
  auto* grid = new QGridLayout(group);
  grid->addWidget(b.edit("edt_FontFile"), 0, 0, 1, 3);
  grid->addWidget(b.button("btn_OpenFont", "浏览"), 0, 3);
  addRow(grid, 1, {b.label("lbl_FontAddress", "字库起始地址"), address});
  grid->addWidget(b.button("btn_UpdateFont", "更新"), 1, 3);
  // Also read back after a logo download.
  grid->addWidget(b.check("chk_VerifyDownload", "下载后校验"), 2, 0, 1, 4);
  grid->setColumnStretch(2, 1);
  return group;
}

QGroupBox* logoGroup(ParaPageBuilder& b) {
  auto* group = b.group("grpNvLogo", "NV-LOGO");
  auto* buttons = new QVBoxLayout;
  buttons->addWidget(b.button("btn_OpenLogo", "浏览"));
  buttons->addWidget(b.button("btn_DeleteLogo", "删除"));
  buttons->addWidget(b.button("btn_DownLogo", "下载"));
  buttons->addWidget(b.button("btn_PrintLogo", "打印"));
  auto* zoom = b.button("btn_ZoomLogo", "放大");
  // Enabled while the preview shows a logo's dots.
  zoom->setEnabled(false);
  buttons->addWidget(zoom);
  buttons->addStretch(1);
  // How pictures become black and white; the preview shows the outcome.
  auto* reduction = new QHBoxLayout;
  reduction->addWidget(b.label("lbl_LogoThreshold", "阈值"));
  reduction->addWidget(b.slider("trk_LogoThreshold"), 1);
  reduction->addWidget(b.check("chk_LogoDither", "抖动"));
  auto* grid = new QGridLayout(group);
  // The logos of this run; never stored.
  grid->addWidget(b.listBox("ListBox1"), 0, 0);
  grid->addLayout(buttons, 0, 1);
  grid->addLayout(reduction, 1, 0, 1, 2);
  grid->addWidget(new LogoPreviewBox(group), 2, 0, 1, 2);
  grid->setColumnStretch(0, 1);
  grid->setRowStretch(2, 1);
  return group;
}

QGroupBox* readBackGroup(ParaPageBuilder& b) {
  auto* group = b.group("grpReadFont", "加载字库");
  QLineEdit* start = b.edit("edt_StartAddress");
  QLineEdit* length = b.edit("edt_ReadLength");
  fitCharacters(start, kShortBoxWidth);
  fitCharacters(length, kShortBoxWidth);
  auto* grid = new QGridLayout(group);
  addRow(grid, 0, {b.label("lbl_StartAddress", "起始地址"), start});
  addRow(grid, 1, {b.label("lbl_ReadLength", "读取长度"), length});
  grid->addWidget(b.button("btn_ReadFont", "读取"), 1, 3);
  grid->setColumnStretch(2, 1);
  grid->setRowStretch(2, 1);
  return group;
}

}  // namespace

void buildDownloadTab(ParaPageBuilder& b) {
  QWidget* page = b.page("tab_Download", "程序下载");
  auto* grid = new QGridLayout(page);
  grid->addWidget(programGroup(b), 0, 0);
  grid->addWidget(fontGroup(b), 0, 1);
  grid->addWidget(logoGroup(b), 1, 0);
  grid->addWidget(readBackGroup(b), 1, 1);
  grid->setColumnStretch(0, 1);
  grid->setColumnStretch(1, 1);
  // Spare height goes to the logo preview.
  grid->setRowStretch(1, 1);
}

}  // namespace ombrel::app
