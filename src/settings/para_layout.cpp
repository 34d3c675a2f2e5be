#include "settings/para_layout.h"

namespace ombrel {

namespace {

ControlSpec make(const char* name, ControlKind kind, std::string text) {
  ControlSpec entry;
  entry.name = name;
  entry.kind = kind;
  entry.text = std::move(text);
  return entry;
}

ControlSpec edit(const char* name, const char* text) { return make(name, ControlKind::Edit, text); }

ControlSpec list(const char* name, std::vector<std::string> items, int index) {
  ControlSpec entry = make(name, ControlKind::List, index >= 0 ? items[static_cast<std::size_t>(index)] : "");
  entry.items = std::move(items);
  entry.index = index;
  return entry;
}

ControlSpec languageList(const char* name, ItemList items, int index, const char* text = "") {
  ControlSpec entry = make(name, ControlKind::List, text);
  entry.languageItems = items;
  entry.index = index;
  return entry;
}

ControlSpec group(const char* name, std::vector<std::string> items, int index) {
  ControlSpec entry = make(name, ControlKind::RadioGroup, "");
  entry.items = std::move(items);
  entry.index = index;
  return entry;
}

ControlSpec languageGroup(const char* name, ItemList items, int index) {
  ControlSpec entry = make(name, ControlKind::RadioGroup, "");
  entry.languageItems = items;
  entry.index = index;
  return entry;
}

ControlSpec radio(const char* name, const char* set, bool checked) {
  ControlSpec entry = make(name, ControlKind::Radio, "");
  entry.radioSet = set;
  entry.checked = checked;
  return entry;
}

ControlSpec check(const char* name, bool checked) {
  ControlSpec entry = make(name, ControlKind::Check, "");
  entry.checked = checked;
  return entry;
}

ControlSpec button(const char* name) { return make(name, ControlKind::Button, ""); }

const std::vector<std::string> kRates = {"1200", "2400", "4800", "9600", "19200", "38400", "57600", "115200", "230400"};

}  // namespace

const std::vector<std::string>& codePageItems() {
  static const std::vector<std::string> items = {"CP932 SHIFT_JIS",
                                                 "UNICODE UCS-2",
                                                 "CP950:BIG5",
                                                 "CP936:GBK",
                                                 "CP437:USA/Standard Europe",
                                                 "Katakana",
                                                 "CP850:Latin1;Western European",
                                                 "CP860:Portuguese",
                                                 "CP863:French Canadian",
                                                 "CP865:Nordic",
                                                 "CP1251:Cyrillic",
                                                 "CP866:Russian;Cyrillic",
                                                 "CP1025:Cyrillic/Bulgarian",
                                                 "CP773:Estonian/Lithuanian/Latvian",
                                                 "Iran",
                                                 "Reversed",
                                                 "Reversed",
                                                 "Reversed",
                                                 "Reversed",
                                                 "CP862:Hebrew",
                                                 "CP1252:Latin1",
                                                 "CP1253:Greek",
                                                 "CP852:Latin2",
                                                 "CP858:Latin1+Euro",
                                                 "Iran II",
                                                 "CP1117:Latvian",
                                                 "CP864:Arabic",
                                                 "ISO-8859-1:West Europe",
                                                 "CP737:Greek",
                                                 "CP1257:Baltic",
                                                 "Thai",
                                                 "CP720:Arabic",
                                                 "CP855:Cyrillic",
                                                 "CP857:Turkish",
                                                 "CP1250:Central Eurpoe",
                                                 "CP775:Estonian/Lithuanian/Latvian",
                                                 "CP1254:Turkish",
                                                 "CP1255:Hebrew",
                                                 "CP1256:Arabic",
                                                 "CP1258:Vietnam",
                                                 "ISO-8859-2:Latin2",
                                                 "ISO-8859-3:Latin3",
                                                 "ISO-8859-4:Baltic",
                                                 "ISO-8859-5:Cyrillic",
                                                 "ISO-8859-6:Arabic",
                                                 "ISO-8859-7:Greek",
                                                 "ISO-8859-8:Hebrew",
                                                 "ISO-8859-9:Turkish",
                                                 "ISO-8859-15:Latin3",
                                                 "Thai2",
                                                 "CP856:Hebrew",
                                                 "CP874:Thai",
                                                 "EUC-KR"};
  return items;
}

const std::vector<ControlSpec>& paraLayout() {
  static const std::vector<ControlSpec> layout = {
      // Basic settings
      list("cbb_BauRate", kRates, 3),
      languageList("cbb_Flowcontrol", ItemList::FlowControl, -1, "软件流控"),
      list("cbb_Codepage", codePageItems(), 4),
      list("cbb_FontValue", {"9x17", "12x24", "9x24", "16x18"}, 1),
      languageList("cbb_Dark", ItemList::Dark, 1),
      list("cbb_Forcepaper", {"0X0A", "0X0D"}, 0),
      check("chk_buzzer", true),
      check("chk_CutPaper", true),
      check("chk_Drawer", false),
      check("chk_AutoprintLast", false),
      edit("edt_sleepTime", "60"),
      edit("edt_poweroffTime", "7200"),
      // Bluetooth
      edit("edt_lyName", ""),
      edit("edt_smlyName", ""),
      edit("edt_lyPsw", ""),
      edit("edt_lyType", "1"),
      languageGroup("rg_lyMode", ItemList::BluetoothMode, 1),
      languageGroup("rg_lyPswcheck", ItemList::BluetoothPswCheck, 0),
      languageList("cbb_lyWorkMode", ItemList::BluetoothWorkMode, 1),
      edit("edt_lyTestTxt", ""),
      // WiFi
      check("Chb_CloseWifi", false),
      edit("edt_NetworkName", ""),
      languageGroup("RadioGroup1", ItemList::CheckMode, 0),
      group("rg_1", {"NONE", "WEP-H", "WEP-A"}, 0),
      group("rg_2", {"WEP-H", "WEP-A"}, 0),
      group("rg_3", {"TPIK", "AES"}, 0),
      edit("edt_NetworkPsw", ""),
      radio("rb_AutoIp", "IpType", false),
      radio("rb_StaticIP", "IpType", true),
      radio("rb_WifiAp", "IpType", false),
      edit("edt_IPaddress", "192.168.1.87"),
      edit("edt_Mask", "255.255.255.0"),
      edit("edt_Gateway", "192.168.1.1"),
      edit("edt_Port", "9100"),
      // Wired network
      edit("edt_NetIPAddress", "192.168.1.87"),
      edit("edt_Subnetmask", "255.255.255.0"),
      edit("edt_gatewayt", "192.168.1.1"),
      edit("Edit3", "AB"),
      edit("Edit5", "CD"),
      edit("edt_macaddo", "65"),
      edit("edt_macaddt", "66"),
      edit("edt_macaddfr", "67"),
      edit("edt_macaddfor", "68"),
      edit("edt_Netport", "9100"),
      edit("edt_NetWorkPort", "12345678"),
      // Infrared
      radio("rb_notInfrared", "InfraredType", false),
      radio("rb_Infrared", "InfraredType", true),
      list("cbb_InfraredBaurate", {"9600", "19200", "38400", "57600", "115200"}, 0),
      languageList("cbb_irdaProtecl", ItemList::IrdaProtocol, 0),
      // Downloads
      edit("edt_Prgfile", ""),
      edit("edt_WaitTime", "5"),
      button("btn_UpdatePrg"),
      button("bt_firmware"),
      edit("edt_FontFile", ""),
      edit("edt_FontAddress", ""),
      list("ListBox1", {}, -1),
      edit("trk_LogoThreshold", "128"),  // kDefaultLogoThreshold
      check("chk_LogoDither", false),
      edit("edt_StartAddress", ""),
      edit("edt_ReadLength", ""),
      // Product
      edit("edt_DeviceName", ""),
      edit("edt_DeviceSerialNo", "1704269998"),
      radio("rb_Minus", "calculate", false),
      radio("rb_Plus", "calculate", false),
      languageList("cbb_UsbDeviceTpe", ItemList::UsbDeviceType, 1),
      languageList("cbb_PaperType", ItemList::PaperType, 1),
      languageList("cbb_PrinterOrder", ItemList::PrinterOrder, 1),
      edit("edt_RptTime", "30"),
      languageList("Cbx_Bluetooth", ItemList::BluetoothSeek, -1),
      edit("ed_Black_look_distance", "5"),
      edit("ed_Black_width", "5"),
      edit("edt_cutter_optocoupler", "5"),
      edit("edt_printer_opto", "5"),
  };
  return layout;
}

const ControlSpec* findControl(std::string_view name) {
  for (const auto& entry : paraLayout()) {
    if (entry.name == name) return &entry;
  }
  return nullptr;
}

}  // namespace ombrel
