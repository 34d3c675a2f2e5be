#pragma once

// The production line window's tile of one slot: the port with its label,
// the printer's identity, the action running with its progress, the serial
// number written, the time taken and, once its run has ended, a large PASS
// or FAIL that stays until the printer is unplugged; a failed printer can be
// set up again from its tile (Retry) without replugging it.

#include <QFrame>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <functional>

namespace ombrel::app {

class SlotTile final : public QFrame {
 public:
  // `retry` runs when Retry is pressed.
  SlotTile(QWidget* parent, const QString& port, std::function<void()> retry);

  void setPort(const QString& port);
  // The printer waits for a free slot.
  void showWaiting(const QString& text);
  // Its run starts: the verdict of the run before goes.
  void showStarted();
  void setIdentity(const QString& identity);
  void setSerialNumber(const QString& serial);
  // The status text of the running action.
  void setAction(const QString& action);
  // The running transfer's share in thousandths; hidden once it ended.
  void setProgress(int permille, bool running);
  // The verdict, in `mark` (the window's PASS or FAIL caption), and why it
  // failed; Retry is offered on a failure.
  void showEnd(bool passed, const QString& mark, const QString& why, double seconds, const QString& retryCaption);

  QPushButton* retryButton() const { return retry_; }
  QLabel* mark() const { return mark_; }
  // The running action's status, once the run ended why it failed.
  QLabel* action() const { return action_; }

 private:
  QLabel* port_;
  QLabel* identity_;
  QLabel* serial_;
  QLabel* action_;
  QProgressBar* progress_;
  QLabel* mark_;
  QLabel* seconds_;
  QPushButton* retry_;
};

}  // namespace ombrel::app
