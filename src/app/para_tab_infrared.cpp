// "红外设置": the infrared link on or off, its rate and protocol.

#include <QVBoxLayout>

#include "app/para_tabs.h"

namespace ombrel::app {

void buildInfraredTab(ParaPageBuilder& b) {
  QWidget* page = b.page("tab_Infrared", "红外设置");
  auto* group = b.untitledGroup();

  auto* choices = new QHBoxLayout;
  choices->addWidget(b.radio("rb_notInfrared", "不启用红外"));
  choices->addWidget(b.radio("rb_Infrared", "启用红外"));
  choices->addStretch(1);

  auto* grid = new QGridLayout(group);
  grid->addLayout(choices, 0, 0, 1, 2);
  addRow(grid, 1, {b.label("lbl_InfraredBaurate", "红外波特率"), b.list("cbb_InfraredBaurate")});
  addRow(grid, 2, {b.label("lbl_irdaProtecl", "红外协议"), b.list("cbb_irdaProtecl")});
  grid->addWidget(b.button("btn_SetInfraredPara", "设置"), 3, 1, Qt::AlignRight);
  grid->setColumnStretch(1, 1);

  auto* column = new QVBoxLayout(page);
  column->addWidget(group);
  column->addStretch(1);
}

}  // namespace ombrel::app
