#pragma once

// The selected logo's dots enlarged: every dot a square of whole pixels, as
// large as the window allows, so a real logo's dots are seen without
// scrolling. The window can be resized; the scale follows it.

#include <QDialog>
#include <QImage>
#include <QLabel>

namespace ombrel::app {

class LogoZoomWindow final : public QDialog {
 public:
  explicit LogoZoomWindow(QWidget* parent);

  // Shows `dots` (one pixel a dot; null: no logo), and the first time opens
  // at the largest whole scale that fits three quarters of the screen.
  void showDots(const QImage& dots);

  // Screen pixels a dot takes, across and down.
  int scale() const { return scale_; }
  const QLabel& picture() const { return *picture_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void redraw();

  QLabel* picture_;
  QImage dots_;
  int scale_ = 1;
  bool sized_ = false;
};

}  // namespace ombrel::app
