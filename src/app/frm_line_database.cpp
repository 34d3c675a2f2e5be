// The production line window's line database: the server's connection
// string, the station's and the line's names, kept in [ProductionLine], and
// the Test button that connects once and says how it went.

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>

#include "app/frm_line.h"
#include "app/frm_main.h"
#include "app/widget_captions.h"
#include "commands/recipe_texts.h"

namespace ombrel::app {

namespace {
constexpr int kEnglish = 1;

QString connectedText(int language) {
  return language == kEnglish ? QStringLiteral("Connected to the line database") : QStringLiteral("已连接生产线数据库");
}

QString connectingText(int language) {
  return language == kEnglish ? QStringLiteral("Connecting to the line database…")
                              : QStringLiteral("正在连接生产线数据库…");
}

QString noDatabaseText(int language) {
  return language == kEnglish ? QStringLiteral("No line database is set: the station keeps its numbers itself")
                              : QStringLiteral("未设置生产线数据库：工位自行管理序列号");
}
}  // namespace

QWidget* TFrmLine::buildDatabaseGroup() {
  auto* group = named(new QGroupBox(QStringLiteral("生产线数据库"), this), "grpLineDatabase", captionControls_);
  auto* databaseLabel = named(new QLabel(QStringLiteral("数据库"), group), "lbl_LineDatabase", captionControls_);
  databaseBox_ = named(new QLineEdit(group), "edt_LineDatabase", captionControls_);
  databaseBox_->setPlaceholderText(QStringLiteral("host=line-server dbname=line user=station"));
  databaseLabel->setBuddy(databaseBox_);
  auto* stationLabel = named(new QLabel(QStringLiteral("工位"), group), "lbl_LineStationName", captionControls_);
  stationBox_ = named(new QLineEdit(group), "edt_LineStationName", captionControls_);
  stationLabel->setBuddy(stationBox_);
  auto* lineLabel = named(new QLabel(QStringLiteral("生产线"), group), "lbl_LineName", captionControls_);
  lineBox_ = named(new QLineEdit(group), "edt_LineName", captionControls_);
  lineLabel->setBuddy(lineBox_);
  testButton_ = named(new QPushButton(QStringLiteral("连接测试"), group), "btn_LineDbTest", captionControls_);
  connect(testButton_, &QPushButton::clicked, this, [this] { btn_LineDbTestClick(); });

  auto* grid = new QGridLayout(group);
  grid->addWidget(databaseLabel, 0, 0);
  grid->addWidget(databaseBox_, 0, 1, 1, 5);
  grid->addWidget(testButton_, 0, 6);
  grid->addWidget(stationLabel, 1, 0);
  grid->addWidget(stationBox_, 1, 1);
  grid->addWidget(lineLabel, 1, 2);
  grid->addWidget(lineBox_, 1, 3);
  grid->setColumnStretch(1, 1);
  grid->setColumnStretch(3, 1);
  return group;
}

void TFrmLine::showLineServer(const IniFile& file) {
  const LineServerSettings settings = loadLineServerSettings(file);
  databaseBox_->setText(QString::fromStdString(settings.database));
  stationBox_->setText(QString::fromStdString(settings.station));
  lineBox_->setText(QString::fromStdString(settings.line));
}

LineServerSettings TFrmLine::typedLineServer() const {
  LineServerSettings settings{databaseBox_->text().trimmed().toStdString(), stationBox_->text().trimmed().toStdString(),
                              lineBox_->text().trimmed().toStdString()};
  if (settings.station.empty()) settings.station = hostStationName();
  if (settings.line.empty()) settings.line = "default";
  return settings;
}

std::optional<LineServerSettings> TFrmLine::keepLineServer() {
  const LineServerSettings settings = typedLineServer();
  // Refused before it is saved: a password never reaches sysconfig.ini.
  if (const auto refusal = lineDatabaseRefusal(settings.database, language())) {
    showState(QString::fromStdString(*refusal));
    return std::nullopt;
  }
  try {
    IniFile file(mainWindow_.appDir() + "sysconfig.ini");
    saveLineServerSettings(file, settings, language());
    file.save();
  } catch (const std::exception& error) {
    mainWindow_.messageBoxes().warning(error.what());
  }
  return settings;
}

void TFrmLine::btn_LineDbTestClick() {
  const auto settings = keepLineServer();
  if (!settings) return;
  if (settings->database.empty()) {
    showState(noDatabaseText(language()));
    return;
  }
  // A server slow to answer holds up the worker, never the window.
  testButton_->setEnabled(false);
  showState(connectingText(language()));
  background_.run([conninfo = settings->database] { return lineDatabaseTestFailure(conninfo); },
                  [this](const std::optional<std::string>& failure) {
                    testButton_->setEnabled(true);
                    if (failure) {
                      showState(QString::fromStdString(lineDatabaseUnreachableText(language())) + QStringLiteral(": ") +
                                QString::fromStdString(*failure).trimmed());
                    } else {
                      showState(connectedText(language()));
                    }
                  });
}

}  // namespace ombrel::app
