#pragma once

// The panels of both windows' status bars. A panel holds one line whatever
// it is given: a text with line breaks (a printer's identity, a system's
// message) would make the panel, and with it the fixed-size window, taller
// and move every button under the cursor.

#include <QLabel>
#include <QStatusBar>

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

}  // namespace ombrel::app
