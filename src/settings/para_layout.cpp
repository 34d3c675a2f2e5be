#include "settings/para_layout.h"

#include <stdexcept>

namespace ombrel {

namespace {

ControlSpec make(const char* name, ControlKind kind, std::string text) {
  ControlSpec entry;
  entry.name = name;
  entry.kind = kind;
  entry.text = std::move(text);
  return entry;
}

ControlSpec edit(const char* name, const char* text, std::size_t maxLength = 0, const char* caption = nullptr) {
  ControlSpec entry = make(name, ControlKind::Edit, text);
  entry.maxLength = maxLength;
  entry.caption = caption;
  return entry;
}

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

// The settings key columns of a row.
ControlSpec stored(ControlSpec entry, const char* key, KeyKind kind, std::string keyDefault, int defaultItem = -1) {
  entry.key = key;
  entry.keyKind = kind;
  entry.keyDefault = std::move(keyDefault);
  entry.defaultItem = defaultItem;
  return entry;
}
ControlSpec text(ControlSpec entry, const char* key, const char* keyDefault) {
  return stored(std::move(entry), key, KeyKind::Text, keyDefault);
}
ControlSpec listText(ControlSpec entry, const char* key, const char* keyDefault) {
  return stored(std::move(entry), key, KeyKind::ListText, keyDefault);
}
ControlSpec fallback(ControlSpec entry, const char* key, int defaultItem) {
  return stored(std::move(entry), key, KeyKind::ListFallback, "", defaultItem);
}
ControlSpec groupIndex(ControlSpec entry, const char* key, const char* keyDefault) {
  return stored(std::move(entry), key, KeyKind::GroupIndex, keyDefault);
}
// The first button of a set carries the set's key, named like the set.
ControlSpec radioSet(const char* firstRadio, const char* set, bool checked, const char* keyDefault) {
  return stored(radio(firstRadio, set, checked), set, KeyKind::RadioSet, keyDefault);
}
ControlSpec boolean(ControlSpec entry, const char* key, bool on) {
  return stored(std::move(entry), key, KeyKind::Boolean, on ? "1" : "0");
}
ControlSpec unsaved(ControlSpec entry) {
  entry.saved = false;
  return entry;
}

// The printer's value for each item of a list or radio group.
ControlSpec valued(ControlSpec entry, std::vector<int> values) {
  entry.itemValues = std::move(values);
  return entry;
}
// A list of numbers: each item shows its number and stands for it.
ControlSpec numberList(const char* name, const std::vector<int>& numbers, int index) {
  std::vector<std::string> items;
  for (int number : numbers) items.push_back(std::to_string(number));
  return valued(list(name, std::move(items), index), numbers);
}

ControlSpec typed(ControlSpec entry, Typing typing) {
  entry.typing = typing;
  return entry;
}
ControlSpec digits(ControlSpec entry) { return typed(std::move(entry), Typing::Digits); }
ControlSpec password(ControlSpec entry) { return typed(std::move(entry), Typing::Password); }
ControlSpec ranged(ControlSpec entry, int minimum, int maximum) {
  entry.range = NumberRange{minimum, maximum};
  return entry;
}
// Shown, changed only through the settings file.
ControlSpec shownOnly(ControlSpec entry) {
  entry.readOnly = true;
  return entry;
}
ControlSpec disabled(ControlSpec entry) {
  entry.enabled = false;
  return entry;
}

constexpr std::size_t kTimeDigits = 9;         // up to 999999999 seconds
constexpr std::size_t kAddressLength = 15;     // "255.255.255.255"
constexpr std::size_t kRecycleTimeDigits = 3;  // up to 999 seconds, of which the low byte is sent
constexpr std::size_t kDistanceDigits = 3;
constexpr int kShortestDistance = 1;  // millimetres; the printer takes one byte
constexpr int kLongestDistance = 255;

// A dotted address box; with a warning key, checked as the operator leaves it.
ControlSpec addressBox(const char* name, const char* text, const char* warningKey = nullptr) {
  ControlSpec entry = typed(edit(name, text, kAddressLength), Typing::Address);
  if (warningKey != nullptr) {
    entry.check = BoxCheck::AddressOnLeave;
    entry.checkWarning = warningKey;
  }
  return entry;
}

// A black-mark distance box, checked on Enter.
ControlSpec distanceBox(const char* name, const char* caption) {
  ControlSpec entry = ranged(digits(edit(name, "5", kDistanceDigits, caption)), kShortestDistance, kLongestDistance);
  entry.check = BoxCheck::RangeOnEnter;
  return entry;
}

const std::vector<int> kRates = {1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200, 230400};

// The printer's code page numbers: the first four items are 252 to 255, the
// last (EUC-KR) 250, every other its position minus 4.
std::vector<int> codePageValues() {
  const std::size_t count = codePageItems().size();
  std::vector<int> values;
  for (std::size_t item = 0; item < count; ++item) {
    const int position = static_cast<int>(item);
    values.push_back(item < 4 ? 252 + position : item + 1 == count ? 250 : position - 4);
  }
  return values;
}

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
      listText(numberList("cbb_BauRate", kRates, 3), "BaudRate", "9600"),
      listText(valued(list("cbb_Codepage", codePageItems(), 4), codePageValues()), "CodePage",
               "CP437:USA/Standard Europe"),
      // The font and density bits of the switch options byte.
      listText(valued(list("cbb_FontValue", {"9x17", "12x24", "9x24", "16x18"}, 1), {0x00, 0x40, 0x08, 0x48}),
               "FontValue", "12x24"),
      fallback(valued(languageList("cbb_Dark", ItemList::Dark, 1), {0x00, 0x80, 0x01, 0x81}), "Dark", 1),
      listText(valued(list("cbb_Forcepaper", {"0X0A", "0X0D"}, 0), {0x00, 0x01}), "ForcePaper", "0X0A"),
      boolean(check("chk_buzzer", true), "buzzer", true),
      boolean(disabled(check("chk_Drawer", false)), "Drawer", false),
      boolean(check("chk_CutPaper", true), "CutPaper", true),
      boolean(disabled(check("chk_AutoprintLast", false)), "AutoprintLast", false),
      text(digits(edit("edt_sleepTime", "60", kTimeDigits)), "sleepTime", "600"),
      text(digits(edit("edt_poweroffTime", "7200", kTimeDigits)), "poweroffTime", "7200"),
      // Bluetooth
      text(edit("edt_lyName", "", 20, "蓝牙名称"), "BlueToolthName", ""),
      text(edit("edt_smlyName", "", 20, "双模蓝牙名称"), "MulBlueToolthName", ""),
      text(password(edit("edt_lyPsw", "", 13, "蓝牙密码")), "BlueToolthPsw", ""),
      text(digits(edit("edt_lyType", "1")), "BlueToolthType", "1"),
      groupIndex(valued(languageGroup("rg_lyMode", ItemList::BluetoothMode, 1), {0, 1, 3}), "BlueToolthMode", "1"),
      groupIndex(valued(languageGroup("rg_lyPswcheck", ItemList::BluetoothPswCheck, 0), {1, 2, 0}), "BlueToolthCheck",
                 "0"),
      fallback(languageList("cbb_lyWorkMode", ItemList::BluetoothWorkMode, 1), "BlueToolthWorkMode", 1),
      // As much as one command's data holds.
      text(edit("edt_lyTestTxt", "", 1016, "蓝牙通讯"), "BlueToolthCmd", ""),
      // WiFi: texts whose length goes in one byte
      text(edit("edt_NetworkName", "", 255, "网络名称"), "NetworkName", ""),
      groupIndex(languageGroup("RadioGroup1", ItemList::CheckMode, 0), "WifiCheckMode", "0"),
      groupIndex(group("rg_1", {"NONE", "WEP-H", "WEP-A"}, 0), "Jiami1", "0"),
      groupIndex(group("rg_2", {"WEP-H", "WEP-A"}, 0), "Jiami2", "0"),
      groupIndex(group("rg_3", {"TPIK", "AES"}, 0), "Jiami3", "0"),
      text(password(edit("edt_NetworkPsw", "", 255, "秘钥")), "NetworkPsw", ""),
      boolean(check("Chb_CloseWifi", false), "WifiSEEK", true),
      radioSet("rb_AutoIp", "IpType", false, "1"),
      radio("rb_StaticIP", "IpType", true),
      radio("rb_WifiAp", "IpType", false),
      text(addressBox("edt_IPaddress", "192.168.1.87", "SIPError"), "IPaddress", "192.168.1.87"),
      text(addressBox("edt_Mask", "255.255.255.0", "SMaskError"), "Maskaddress", "255.255.255.0"),
      text(addressBox("edt_Gateway", "192.168.1.1", "sGatewayError"), "Gatewayaddress", "192.168.1.1"),
      text(digits(edit("edt_Port", "9100")), "Port", "9100"),
      // Wired network
      text(addressBox("edt_NetIPAddress", "192.168.1.87", "SIPError"), "NetIPAddress", "192.168.1.87"),
      addressBox("edt_Subnetmask", "255.255.255.0", "SIPError"),
      addressBox("edt_gatewayt", "192.168.1.1"),
      // The first two MAC bytes are shown only.
      shownOnly(edit("Edit3", "AB")),
      shownOnly(edit("Edit5", "CD")),
      edit("edt_macaddo", "65"),
      edit("edt_macaddt", "66"),
      edit("edt_macaddfr", "67"),
      edit("edt_macaddfor", "68"),
      ranged(digits(edit("edt_Netport", "9100", 5)), 2, 65535),
      text(edit("edt_NetWorkPort", "12345678", 8), "NetWorkPort", "1345678"),
      // Infrared
      radioSet("rb_notInfrared", "InfraredType", false, "1"),
      radio("rb_Infrared", "InfraredType", true),
      listText(list("cbb_InfraredBaurate", {"9600", "19200", "38400", "57600", "115200"}, 0), "InfraredBaurate",
               "9600"),
      fallback(languageList("cbb_irdaProtecl", ItemList::IrdaProtocol, 0), "irdaProtecl", 0),
      // Downloads
      text(edit("edt_Prgfile", ""), "PrgFile", ""),
      text(edit("edt_FontFile", ""), "FontFile", ""),
      text(edit("edt_FontAddress", ""), "FontAddress", ""),
      // Off by default: what a printer returns to a read is its own affair.
      boolean(check("chk_VerifyDownload", false), "VerifyDownload", false),
      text(edit("edt_StartAddress", ""), "StartAddress", ""),
      text(edit("edt_ReadLength", ""), "ReadLength", ""),
      button("btn_UpdatePrg"),
      list("ListBox1", {}, -1),
      ranged(edit("trk_LogoThreshold", "128"), 0, 255),  // kDefaultLogoThreshold, a brightness
      check("chk_LogoDither", false),
      // Product: the device texts fill fixed fields
      text(edit("edt_DeviceName", "", 20, "产品名称"), "DeviceName", ""),
      text(digits(edit("edt_DeviceSerialNo", "1704269998", 20, "产品序列号")), "DeviceSerialNo", ""),
      fallback(languageList("cbb_UsbDeviceTpe", ItemList::UsbDeviceType, 1), "UsbDeviceTpe", 1),
      fallback(languageList("cbb_PrinterOrder", ItemList::PrinterOrder, 1), "PrinterOrder", 1),
      fallback(languageList("cbb_PaperType", ItemList::PaperType, 1), "PaperType", 1),
      unsaved(fallback(languageList("cbb_Flowcontrol", ItemList::FlowControl, -1, "软件流控"), "Flowcontrol", 1)),
      text(digits(edit("edt_RptTime", "30", kRecycleTimeDigits)), "RptTime", "30"),
      radioSet("rb_Minus", "calculate", false, "1"),
      radio("rb_Plus", "calculate", false),
      text(shownOnly(digits(edit("edt_WaitTime", "5"))), "WaitTime", "5"),
      fallback(languageList("Cbx_Bluetooth", ItemList::BluetoothSeek, -1), "BluetoothSEEK", 1),
      text(distanceBox("ed_Black_look_distance", "黑标查找距离"), "Blacklookdistance", "5"),
      text(distanceBox("ed_Black_width", "黑标宽度"), "Blackwidth", "5"),
      text(distanceBox("edt_cutter_optocoupler", "光耦与切刀的距离"), "Cutteroptocoupler", "5"),
      text(distanceBox("edt_printer_opto", "光耦与打印头的距离"), "Printeropto", "5"),
      unsaved(stored(button("bt_firmware"), "Updatafirmware", KeyKind::UpdateButtons, "")),
  };
  return layout;
}

const ControlSpec* findControl(std::string_view name) {
  for (const auto& entry : paraLayout()) {
    if (entry.name == name) return &entry;
  }
  return nullptr;
}

const ControlSpec& controlSpec(std::string_view name) {
  const ControlSpec* entry = findControl(name);
  if (entry == nullptr) throw std::logic_error("No parameters-window control named " + std::string(name));
  return *entry;
}

std::optional<int> itemValue(std::string_view control, int item) {
  const std::vector<int>& values = controlSpec(control).itemValues;
  if (item < 0 || item >= static_cast<int>(values.size())) return std::nullopt;
  return values[static_cast<std::size_t>(item)];
}

}  // namespace ombrel
