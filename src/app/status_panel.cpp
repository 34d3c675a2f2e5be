#include "app/status_panel.h"

#include <QRegularExpression>

namespace ombrel::app {

namespace {

QString oneLine(const QString& text) {
  static const QRegularExpression kLineBreaks(QStringLiteral("\\r\\n|\\r|\\n"));
  return QString(text).replace(kLineBreaks, QStringLiteral(" "));
}

}  // namespace

QLabel* makeStatusPanel(QStatusBar* bar, int width, bool fixed) {
  auto* panel = new QLabel(bar);
  if (fixed) {
    panel->setFixedWidth(width);
  } else {
    panel->setMinimumWidth(width);
    panel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  }
  panel->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  return panel;
}

void showStatus(QLabel* panel, const QString& text) {
  const QString line = oneLine(text);
  panel->setText(line);
  const bool fits = panel->fontMetrics().horizontalAdvance(line) <= panel->contentsRect().width();
  panel->setToolTip(fits ? QString() : text);
}

void showElided(QLabel* panel, const QString& text) {
  panel->setText(panel->fontMetrics().elidedText(oneLine(text), Qt::ElideRight, panel->contentsRect().width()));
  panel->setToolTip(text);
}

void clearStatus(QLabel* panel) {
  panel->clear();
  panel->setToolTip(QString());
}

}  // namespace ombrel::app
