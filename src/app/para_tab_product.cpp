// "产品设置": the device's name and serial number, the hardware settings and
// the black-mark sensor.

#include <QVBoxLayout>

#include "app/para_tabs.h"

namespace ombrel::app {

namespace {

QGroupBox* deviceGroup(ParaPageBuilder& b) {
  auto* group = b.group("grpDevice", "设备名称");
  // The direction in which the serial number steps after each device write.
  auto* step = new QHBoxLayout;
  step->addWidget(b.radio("rb_Minus", "-"));
  step->addWidget(b.radio("rb_Plus", "+"));
  step->addStretch(1);

  auto* grid = new QGridLayout(group);
  addRow(grid, 0, {b.boxLabel("lbl_DeviceName", "edt_DeviceName"), b.edit("edt_DeviceName")});
  addRow(grid, 1, {b.boxLabel("lbl_DeviceSerialNo", "edt_DeviceSerialNo"), b.edit("edt_DeviceSerialNo")});
  grid->addLayout(step, 2, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(b.button("btn_Rework", "返修"));
  buttons->addWidget(b.button("btn_SetDevicePara", "设置"));
  grid->addLayout(buttons, 3, 1);
  grid->setColumnStretch(1, 1);
  return group;
}

QGroupBox* hardwareGroup(ParaPageBuilder& b) {
  auto* group = b.group("grpHardware", "硬件设置");
  auto* recycle = new QHBoxLayout;
  recycle->addWidget(b.edit("edt_RptTime"), 1);
  recycle->addWidget(b.label("lbl_RptTimeUnit", "秒"));

  auto* grid = new QGridLayout(group);
  addRow(grid, 0,
         {b.label("lbl_UsbDeviceTpe", "USB 设备类型"), b.list("cbb_UsbDeviceTpe"),
          b.button("btn_SetUsbDeviceType", "设置")});
  addRow(grid, 1,
         {b.label("lbl_PaperType", "纸张类型"), b.list("cbb_PaperType"), b.button("btn_SetPaperType", "设置")});
  addRow(
      grid, 2,
      {b.label("lbl_PrinterOrder", "打印顺序"), b.list("cbb_PrinterOrder"), b.button("btn_SetPrinterOrder", "设置")});
  grid->addWidget(b.label("lbl_RptTime", "票据回收时间"), 3, 0);
  grid->addLayout(recycle, 3, 1);
  grid->addWidget(b.button("btn_SetRptTime", "设置"), 3, 2);
  addRow(grid, 4, {b.label("lbl_Bluetooth", "蓝牙选择"), b.list("Cbx_Bluetooth"), b.button("btn_bluetooth", "设置")});
  grid->setColumnStretch(1, 1);
  return group;
}

QLineEdit* distanceBox(ParaPageBuilder& b, const char* name) {
  QLineEdit* box = b.edit(name);
  fitCharacters(box, static_cast<int>(controlSpec(name).maxLength) + 1);
  return box;
}

QGroupBox* blackMarkGroup(ParaPageBuilder& b) {
  auto* group = b.group("grpBlackMark", "设置黑标");
  auto* grid = new QGridLayout(group);
  addRow(grid, 0, {b.button("bt_Set_black_mode", "设置黑标模式"), b.button("bt_Cance_black_mark", "取消黑标")});
  addRow(grid, 1,
         {b.boxLabel("lbl_Black_look_distance", "ed_Black_look_distance"), distanceBox(b, "ed_Black_look_distance"),
          b.button("But_Black_look_dis_set", "设置")});
  addRow(grid, 2,
         {b.boxLabel("lbl_Black_width", "ed_Black_width"), distanceBox(b, "ed_Black_width"),
          b.button("bt_Black_width_set", "设置")});
  addRow(grid, 3,
         {b.boxLabel("lbl_printer_opto", "edt_printer_opto"), distanceBox(b, "edt_printer_opto"),
          b.button("bt_printer_opto_set", "设置")});
  addRow(grid, 4,
         {b.boxLabel("lbl_cutter_optocoupler", "edt_cutter_optocoupler"), distanceBox(b, "edt_cutter_optocoupler"),
          b.button("bt_cutter_optocoupler_set", "设置")});
  addRow(grid, 5, {b.button("bt_Lookup_black_mark", "查找黑标"), b.button("bt_Cutting_paper", "切刀切纸")});
  grid->setColumnStretch(1, 1);
  grid->setRowStretch(6, 1);
  return group;
}

}  // namespace

void buildProductTab(ParaPageBuilder& b) {
  QWidget* page = b.page("tab_Product", "产品设置");
  auto* left = new QVBoxLayout;
  left->addWidget(deviceGroup(b));
  left->addWidget(hardwareGroup(b));
  left->addStretch(1);
  auto* row = new QHBoxLayout(page);
  row->addLayout(left);
  row->addWidget(blackMarkGroup(b));
}

}  // namespace ombrel::app
