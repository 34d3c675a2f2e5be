#include "app/frm_line.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QScrollArea>
#include <QShowEvent>
#include <QVBoxLayout>
#include <algorithm>

#include "app/control_hints.h"
#include "app/frm_main.h"
#include "app/frm_para.h"
#include "app/widget_captions.h"

namespace ombrel::app {

namespace {
constexpr const char* kSettingsFile = "sysconfig.ini";
constexpr int kMarkPointSize = 28;
constexpr int kMarkWidth = 220;
constexpr int kTableMinimumWidth = 1160;
constexpr int kTableMinimumHeight = 220;
constexpr int kRecipeListHeight = 260;
constexpr int kTilesHeight = 300;
constexpr const char* kSlotsKey = "Slots";
constexpr const char* kPortNamesKey = "PortNames";
}  // namespace

TFrmLine::TFrmLine(TFrmPara& para, TFrmMain& mainWindow)
    : QDialog(&para), para_(para), mainWindow_(mainWindow), background_(mainWindow.owner()) {
  setWindowTitle(QStringLiteral("生产线"));
  setModal(true);
  build();
  giveHints(captionControls_, lineWindowHints());
  mainWindow_.setUsbListener([this](const std::vector<UsbDeviceName>& printers) { usbPrintersChanged(printers); });
  slotStepper_.setInterval(0);
  connect(&slotStepper_, &QTimer::timeout, this, [this] { runSlotStep(); });
  updateButtons();
}

TFrmLine::~TFrmLine() {
  mainWindow_.setUsbListener(nullptr);
  // A slot's task may still run: its engine stops once no worker can wait
  // for the Qt thread, before the numbers its run holds go.
  if (numbers_) mainWindow_.keepUntilShutdown(numbers_);
  for (auto& [port, slot] : slots_) {
    slot->forgetWindow();
    mainWindow_.keepUntilShutdown(slot);
  }
}

void TFrmLine::build() {
  auto* top = new QHBoxLayout;
  top->addWidget(buildRecipeGroup(), 1);
  top->addWidget(buildStationGroup());
  top->addWidget(buildSlotsGroup(), 2);

  table_ = named(new QTableWidget(this), "tbl_LinePrinters", captionControls_);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->verticalHeader()->setVisible(false);
  table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  table_->setMinimumSize(kTableMinimumWidth, kTableMinimumHeight);
  headers_ = {{"time", "时间"},           {"link", "连接"},  {"port", "端口"},  {"printer", "打印机标识"},
              {"serial", "写入的序列号"}, {"seconds", "秒"}, {"result", "结果"}};
  columns_ = {"time", "link", "port", "printer", "serial", "seconds", "result"};
  table_->setColumnCount(static_cast<int>(columns_.size()));
  showHeaders();

  auto* column = new QVBoxLayout(this);
  column->addLayout(top);
  databaseGroup_ = buildDatabaseGroup();
  column->addWidget(databaseGroup_);
  column->addWidget(table_, 1);
}

QWidget* TFrmLine::buildRecipeGroup() {
  auto* group = named(new QGroupBox(QStringLiteral("配方"), this), "grpRecipe", captionControls_);
  recipeList_ = named(new QListWidget(group), "lst_Recipe", captionControls_);
  recipeList_->setMinimumHeight(kRecipeListHeight);
  auto* filterLabel =
      named(new QLabel(QStringLiteral("只设置标识包含以下文字的打印机"), group), "lbl_OnlyIdentity", captionControls_);
  identityFilter_ = named(new QLineEdit(group), "edt_OnlyIdentity", captionControls_);
  filterLabel->setBuddy(identityFilter_);
  auto* grid = new QGridLayout(group);
  grid->addWidget(recipeList_, 0, 0, 1, 2);
  grid->addWidget(filterLabel, 1, 0);
  grid->addWidget(identityFilter_, 1, 1);
  grid->setColumnStretch(1, 1);
  return group;
}

QWidget* TFrmLine::buildStationGroup() {
  auto* group = named(new QGroupBox(QStringLiteral("工作站"), this), "grpStation", captionControls_);
  startButton_ = named(new QPushButton(QStringLiteral("开始"), group), "btn_LineStart", captionControls_);
  stopButton_ = named(new QPushButton(QStringLiteral("停止"), group), "btn_LineStop", captionControls_);
  nextButton_ = named(new QPushButton(QStringLiteral("下一台"), group), "btn_LineNext", captionControls_);
  connect(startButton_, &QPushButton::clicked, this, [this] { btn_LineStartClick(); });
  connect(stopButton_, &QPushButton::clicked, this, [this] { btn_LineStopClick(); });
  connect(nextButton_, &QPushButton::clicked, this, [this] { btn_LineNextClick(); });
  exportButton_ = named(new QPushButton(QStringLiteral("导出"), group), "btn_LineExport", captionControls_);
  connect(exportButton_, &QPushButton::clicked, this, [this] { btn_LineExportClick(); });

  QFont markFont = font();
  markFont.setPointSize(kMarkPointSize);
  markFont.setBold(true);
  passMark_ = named(new QLabel(QStringLiteral("合格"), group), "lbl_LinePass", captionControls_);
  passMark_->setStyleSheet(QStringLiteral("background: #2e9d3a; color: white;"));
  failMark_ = named(new QLabel(QStringLiteral("不合格"), group), "lbl_LineFail", captionControls_);
  failMark_->setStyleSheet(QStringLiteral("background: #c62828; color: white;"));
  for (QLabel* mark : {passMark_, failMark_}) {
    mark->setFont(markFont);
    mark->setAlignment(Qt::AlignCenter);
    mark->setMinimumWidth(kMarkWidth);
    mark->hide();
  }
  auto* doneLabel = named(new QLabel(QStringLiteral("完成"), group), "lbl_LineDone", captionControls_);
  auto* failedLabel = named(new QLabel(QStringLiteral("失败"), group), "lbl_LineFailed", captionControls_);
  doneCount_ = new QLabel(QStringLiteral("0"), group);
  doneCount_->setObjectName(QStringLiteral("lbl_LineDoneCount"));
  failedCount_ = new QLabel(QStringLiteral("0"), group);
  failedCount_->setObjectName(QStringLiteral("lbl_LineFailedCount"));
  state_ = new QLabel(group);
  state_->setObjectName(QStringLiteral("lbl_LineState"));
  state_->setWordWrap(true);
  state_->setMaximumWidth(kMarkWidth);

  auto* grid = new QGridLayout(group);
  grid->addWidget(startButton_, 0, 0);
  grid->addWidget(stopButton_, 0, 1);
  grid->addWidget(nextButton_, 1, 0, 1, 2);
  grid->addWidget(passMark_, 2, 0, 1, 2);
  grid->addWidget(failMark_, 3, 0, 1, 2);
  grid->addWidget(doneLabel, 4, 0);
  grid->addWidget(doneCount_, 4, 1);
  grid->addWidget(failedLabel, 5, 0);
  grid->addWidget(failedCount_, 5, 1);
  grid->addWidget(state_, 6, 0, 1, 2);
  grid->addWidget(exportButton_, 7, 0, 1, 2);
  grid->setRowStretch(8, 1);
  return group;
}

QWidget* TFrmLine::buildSlotsGroup() {
  auto* group = named(new QGroupBox(QStringLiteral("插槽"), this), "grpSlots", captionControls_);
  auto* slotsLabel = named(new QLabel(QStringLiteral("同时设置的打印机数"), group), "lbl_LineSlots", captionControls_);
  slotsBox_ = named(new QSpinBox(group), "spn_LineSlots", captionControls_);
  slotsBox_->setRange(kMinSlots, kMaxSlots);
  slotsBox_->setValue(kDefaultSlots);
  slotsLabel->setBuddy(slotsBox_);
  auto* namesLabel = named(new QLabel(QStringLiteral("端口名称"), group), "lbl_PortNames", captionControls_);
  portNamesBox_ = named(new QLineEdit(group), "edt_PortNames", captionControls_);
  portNamesBox_->setPlaceholderText(QStringLiteral("1-1.1:A1,1-1.2:A2"));
  namesLabel->setBuddy(portNamesBox_);
  connect(portNamesBox_, &QLineEdit::editingFinished, this, [this] {
    portNames_ = parsePortNames(portNamesBox_->text().toStdString());
    for (auto& [port, tile] : tiles_) tile->setPort(portText(port));
  });

  tilesArea_ = new QWidget;
  tilesArea_->setObjectName(QStringLiteral("wdg_LineTiles"));
  new QGridLayout(tilesArea_);
  auto* scroll = new QScrollArea(group);
  scroll->setWidget(tilesArea_);
  scroll->setWidgetResizable(true);
  scroll->setMinimumHeight(kTilesHeight);

  auto* grid = new QGridLayout(group);
  grid->addWidget(slotsLabel, 0, 0);
  grid->addWidget(slotsBox_, 0, 1);
  grid->addWidget(namesLabel, 1, 0);
  grid->addWidget(portNamesBox_, 1, 1);
  grid->addWidget(scroll, 2, 0, 1, 2);
  grid->setColumnStretch(1, 1);
  return group;
}

int TFrmLine::language() const { return mainWindow_.ui().cbb_Language->currentIndex(); }

void TFrmLine::showState(const QString& text) {
  state_->setText(text);
  state_->setToolTip(text);
}

void TFrmLine::fillRecipeList(const Recipe& recipe) {
  recipeList_->clear();
  for (const WindowAction* action : recipeActions()) {
    // Named by its captions and described by its control's hint, in the
    // language in force; the recipe keeps the control name.
    const QString hint = para_.findChild<QWidget*>(QString::fromLatin1(action->control))->toolTip();
    auto* item = new QListWidgetItem(actionCaption(action->control), recipeList_);
    item->setToolTip(item->text() + QStringLiteral("\n") + hint);
    item->setData(Qt::UserRole, QString::fromLatin1(action->control));
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
    const bool ticked =
        std::find(recipe.actions.begin(), recipe.actions.end(), action->control) != recipe.actions.end();
    item->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
  }
  identityFilter_->setText(QString::fromStdString(recipe.identityFilter));
}

Recipe TFrmLine::tickedRecipe() const {
  Recipe recipe;
  for (int i = 0; i < recipeList_->count(); ++i) {
    const QListWidgetItem* item = recipeList_->item(i);
    if (item->checkState() == Qt::Checked) recipe.actions.push_back(item->data(Qt::UserRole).toString().toStdString());
  }
  recipe.identityFilter = identityFilter_->text().trimmed().toStdString();
  return recipe;
}

bool TFrmLine::keepRecipe() {
  recipe_ = tickedRecipe();
  portNames_ = parsePortNames(portNamesBox_->text().toStdString());
  try {
    IniFile file(mainWindow_.appDir() + kSettingsFile);
    saveRecipe(file, recipe_);
    file.writeInteger(kRecipeSection, kSlotsKey, slotsBox_->value());
    file.writeString(kRecipeSection, kPortNamesKey, portNamesText(portNames_));
    file.save();
  } catch (const std::exception& error) {
    mainWindow_.messageBoxes().warning(error.what());
  }
  return !recipe_.actions.empty();
}

void TFrmLine::updateButtons() {
  // A stopped station is busy until its last slot has ended.
  const bool idle = !waiting_ && !run_ && !queue_;
  startButton_->setEnabled(idle && mainWindow_.usbLinkChosen());
  nextButton_->setEnabled(!waiting_ && !run_);
  stopButton_->setEnabled(waiting_ || run_);
  for (QWidget* control : std::initializer_list<QWidget*>{recipeList_, identityFilter_, slotsBox_, portNamesBox_}) {
    control->setEnabled(idle);
  }
  databaseGroup_->setEnabled(idle);
}

void TFrmLine::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (event->spontaneous() || waiting_ || run_ || queue_) return;
  Recipe recipe;
  const IniFile file(mainWindow_.appDir() + kSettingsFile);
  try {
    recipe = loadRecipe(file, language());
  } catch (const std::invalid_argument& error) {
    mainWindow_.messageBoxes().warning(error.what());
  }
  fillRecipeList(recipe);
  slotsBox_->setValue(file.readInteger(kRecipeSection, kSlotsKey, kDefaultSlots));
  portNames_ = parsePortNames(file.readString(kRecipeSection, kPortNamesKey, ""));
  portNamesBox_->setText(QString::fromStdString(portNamesText(portNames_)));
  showLineServer(file);
  showHeaders();
  showDayRows();
  updateButtons();
}

void TFrmLine::done(int result) {
  // The printers being set up finish their running actions; nothing more runs.
  if (waiting_ || run_) btn_LineStopClick();
  if (isVisible()) keepRecipe();
  QDialog::done(result);
}

std::string TFrmLine::caption() const { return windowTitle().toStdString(); }

void TFrmLine::setCaption(const std::string& caption) { setWindowTitle(QString::fromStdString(caption)); }

std::vector<CaptionControl> TFrmLine::controls() {
  std::vector<CaptionControl> result;
  for (QWidget* widget : captionControls_) result.push_back(captionControlFor(*widget));
  // The fixed columns' captions, named col_<key>.
  for (const auto& [key, text] : headers_) {
    CaptionControl column;
    column.name = "col_" + key;
    column.text = [this, key = key] { return headers_.at(key); };
    column.setText = [this, key = key](const std::string& caption) {
      headers_[key] = caption;
      showHeaders();
    };
    result.push_back(std::move(column));
  }
  return result;
}

}  // namespace ombrel::app
