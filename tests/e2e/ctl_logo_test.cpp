// ombrelctl btn_DownLogo (task 7) and btn_PrintLogo (task 17) against the
// virtual printer: the logo image in its memory at 0x1CF000, the print
// sequence for a list position, the downloads that stop before anything is
// written or sent, and the preview PNG.

#include <QImage>
#include <filesystem>
#include <regex>

#include "e2e/ctl_fixture.h"

namespace ombrel::test_support {
namespace {

class Logos : public CtlTest {
 protected:
  std::string picture(const std::string& name, const QImage& image) {
    const std::string path = dir() + "/" + name;
    EXPECT_TRUE(image.save(QString::fromStdString(path), "BMP"));
    return path;
  }
  std::string picture(const std::string& name, int width, int height, QRgb colour = qRgb(0, 0, 0)) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return picture(name, image);
  }
  std::string image() const { return dir() + "/1.bin"; }
};

TEST_F(Logos, TheImageLandsAtItsAddressAndTheSecondLogoPrintsAsNumberTwo) {
  VirtualPrinter printer;
  const auto down = ctl({"--link", printer.link(), "--logo", picture("a.bmp", 8, 8), "--logo",
                         picture("b.bmp", 8, 8, qRgb(255, 255, 255)), "btn_DownLogo"});
  EXPECT_EQ(down.exitCode, 0) << down.err;
  EXPECT_TRUE(std::regex_search(down.out, std::regex("^Downloading LOGO" + image() + "\n"))) << down.out;
  // 4112 bytes: sixteen whole blocks from 0x1CF000, then one of 16 at 0x1D0000.
  std::vector<std::string> heads;
  for (const Received& unit : printer.received()) {
    if (unit.command == 51) heads.push_back(unit.bytes.substr(12, 11) + " / " + unit.bytes.substr(36, 5));
  }
  ASSERT_EQ(heads.size(), 17u);
  EXPECT_EQ(heads[0], "00 F0 1C 00 / 00 01");
  EXPECT_EQ(heads[15], "00 FF 1C 00 / 00 01");
  EXPECT_EQ(heads[16], "00 00 1D 00 / 10 00");

  // The printer's memory from 0x1CF000 holds "1.bin" byte for byte (the
  // read-back keeps whole replies of 256 bytes).
  const std::string back = dir() + "/back.hex";
  const auto read = ctl({"--link", printer.link(), "--set", "StartAddress=1CF000", "--set", "ReadLength=4112",
                         "--save-as", back, "btn_ReadFont"});
  EXPECT_EQ(read.exitCode, 0) << read.err;
  ASSERT_EQ(fileContent(image()).size(), 4112u);
  EXPECT_TRUE(fileContent(back).substr(0, 4112) == fileContent(image()));

  // Verified, the same image fails at the one byte a printer stores wrongly.
  VirtualPrinter corrupting({"--corrupt-store", "0x1D0005"});
  const auto verified = ctl({"--link", corrupting.link(), "--verify", "--logo", picture("a.bmp", 8, 8), "--logo",
                             picture("b.bmp", 8, 8, qRgb(255, 255, 255)), "--language", "1", "btn_DownLogo"});
  EXPECT_EQ(verified.exitCode, 1);
  EXPECT_EQ(verified.err, "Verify failed at address 0x1D0005\n");

  VirtualPrinter fresh;
  const auto printed =
      ctl({"--link", fresh.link(), "--logo", "a.bmp", "--logo", "b.bmp", "--logo-select", "1", "btn_PrintLogo"});
  EXPECT_EQ(printed.exitCode, 0) << printed.err;
  EXPECT_EQ(wire(fresh), (std::vector<std::string>{kIdentify, "raw: 1C 70 02 00"}));

  // A link that does not open ends the task as a failure with its text.
  const auto unopened = ctl({"--link", "serial:" + dir() + "/no-such-port", "btn_PrintLogo"});
  EXPECT_EQ(unopened.exitCode, 1);
  EXPECT_NE(unopened.err, "");
}

TEST_F(Logos, DownloadsThatStopBeforeSending) {
  const std::string missing = dir() + "/gone.bmp";
  const std::string notBmp = dir() + "/text.bmp";
  std::ofstream(notBmp) << "not a picture";
  struct Case {
    const char* what;
    std::vector<std::string> logos;
    std::string err;  // its start
    bool imageWritten;
  };
  const Case cases[] = {
      {"a missing file is named, not skipped",
       {picture("a.bmp", 8, 8), missing, picture("c.bmp", 8, 8)},
       "文件不存在: " + missing + "\n",
       false},
      {"an unreadable file is named with the reader's error", {notBmp}, notBmp + ": ", false},
      {"2048 × 1024 is over 256 KB", {picture("big.bmp", 2048, 1024)}, "BMP 文件不能超过256\n", true},
      {"an empty list", {}, "ListBox1 is empty: nothing is sent\n", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::filesystem::remove(image());
    VirtualPrinter printer;
    std::vector<std::string> args{"--link", printer.link(), "btn_DownLogo"};
    for (const std::string& logo : c.logos) args.insert(args.end(), {"--logo", logo});
    const auto run = ctl(args);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_EQ(run.err.rfind(c.err, 0), 0u) << run.err;
    EXPECT_TRUE(printer.received().empty());
    EXPECT_EQ(std::filesystem::exists(image()), c.imageWritten);
  }
}

TEST_F(Logos, ThePreviewPngIsTheDotsTheThresholdChooses) {
  QImage ramp(256, 4, QImage::Format_RGB32);
  for (int x = 0; x < 256; ++x) {
    for (int y = 0; y < 4; ++y) ramp.setPixel(x, y, qRgb(x, x, x));
  }
  const std::string path = picture("ramp.bmp", ramp);
  const std::string png = dir() + "/preview.png";
  const auto run = ctl({"--logo", path, "--logo-select", "0", "--logo-threshold", "64", "--logo-preview", png});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const QImage preview(QString::fromStdString(png));
  ASSERT_EQ(preview.size(), QSize(256, 8));  // padded to 8 rows
  for (int x = 0; x < 256; ++x) EXPECT_EQ(qGray(preview.pixel(x, 0)), x < 64 ? 0 : 255) << x;
  EXPECT_EQ(qGray(preview.pixel(0, 7)), 255);                           // a padding row
  EXPECT_EQ(ctl({"--logo", path, "--logo-preview", png}).exitCode, 2);  // no selection
}

}  // namespace
}  // namespace ombrel::test_support
