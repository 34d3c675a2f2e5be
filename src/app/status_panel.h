#pragma once

// The panels of both windows' status bars. A panel holds one line whatever
// it is given: a text with line breaks (a printer's identity, a system's
// message) would make the panel, and with it the fixed-size window, taller
// and move every button under the cursor.

#include <QLabel>
#include <QStatusBar>
#include <QTimer>
#include <chrono>
#include <optional>

namespace ombrel::app {

// A sunken panel `width` wide, or at least that wide and taking the bar's
// spare width when not `fixed`; a long text never widens the window.
QLabel* makeStatusPanel(QStatusBar* bar, int width, bool fixed);

// Shows `text` on one line, cut at the panel's end; the whole text is the
// tooltip while it does not fit.
void showStatus(QLabel* panel, const QString& text);

// Shows `text` on one line, elided with "…" to the panel's width; the whole
// text is the tooltip.
void showElided(QLabel* panel, const QString& text);

// Empties the panel and its tooltip.
void clearStatus(QLabel* panel);

// A status panel that can hold a notice for a while, so that the operator
// can read it: the texts that arrive meanwhile wait, and the latest of them
// replaces the notice once its time is up.
class NoticePanel final {
 public:
  NoticePanel(QLabel* panel, std::chrono::milliseconds noticeTime);

  QLabel* label() const { return panel_; }
  // A status text: shown at once, or held while a notice stands.
  void show(const QString& text);
  // Shown at once, ending a notice: what the operator's own click says.
  void showNow(const QString& text);
  void clearNow();
  // Shows `text` for the notice time, over the texts that come meanwhile.
  void showNotice(const QString& text);
  // What the panel shows, or will show once the notice's time is up.
  QString text() const;

 private:
  void endNotice();

  QLabel* panel_;
  QTimer noticeTimer_;
  std::optional<QString> held_;  // the latest text held back by the notice
};

}  // namespace ombrel::app
