// "基础设置": restoring the printer's defaults, and the basic parameters with
// their Set buttons.

#include <QVBoxLayout>

#include "app/para_tabs.h"

namespace ombrel::app {

namespace {
constexpr int kCodePageWidth = 24;  // characters shown of a code page's name
}  // namespace

void buildBasicTab(ParaPageBuilder& b) {
  QWidget* page = b.page("tab_Basic", "基础设置");

  auto* reset = b.group("grpReset", "恢复默认设置");
  auto* resetRow = new QHBoxLayout(reset);
  resetRow->addWidget(b.button("btn_SetReset", "恢复默认设置"));
  resetRow->addStretch(1);

  auto* basic = b.group("grpBasic", "基本参数");
  auto* links = new QGridLayout;
  addRow(links, 0, {b.label("lbl_BauRate", "波特率："), b.list("cbb_BauRate"), b.button("btn_SetBauRate", "设置")});
  addRow(links, 1,
         {b.label("lbl_Flowcontrol", "流控"), b.list("cbb_Flowcontrol"), b.button("btn_flowcontrol", "设置")});
  QComboBox* codePage = b.list("cbb_Codepage");
  codePage->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  codePage->setMinimumContentsLength(kCodePageWidth);
  addRow(links, 2, {b.label("lbl_Codepage", "设置语言:"), codePage, b.button("btn_SetCodepage", "设置")});
  links->addWidget(b.button("btn_SetAllPara", "设置全部参数"), 3, 1, 1, 2, Qt::AlignRight);
  links->setColumnStretch(1, 1);

  // Density, paper feed, font and the switches: one command.
  auto* switches = b.untitledGroup();
  auto* switchGrid = new QGridLayout(switches);
  addRow(switchGrid, 0,
         {b.label("lbl_Dark", "打印浓度:"), b.list("cbb_Dark"), b.label("lbl_Forcepaper", "进纸:"),
          b.list("cbb_Forcepaper")});
  addRow(switchGrid, 1, {b.label("lbl_FontValue", "字体设置:"), b.list("cbb_FontValue")});
  switchGrid->addWidget(b.check("chk_buzzer", "蜂鸣器"), 2, 0, 1, 2);
  switchGrid->addWidget(b.check("chk_Drawer", "钱箱"), 2, 2, 1, 2);
  switchGrid->addWidget(b.check("chk_CutPaper", "切刀"), 3, 0, 1, 2);
  switchGrid->addWidget(b.check("chk_AutoprintLast", "自动打印最后一单"), 3, 2, 1, 2);
  switchGrid->addWidget(b.button("btn_SetForcepaper", "设置"), 4, 3, Qt::AlignRight);
  switchGrid->setColumnStretch(1, 1);
  switchGrid->setColumnStretch(3, 1);

  auto* times = b.untitledGroup();
  auto* timeGrid = new QGridLayout(times);
  addRow(timeGrid, 0,
         {b.label("lbl_sleepTime", "休眠时间:"), b.edit("edt_sleepTime"), b.label("lbl_sleepTimeUnit", "秒")});
  addRow(timeGrid, 1,
         {b.label("lbl_poweroffTime", "关机时间:"), b.edit("edt_poweroffTime"), b.label("lbl_poweroffTimeUnit", "秒"),
          b.button("btn_SetpoweroffTime", "设置")});
  timeGrid->setColumnStretch(1, 1);

  auto* basicColumn = new QVBoxLayout(basic);
  basicColumn->addLayout(links);
  basicColumn->addWidget(switches);
  basicColumn->addWidget(times);

  auto* column = new QVBoxLayout(page);
  column->addWidget(reset);
  column->addWidget(basic);
  column->addStretch(1);
}

}  // namespace ombrel::app
