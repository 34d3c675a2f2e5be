// The NV logo group of the download tab, offscreen: the list's own buttons,
// the preview that shows the dots the printer will print as the list, its
// selection and the threshold change, and the download and print buttons
// sending what ombrelctl sends for the same list and threshold.

#include <QListWidget>
#include <QPushButton>
#include <QSlider>

#include "app/logo_preview_box.h"
#include "app/logo_zoom_window.h"
#include "gui/para_window_fixture.h"
#include "gui/window_checks.h"
#include "support/run_program.h"

namespace ombrel::gui_test {
namespace {

using test_support::VirtualPrinter;

// 10 × 3: black where x + y is even, except the middle gray (100) pixel.
QImage knownPicture() {
  QImage picture(10, 3, QImage::Format_RGB32);
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 10; ++x) picture.setPixel(x, y, (x + y) % 2 == 0 ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
  }
  picture.setPixel(5, 1, qRgb(100, 100, 100));
  return picture;
}

class ParaLogo : public ParaWindowTest {
 protected:
  std::string save(const QImage& picture, const char* name) {
    const std::string path = dir_.path().string() + "/" + name;
    EXPECT_TRUE(picture.save(QString::fromStdString(path), "BMP"));
    return path;
  }
  void add(const std::string& path) {
    boxes_.answerOpen(path);
    control<QPushButton>("btn_OpenLogo")->click();
  }
  app::LogoPreviewBox* preview() const { return app::LogoPreviewBox::in(*para_); }
  QListWidget* list() const { return control<QListWidget>("ListBox1"); }

  // The preview, dot by dot, against the picture: black exactly where the
  // picture is darker than `threshold`, white in the padding to 16 × 8.
  static void expectDotsOf(const QImage& shown, const QImage& picture, int threshold) {
    ASSERT_EQ(shown.size(), QSize(16, 8));
    for (int y = 0; y < 8; ++y) {
      for (int x = 0; x < 16; ++x) {
        const bool black = x < picture.width() && y < picture.height() && qGray(picture.pixel(x, y)) < threshold;
        EXPECT_EQ(qGray(shown.pixel(x, y)), black ? 0 : 255) << x << "," << y;
      }
    }
  }
};

TEST_F(ParaLogo, ThePreviewFollowsTheListAndTheButtonsSendWhatOmbrelctlSends) {
  const VirtualPrinter printer;
  openOn(printer, 2);
  const QImage picture = knownPicture();
  const std::string known = save(picture, "known.bmp");
  const std::string square = save(QImage(8, 8, QImage::Format_RGB32), "square.bmp");
  add(square);
  add(known);
  EXPECT_EQ(boxes_.shown().back(), "open:  BMP FILE(*.BMP)|*bmp");
  EXPECT_EQ(controls().items("ListBox1"), (std::vector<std::string>{square, known}));
  EXPECT_EQ(list()->currentRow(), 0);  // the first entry, not the added one

  list()->setCurrentRow(1);
  expectDotsOf(preview()->dots(), picture, 128);
  EXPECT_EQ(preview()->sizeText().toStdString(), "16 B, 1.bin: 4120 / 262144 B");
  control<QSlider>("trk_LogoThreshold")->setValue(64);  // the gray pixel turns white
  expectDotsOf(preview()->dots(), picture, 64);

  control<QPushButton>("btn_DownLogo")->click();
  ASSERT_TRUE(waitUntilIdle());
  control<QPushButton>("btn_PrintLogo")->click();
  ASSERT_TRUE(waitUntilIdle());
  const auto fromWindow = received(printer);
  ASSERT_EQ(fromWindow.size(), 18u);  // 4120 bytes in 17 blocks, then the print sequence
  EXPECT_EQ(fromWindow.back(), "raw: 1C 70 02 00");
  const auto run =
      test_support::runProgram(test_support::builtProgram("ombrelctl"),
                               {"--dir", dir_.path().string(), "--link", printer.link(), "--logo", square, "--logo",
                                known, "--logo-select", "1", "--logo-threshold", "64", "btn_DownLogo", "btn_PrintLogo"},
                               {{"OMBREL_TIME_SCALE", "2"}});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  const auto both = received(printer);
  ASSERT_EQ(both.size(), 36u);
  EXPECT_EQ(std::vector<std::string>(both.begin() + 18, both.end()), fromWindow);

  list()->setCurrentRow(0);
  control<QPushButton>("btn_DeleteLogo")->click();
  EXPECT_EQ(controls().items("ListBox1"), (std::vector<std::string>{known}));
  EXPECT_EQ(preview()->sizeText().toStdString(), "16 B, 1.bin: 4112 / 262144 B");
  expectDotsOf(preview()->dots(), picture, 64);
  closePara();
}

// The whole logo is seen in the preview's own room: a larger one scaled down
// to it (its image too large for the printer, so the size text is long), a
// small one dot for pixel; neither resizes the window.
TEST_F(ParaLogo, ThePreviewShowsTheWholeLogoAndKeepsTheWindowsSize) {
  openPara();
  tabs()->setCurrentWidget(control<QWidget>("tab_Download"));
  settle(std::chrono::milliseconds(50));
  const QSize windowSize = para_->size();
  QImage large(2400, 900, QImage::Format_RGB32);
  large.fill(Qt::black);
  add(save(large.convertToFormat(QImage::Format_Mono), "large.bmp"));
  settle(std::chrono::milliseconds(50));
  const QSize room = preview()->picture().contentsRect().size();
  const QImage shown = preview()->picture().pixmap().toImage();
  ASSERT_LT(room.width(), preview()->dots().width());
  EXPECT_TRUE(shown.width() == room.width() || shown.height() == room.height()) << "at the box's size";
  EXPECT_TRUE(QRect(QPoint(), room).contains(shown.rect()));
  EXPECT_NEAR(static_cast<double>(shown.width()) / shown.height(), 2400.0 / 904, 0.05);
  EXPECT_EQ(qGray(shown.pixel(shown.rect().center())), 0);
  EXPECT_NE(preview()->sizeText().indexOf(QStringLiteral(" — ")), -1) << "the image is too large";
  EXPECT_EQ(para_->size(), windowSize);
  saveScreenshot(*para_, "para-logo-large.png");

  add(save(knownPicture(), "known.bmp"));
  list()->setCurrentRow(1);
  EXPECT_EQ(preview()->picture().pixmap().toImage().convertToFormat(preview()->dots().format()), preview()->dots());
  expectDotsOf(preview()->dots(), knownPicture(), 128);
  EXPECT_EQ(para_->size(), windowSize);
  closePara();
}

TEST_F(ParaLogo, TheEnlargedViewShowsEachDotAsASquareOfWholePixelsThatFollowsTheWindow) {
  openPara();
  auto* zoom = control<QPushButton>("btn_ZoomLogo");
  EXPECT_FALSE(zoom->isEnabled()) << "no logo to enlarge";
  add(save(knownPicture(), "known.bmp"));
  ASSERT_TRUE(zoom->isEnabled());
  zoom->click();
  auto* view = dynamic_cast<app::LogoZoomWindow*>(para_->findChild<QDialog*>("LogoZoom"));
  ASSERT_NE(view, nullptr);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(view));
  for (const QSize size : {QSize(0, 0), QSize(40, 20)}) {
    if (!size.isEmpty()) view->resize(size);
    settle(std::chrono::milliseconds(30));
    const int scale = view->scale();
    const QImage shown = view->picture().pixmap().toImage();
    ASSERT_EQ(shown.size(), QSize(16, 8) * scale);
    EXPECT_TRUE(view->picture().contentsRect().contains(QRect(QPoint(0, 0), shown.size())))
        << "the whole logo shows without scrolling";
    EXPECT_GE(scale, size.isEmpty() ? 4 : 2);
    EXPECT_LE(scale, size.isEmpty() ? 16 : 2);
    for (int y = 0; y < shown.height(); ++y) {
      for (int x = 0; x < shown.width(); ++x) {
        ASSERT_EQ(shown.pixel(x, y), preview()->dots().pixel(x / scale, y / scale)) << x << "," << y;
      }
    }
  }
  control<QPushButton>("btn_DeleteLogo")->click();
  EXPECT_FALSE(zoom->isEnabled());
  EXPECT_TRUE(view->picture().pixmap().isNull()) << "the view follows the list";
  closePara();
}

}  // namespace
}  // namespace ombrel::gui_test
