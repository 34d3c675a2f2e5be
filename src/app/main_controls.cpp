#include "app/main_controls.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QRegularExpressionValidator>
#include <QStringList>
#include <QVBoxLayout>

#include "app/status_panel.h"
#include "app/widget_captions.h"

namespace ombrel::app {

namespace {

const QStringList kRates = {"1200", "2400", "4800", "9600", "19200", "38400", "57600", "115200", "230400"};
constexpr int kDevRateIndex = 3;   // 9600
constexpr int kTranRateIndex = 7;  // 115200
constexpr int kRateDigits = 7;
constexpr int kStatusPanel0Width = 150;
constexpr int kStatusPanel1Width = 50;
constexpr int kIdleLinesKept = 1000;
constexpr int kStatusBarEndMargin = 4;

// An editable rate list that takes digits only.
QComboBox* rateList(QWidget* parent, int index) {
  auto* list = new QComboBox(parent);
  list->setEditable(true);
  list->setInsertPolicy(QComboBox::NoInsert);
  list->addItems(kRates);
  list->setCurrentIndex(index);
  list->setValidator(
      new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{0,%1}").arg(kRateDigits)), list));
  return list;
}

}  // namespace

MainControls createMainControls(QMainWindow& window, std::vector<QWidget*>& list) {
  MainControls c;
  auto* central = new QWidget(&window);
  window.setCentralWidget(central);

  c.GroupBox1 = named(new QGroupBox(QStringLiteral("选择通讯端口"), central), "GroupBox1", list);
  const char* radioNames[] = {"RadioButton1", "RadioButton2", "RadioButton3", "RadioButton4"};
  const QString radioTexts[] = {QStringLiteral("串口"), QStringLiteral("网口"), QStringLiteral("USB"),
                                QStringLiteral("并口")};
  for (std::size_t i = 0; i < c.transportRadios.size(); ++i) {
    c.transportRadios[i] = named(new QRadioButton(radioTexts[i], c.GroupBox1), radioNames[i], list);
  }
  c.transportRadios[0]->setChecked(true);
  c.transportRadios[3]->setEnabled(false);

  c.cbb_Comname = named(new DropDownComboBox(c.GroupBox1), "cbb_Comname", list);
  c.cbb_Comname->setEditable(true);
  c.cbb_Comname->setInsertPolicy(QComboBox::NoInsert);
  c.cbb_Comname->setEditText(QStringLiteral("COM1"));
  c.cbb_Comname->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  c.cbb_Comname->setMinimumContentsLength(12);
  c.Label1 = named(new QLabel(QStringLiteral("波特率"), c.GroupBox1), "Label1", list);
  c.cbb_DevBauRate = named(rateList(c.GroupBox1, kDevRateIndex), "cbb_DevBauRate", list);
  c.Label4 = named(new QLabel(QStringLiteral("->"), c.GroupBox1), "Label4", list);
  c.cbb_TranBauRate = named(rateList(c.GroupBox1, kTranRateIndex), "cbb_TranBauRate", list);
  c.Label2 = named(new QLabel(QStringLiteral("校验"), c.GroupBox1), "Label2", list);
  c.cbb_Check = named(new QComboBox(c.GroupBox1), "cbb_Check", list);
  c.cbb_Check->addItems({"NONE", "ODD", "EVEN"});
  c.edt_Ipaddress = named(new QLineEdit(QStringLiteral("192.168.1.87"), c.GroupBox1), "edt_Ipaddress", list);
  c.Label3 = named(new QLabel(QStringLiteral("端口"), c.GroupBox1), "Label3", list);
  c.edt_Port = named(new QLineEdit(QStringLiteral("5100"), c.GroupBox1), "edt_Port", list);
  // As wide as the rate list above it, not as a line edit would like.
  c.edt_Port->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
  c.cbb_UsbDeviceList = named(new UsbPrinterList(c.GroupBox1), "cbb_UsbDeviceList", list);
  c.cbb_Lpt = named(new QComboBox(c.GroupBox1), "cbb_Lpt", list);

  // One row per transport: its radio, then the boxes it uses.
  auto* grid = new QGridLayout(c.GroupBox1);
  for (int row = 0; row < 4; ++row) grid->addWidget(c.transportRadios[static_cast<std::size_t>(row)], row, 0);
  grid->addWidget(c.cbb_Comname, 0, 1);
  grid->addWidget(c.Label1, 0, 2, Qt::AlignRight);
  grid->addWidget(c.cbb_DevBauRate, 0, 3);
  grid->addWidget(c.Label4, 0, 4, Qt::AlignCenter);
  grid->addWidget(c.cbb_TranBauRate, 0, 5);
  grid->addWidget(c.Label2, 0, 6, Qt::AlignRight);
  grid->addWidget(c.cbb_Check, 0, 7);
  grid->addWidget(c.edt_Ipaddress, 1, 1);
  grid->addWidget(c.Label3, 1, 2, Qt::AlignRight);
  grid->addWidget(c.edt_Port, 1, 3);
  grid->addWidget(c.cbb_UsbDeviceList, 2, 1, 1, 7);
  grid->addWidget(c.cbb_Lpt, 3, 1);
  grid->setColumnStretch(1, 1);

  c.lbl_TranMsg = named(new QLabel(QStringLiteral("当前选择串口"), central), "lbl_TranMsg", list);
  QFont bold = c.lbl_TranMsg->font();
  bold.setBold(true);
  c.lbl_TranMsg->setFont(bold);
  c.lbl_language = named(new QLabel(QStringLiteral("选择语言"), central), "lbl_language", list);
  c.cbb_Language = named(new QComboBox(central), "cbb_Language", list);
  c.cbb_Language->addItems({QStringLiteral("中文"), QStringLiteral("English")});
  auto* languageRow = new QHBoxLayout;
  languageRow->addWidget(c.lbl_TranMsg, 1);
  languageRow->addWidget(c.lbl_language);
  languageRow->addWidget(c.cbb_Language);

  c.btn_Test = named(new QPushButton(QStringLiteral("测试通讯"), central), "btn_Test", list);
  c.btn_SetPara = named(new QPushButton(QStringLiteral("设置参数"), central), "btn_SetPara", list);
  c.but_bootIn = named(new QPushButton(QStringLiteral("进入BOOT模式"), central), "but_bootIn", list);
  c.but_bootOut = named(new QPushButton(QStringLiteral("退出BOOT模式"), central), "but_bootOut", list);
  auto* buttonRow = new QHBoxLayout;
  buttonRow->addWidget(c.btn_Test);
  buttonRow->addWidget(c.btn_SetPara);
  buttonRow->addStretch(1);
  buttonRow->addWidget(c.but_bootIn);
  buttonRow->addWidget(c.but_bootOut);

  // Lines a printer sends between tasks; never shown, and kept short.
  c.Memo1 = named(new QPlainTextEdit(central), "Memo1", list);
  c.Memo1->setReadOnly(true);
  c.Memo1->setMaximumBlockCount(kIdleLinesKept);
  c.Memo1->hide();

  auto* column = new QVBoxLayout(central);
  column->addWidget(c.GroupBox1);
  column->addLayout(languageRow);
  column->addLayout(buttonRow);
  column->addWidget(c.Memo1);

  c.StatusBar1 = named(new QStatusBar(&window), "StatusBar1", list);
  c.StatusBar1->setSizeGripEnabled(false);
  // Without a size grip the last panel would touch the window's edge.
  c.StatusBar1->setContentsMargins(0, 0, kStatusBarEndMargin, kStatusBarEndMargin);
  c.statusPanels[0] = makeStatusPanel(c.StatusBar1, kStatusPanel0Width, false);
  c.statusPanels[1] = makeStatusPanel(c.StatusBar1, kStatusPanel1Width, true);
  c.StatusBar1->addWidget(c.statusPanels[0], 1);
  c.StatusBar1->addWidget(c.statusPanels[1]);
  c.replyNotice = new QLabel(c.StatusBar1);
  c.replyNotice->setObjectName(QStringLiteral("lbl_ReplyNotice"));
  c.replyNotice->hide();
  c.StatusBar1->addPermanentWidget(c.replyNotice);
  window.setStatusBar(c.StatusBar1);

  c.Timer1 = new QTimer(&window);
  c.Timer1->setObjectName(QStringLiteral("Timer1"));

  // The window takes the size its contents need in either language.
  window.layout()->setSizeConstraint(QLayout::SetFixedSize);
  return c;
}

}  // namespace ombrel::app
