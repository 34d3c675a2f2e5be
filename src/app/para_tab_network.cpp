// "网络设置": the wired interface's address, mask, gateway, MAC bytes and
// port, each with its own Set button, and the device box.

#include <QVBoxLayout>

#include "app/para_tabs.h"

namespace ombrel::app {

namespace {

constexpr int kMacByteWidth = 3;  // characters shown of a MAC byte

QLineEdit* macByte(ParaPageBuilder& b, const char* name) {
  QLineEdit* box = b.edit(name);
  fitCharacters(box, kMacByteWidth);
  return box;
}

}  // namespace

void buildNetworkTab(ParaPageBuilder& b) {
  QWidget* page = b.page("tab_Network", "网络设置");
  auto* group = b.untitledGroup();

  // The first two bytes are shown only; the four after them are set.
  auto* mac = new QHBoxLayout;
  for (const char* name : {"Edit3", "Edit5", "edt_macaddo", "edt_macaddt", "edt_macaddfr", "edt_macaddfor"}) {
    mac->addWidget(macByte(b, name));
  }
  mac->addStretch(1);

  auto* grid = new QGridLayout(group);
  addRow(grid, 0,
         {b.label("lbl_NetIPAddress", "IP 地址"), b.edit("edt_NetIPAddress"), b.button("btn_NetWorkSetIP", "设置")});
  addRow(grid, 1,
         {b.label("lbl_Subnetmask", "子网掩码"), b.edit("edt_Subnetmask"), b.button("btn_Subnetmask", "设置")});
  addRow(grid, 2, {b.label("lbl_gatewayt", "网关"), b.edit("edt_gatewayt"), b.button("btn_gatewayt", "设置")});
  grid->addWidget(b.label("lbl_Mac", "MAC"), 3, 0);
  grid->addLayout(mac, 3, 1);
  grid->addWidget(b.button("btn_netgatewayt", "设置"), 3, 2);
  addRow(grid, 4, {b.label("lbl_Netport", "端口"), b.edit("edt_Netport"), b.button("btn_Netport", "设置")});
  addRow(grid, 5, {b.label("lbl_NetWorkPort", "Device"), b.edit("edt_NetWorkPort")});
  grid->setColumnStretch(1, 1);

  auto* column = new QVBoxLayout(page);
  column->addWidget(group);
  column->addStretch(1);
}

}  // namespace ombrel::app
