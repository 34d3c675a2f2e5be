// ombrelctl btn_DownLogo (task 7) and btn_PrintLogo (task 17) against the
// virtual printer: the logo image in its memory at 0x1CF000, the print
// sequence for a list position, and the downloads that stop before anything
// is written or sent.

#include <QImage>
#include <filesystem>
#include <regex>

#include "e2e/ctl_fixture.h"
#include "platform/bytes.h"

namespace ombrel::test_support {
namespace {

class Logos : public CtlTest {
 protected:
  std::string picture(const std::string& name, int width, int height, QRgb colour = qRgb(0, 0, 0)) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    const std::string path = dir() + "/" + name;
    EXPECT_TRUE(image.save(QString::fromStdString(path), "BMP"));
    return path;
  }
  std::string image() const { return dir() + "/1.bin"; }
  Bytes imageBytes() const {
    const std::string text = fileContent(image());
    return Bytes(text.begin(), text.end());
  }
  // The command-51 frames' addresses and data lengths, as "address+length".
  static std::vector<std::string> blocks(const VirtualPrinter& printer) {
    std::vector<std::string> out;
    for (const Received& unit : printer.received()) {
      if (unit.command != 51) continue;
      const Bytes head = [&] {
        Bytes bytes;
        parseHex(unit.bytes.substr(0, 47), bytes);
        return bytes;
      }();
      char text[32];
      std::snprintf(text, sizeof text, "%02X%02X%02X+%u", head[6], head[5], head[4], head[12] | (head[13] << 8));
      out.emplace_back(text);
    }
    return out;
  }
};

TEST_F(Logos, TheImageLandsAtItsAddressAndTheSecondLogoPrintsAsNumberTwo) {
  VirtualPrinter printer;
  const std::vector<std::string> list{"--link", printer.link(),
                                      "--logo", picture("a.bmp", 8, 8),
                                      "--logo", picture("b.bmp", 8, 8, qRgb(255, 255, 255))};
  auto args = list;
  args.push_back("btn_DownLogo");
  const auto down = ctl(args);
  EXPECT_EQ(down.exitCode, 0) << down.err;
  EXPECT_TRUE(std::regex_search(down.out, std::regex("^Downloading LOGO" + image() + "\n"))) << down.out;
  // 4112 bytes: sixteen whole blocks and one of 16, addressed from 0x1CF000.
  std::vector<std::string> expected;
  for (int k = 0; k < 16; ++k) {
    char text[16];
    std::snprintf(text, sizeof text, "%06X+256", 0x1CF000 + 256 * k);
    expected.emplace_back(text);
  }
  expected.emplace_back("1D0000+16");
  EXPECT_EQ(blocks(printer), expected);
  ASSERT_EQ(imageBytes().size(), 4112u);

  // What the printer's memory holds from 0x1CF000 is the image, byte for
  // byte (the read-back keeps whole replies of 256 bytes).
  const std::string back = dir() + "/back.hex";
  const auto read = ctl({"--link", printer.link(), "--set", "StartAddress=1CF000", "--set", "ReadLength=4112",
                         "--save-as", back, "btn_ReadFont"});
  EXPECT_EQ(read.exitCode, 0) << read.err;
  EXPECT_TRUE(fileContent(back).substr(0, 4112) == fileContent(image()));

  VirtualPrinter fresh;
  auto print = list;
  print[1] = fresh.link();
  print.insert(print.end(), {"--logo-select", "1", "btn_PrintLogo"});
  const auto printed = ctl(print);
  EXPECT_EQ(printed.exitCode, 0) << printed.err;
  const auto units = wire(fresh);
  ASSERT_FALSE(units.empty());
  EXPECT_EQ(units.back(), "raw: 1C 70 02 00");
  EXPECT_EQ(std::count_if(units.begin(), units.end(), [](const std::string& u) { return u.rfind("raw:", 0) == 0; }), 1);

  // A link that does not open ends the task as a failure with its text.
  const auto unopened = ctl({"--link", "serial:" + dir() + "/no-such-port", "btn_PrintLogo"});
  EXPECT_EQ(unopened.exitCode, 1);
  EXPECT_NE(unopened.err, "");
}

TEST_F(Logos, DownloadsThatStopBeforeSending) {
  struct Case {
    const char* what;
    std::vector<std::string> logos;
    std::string err;
    bool imageWritten;
  };
  const std::string missing = dir() + "/gone.bmp";
  const std::string notBmp = dir() + "/text.bmp";
  std::ofstream(notBmp) << "not a picture";
  const Case cases[] = {
      {"a missing file is named, not skipped",
       {picture("a.bmp", 8, 8), missing, picture("c.bmp", 8, 8)},
       "文件不存在: " + missing + "\n",
       false},
      {"an unreadable file is named with the reader's error", {picture("a.bmp", 8, 8), notBmp}, notBmp + ": ", false},
      {"2048 × 1024 is over 256 KB", {picture("big.bmp", 2048, 1024)}, "BMP 文件不能超过256\n", true},
      {"an empty list", {}, "ListBox1 is empty: nothing is sent\n", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::filesystem::remove(image());
    VirtualPrinter printer;
    std::vector<std::string> args{"--link", printer.link()};
    for (const std::string& logo : c.logos) args.insert(args.end(), {"--logo", logo});
    args.push_back("btn_DownLogo");
    const auto run = ctl(args);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.err.rfind(c.err, 0), 0u) << run.err;
    EXPECT_TRUE(printer.received().empty());
    EXPECT_EQ(std::filesystem::exists(image()), c.imageWritten);
  }
}

TEST_F(Logos, ThePreviewIsTheDotsTheThresholdAndDitherChoose) {
  QImage ramp(256, 4, QImage::Format_RGB32);
  for (int x = 0; x < 256; ++x) {
    for (int y = 0; y < 4; ++y) ramp.setPixel(x, y, qRgb(x, x, x));
  }
  const std::string path = dir() + "/ramp.bmp";
  ASSERT_TRUE(ramp.save(QString::fromStdString(path), "BMP"));
  const std::string png = dir() + "/preview.png";
  struct Case {
    std::vector<std::string> options;
    int blackInRow;  // of the first row's 256 dots
  };
  for (const Case& c : {Case{{}, 128}, Case{{"--logo-threshold", "64"}, 64}}) {
    auto args = c.options;
    args.insert(args.end(), {"--logo", path, "--logo-select", "0", "--logo-preview", png});
    const auto run = ctl(args);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const QImage preview(QString::fromStdString(png));
    ASSERT_EQ(preview.size(), QSize(256, 8));  // padded to 8 rows
    int black = 0;
    for (int x = 0; x < 256; ++x) black += qGray(preview.pixel(x, 0)) == 0 ? 1 : 0;
    EXPECT_EQ(black, c.blackInRow);
    EXPECT_EQ(qGray(preview.pixel(0, 7)), 255);  // a padding row
  }
  const auto none = ctl({"--logo", path, "--logo-preview", png});
  EXPECT_EQ(none.exitCode, 2);
}

}  // namespace
}  // namespace ombrel::test_support
