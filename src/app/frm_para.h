#pragma once

// The parameters window. The main window shows it modally once the link
// test has found the printer; while it is shown it receives the engine's
// messages, and when it closes it gives them back and shows the main window
// again.

#include <QDialog>
#include <QLabel>
#include <QStatusBar>
#include <QTabWidget>
#include <array>
#include <string>
#include <vector>

#include "engine/engine_host.h"
#include "texts/caption_target.h"

namespace ombrel::app {

class TFrmMain;

class TFrmPara final : public QDialog, public NotifyWindow, public CaptionTarget {
 public:
  explicit TFrmPara(TFrmMain& mainWindow);
  // Gives the engine's messages back to the main window for good.
  ~TFrmPara() override;
  TFrmPara(const TFrmPara&) = delete;
  TFrmPara& operator=(const TFrmPara&) = delete;

  // A transfer names the file it sends: shown in status panel 1.
  void showTransferText(const std::string& text);
  QLabel* statusPanel(std::size_t index) const { return statusPanels_.at(index); }

  // Status texts and failure texts of the engine go to status panel 0.
  void engineMessage(EngineMessage message, int wParam, const std::string& text) override;

  std::string windowName() const override { return "FrmPara"; }
  std::string caption() const override;
  void setCaption(const std::string& caption) override;
  std::vector<CaptionControl> controls() override;

 protected:
  void showEvent(QShowEvent* event) override;
  // Every way of closing the window ends here.
  void done(int result) override;

 private:
  void FormShow();
  void FormClose();

  TFrmMain& mainWindow_;
  std::vector<QWidget*> captionControls_;
  QTabWidget* tabs_ = nullptr;
  QStatusBar* statusBar_ = nullptr;
  std::array<QLabel*, 2> statusPanels_{};
};

}  // namespace ombrel::app
