// "蓝牙设置": the Bluetooth module's names, password, model, mode and
// authentication, a free command text and the work mode.

#include <QVBoxLayout>

#include "app/para_tabs.h"

namespace ombrel::app {

void buildBluetoothTab(ParaPageBuilder& b) {
  QWidget* page = b.page("tab_Bluetooth", "蓝牙设置");

  auto* bluetooth = b.group("grpBluetooth", "蓝牙设置");
  auto* grid = new QGridLayout(bluetooth);
  addRow(grid, 0,
         {b.boxLabel("lbl_lyName", "edt_lyName"), b.edit("edt_lyName"), b.boxLabel("lbl_smlyName", "edt_smlyName"),
          b.edit("edt_smlyName")});
  addRow(grid, 1,
         {b.boxLabel("lbl_lyPsw", "edt_lyPsw"), b.edit("edt_lyPsw"), b.label("lbl_lyType", "蓝牙型号"),
          b.edit("edt_lyType")});
  grid->addWidget(b.radioGroup("rg_lyMode", "蓝牙模式", 1), 2, 0, 1, 2);
  grid->addWidget(b.radioGroup("rg_lyPswcheck", "密码鉴权", 1), 2, 2, 1, 2);
  grid->addWidget(b.button("btn_SetlyPara", "设置"), 3, 3, Qt::AlignRight);
  grid->setColumnStretch(1, 1);
  grid->setColumnStretch(3, 1);

  auto* command = b.group("grpBluetoothComm", controlSpec("edt_lyTestTxt").caption);
  auto* commandRow = new QHBoxLayout(command);
  commandRow->addWidget(b.edit("edt_lyTestTxt"), 1);
  commandRow->addWidget(b.button("btn_SendLYTxt", "发送"));

  auto* workMode = b.group("grpWorkMode", "工作模式");
  auto* workRow = new QHBoxLayout(workMode);
  workRow->addWidget(b.label("lbl_lyWorkMode", "蓝牙工作模式"));
  workRow->addWidget(b.list("cbb_lyWorkMode"), 1);
  workRow->addWidget(b.button("btn_lyWorkMode", "设置"));

  auto* column = new QVBoxLayout(page);
  column->addWidget(bluetooth);
  column->addWidget(command);
  column->addWidget(workMode);
  column->addStretch(1);
}

}  // namespace ombrel::app
