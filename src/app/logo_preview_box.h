#pragma once

// The logo group's preview: the selected logo's dots as the printer prints
// them (the white padding to whole bytes and rows of 8 shows against the grey
// behind it), the logo's size in bytes and the whole image's size against the
// 256 KB the printer takes. The whole logo is always seen: one pixel a dot
// where it fits, else scaled down to the box. Neither a logo nor a text
// changes the box's size, so the window keeps its own.

#include <QImage>
#include <QLabel>
#include <QWidget>
#include <string>
#include <vector>

#include "imaging/logo_dots.h"

namespace ombrel::app {

class LogoPreviewBox final : public QWidget {
 public:
  explicit LogoPreviewBox(QWidget* parent);

  // The preview among `window`'s children (found by name: the class has no
  // meta-object of its own for findChild to tell it by).
  static LogoPreviewBox* in(const QWidget& window);

  // Shows entry `selected` of `paths` (none for -1) reduced as chosen, and
  // the sizes of it and of the image of every path.
  void showLogos(const std::vector<std::string>& paths, int selected, const LogoReduction& reduction);

  // The dots shown: one pixel a dot; null when no logo is shown.
  const QImage& dots() const { return dots_; }
  // Where they are drawn, as drawn.
  const QLabel& picture() const { return *picture_; }
  QString sizeText() const { return sizes_->text(); }

 protected:
  // Draws the dots again whenever the picture's room changes.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void redraw();

  QLabel* picture_;
  QLabel* sizes_;
  QImage dots_;
};

}  // namespace ombrel::app
