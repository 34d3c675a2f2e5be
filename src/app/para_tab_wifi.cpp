// "WIFI设置": the WiFi network's name, authentication, cipher and key, WiFi
// off, and how the WiFi module gets its address.

#include <QStackedWidget>
#include <QVBoxLayout>

#include "app/para_tabs.h"

namespace ombrel::app {

namespace {

QGroupBox* keyGroup(ParaPageBuilder& b) {
  auto* group = b.group("grpWifiKey", "秘钥设置");
  // The cipher group that belongs to the chosen authentication stands in
  // one place; the other two are hidden there.
  auto* ciphers = new QStackedWidget(group);
  ciphers->addWidget(b.radioGroup("rg_1", "加密方式", 3));
  ciphers->addWidget(b.radioGroup("rg_2", "加密方式", 3));
  ciphers->addWidget(b.radioGroup("rg_3", "加密方式", 3));

  auto* grid = new QGridLayout(group);
  grid->addWidget(b.check("Chb_CloseWifi", "关闭WIFI"), 0, 0, 1, 2);
  addRow(grid, 1, {b.boxLabel("lbl_NetworkName", "edt_NetworkName"), b.edit("edt_NetworkName")});
  grid->addWidget(b.radioGroup("RadioGroup1", "认证模式", 2), 2, 0, 1, 2);
  grid->addWidget(ciphers, 3, 0, 1, 2);
  addRow(grid, 4, {b.boxLabel("lbl_NetworkPsw", "edt_NetworkPsw"), b.edit("edt_NetworkPsw")});
  grid->addWidget(b.button("btn_SetWifiPara", "设置"), 5, 1, Qt::AlignRight);
  grid->setColumnStretch(1, 1);
  grid->setRowStretch(6, 1);
  return group;
}

QGroupBox* addressGroup(ParaPageBuilder& b) {
  auto* group = b.group("grpIp", "IP设置");
  auto* modes = new QHBoxLayout;
  modes->addWidget(b.radio("rb_AutoIp", "动态IP"));
  modes->addWidget(b.radio("rb_StaticIP", "静态IP"));
  modes->addWidget(b.radio("rb_WifiAp", "WIFI-AP 模式"));
  modes->addStretch(1);

  auto* grid = new QGridLayout(group);
  grid->addLayout(modes, 0, 0, 1, 2);
  addRow(grid, 1, {b.label("lbl_IPaddress", "IP 地址"), b.edit("edt_IPaddress")});
  addRow(grid, 2, {b.label("lbl_Mask", "子网掩码"), b.edit("edt_Mask")});
  addRow(grid, 3, {b.label("lbl_Gateway", "网关"), b.edit("edt_Gateway")});
  addRow(grid, 4, {b.label("lbl_Port", "端口"), b.edit("edt_Port")});
  grid->addWidget(b.button("btn_SetIpPara", "设置"), 5, 1, Qt::AlignRight);
  grid->setColumnStretch(1, 1);
  grid->setRowStretch(6, 1);
  return group;
}

}  // namespace

void buildWifiTab(ParaPageBuilder& b) {
  QWidget* page = b.page("tab_Wifi", "WIFI设置");
  auto* row = new QHBoxLayout(page);
  row->addWidget(keyGroup(b), 1);
  row->addWidget(addressGroup(b), 1);
}

}  // namespace ombrel::app
