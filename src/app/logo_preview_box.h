#pragma once

// The logo group's preview: the selected logo's dots at dot scale, exactly as
// the printer prints them (the white padding to whole bytes and rows of 8
// shows against the grey behind it), the logo's size in bytes and the whole
// image's size against the 256 KB the printer takes.

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
  QString sizeText() const { return sizes_->text(); }

 private:
  QLabel* picture_;
  QLabel* sizes_;
  QImage dots_;
};

}  // namespace ombrel::app
