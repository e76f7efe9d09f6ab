// Printing a gallery picture: its printed size, the white frame, the page.
#include "gallery/GalleryPrint.h"

#include <gtest/gtest.h>

#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <filesystem>
#include <sstream>

#include "gallery/GalleryFolder.h"
#include "imaging/core/Stream.h"
#include "tests/gallery/MessageScript.h"
#include "tests/support/TestSupport.h"

namespace glamora {
namespace {

namespace fs = std::filesystem;
using test::MessageScript;
using test::TempFolder;

struct SizeCase {
  int dpi, width, height;
  QSize expected;
};

TEST(PrintedSize, TwoPointEightInchesWideInThePictureProportion) {
  const SizeCase cases[] = {
      {600, 228, 314, {1680, 2314}},   // 2313.68
      {1200, 228, 314, {3360, 4627}},  // 4627.37
      {300, 228, 314, {840, 1157}},
      {72, 4, 1, {202, 50}},   // 201.6 wide; 50.5 high goes to the even 50
      {72, 4, 3, {202, 152}},  // 151.5 goes to the even 152
      {600, 314, 228, {1680, 1220}},
      {600, 0, 314, {}},
  };
  for (const SizeCase& c : cases) {
    EXPECT_EQ(PrintedSize(c.dpi, c.width, c.height), c.expected) << c.dpi << " dpi, " << c.width << " x " << c.height;
  }
}

TEST(DrawPrintFrame, WhitensTheFirstAndSecondToLastColumnsAndRows) {
  Bitmap picture(6, 5);
  picture.Fill(clBlack);
  DrawPrintFrame(picture);
  // Frame (0, 0)-(5, 4) with right and bottom exclusive: columns 0 and 4, rows 0 and 3.
  const char* expected[] = {
      "WWWWW.",
      "W...W.",
      "W...W.",
      "WWWWW.",
      "......",
  };
  for (int y = 0; y < 5; ++y) {
    for (int x = 0; x < 6; ++x) {
      EXPECT_EQ(picture.Pixel(x, y), expected[y][x] == 'W' ? clWhite : clBlack) << x << ", " << y;
    }
  }
}

TEST(DrawPrintFrame, ATinyPictureIsLeftAlone) {
  for (const auto& [w, h] : {std::pair{1, 1}, std::pair{1, 5}, std::pair{5, 1}}) {
    Bitmap picture(w, h);
    picture.Fill(clBlack);
    DrawPrintFrame(picture);
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) EXPECT_EQ(picture.Pixel(x, y), clBlack);
    }
  }
}

// The text a command prints, or "" when it is not installed or fails.
std::string RunTool(const QString& program, const QStringList& arguments) {
  if (QStandardPaths::findExecutable(program).isEmpty()) return {};
  QProcess process;
  process.start(program, arguments);
  if (!process.waitForFinished(120000) || process.exitCode() != 0) return {};
  return process.readAllStandardOutput().toStdString();
}

struct Gray {
  int width = 0, height = 0;
  std::vector<uint8_t> pixels;
};

// A binary PGM as pdftoppm -gray writes it.
Gray ReadPgm(const std::string& path) {
  const std::vector<uint8_t> bytes = test::ReadAll(path);
  std::istringstream header(std::string(bytes.begin(), bytes.begin() + std::min<size_t>(bytes.size(), 64)));
  std::string magic;
  int maxValue = 0;
  Gray image;
  header >> magic >> image.width >> image.height >> maxValue;
  const size_t start = size_t(header.tellg()) + 1;
  if (magic != "P5" || bytes.size() < start + size_t(image.width) * image.height) return {};
  image.pixels.assign(bytes.begin() + start, bytes.begin() + start + size_t(image.width) * image.height);
  return image;
}

class GalleryPrintTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Bitmap work(228, 314);
    work.Fill(Rgb(20, 20, 20));
    picture = AddGalleryPicture(folder.Path(), 0, work).FileName;
  }

  void UsePdf(QPrinter& printer, int dpi) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(pdf));
    printer.setResolution(dpi);
  }

  TempFolder folder;
  std::string picture;
  std::string pdf = folder.File("print.pdf");
};

class PrintResolutionTest : public GalleryPrintTest, public ::testing::WithParamInterface<SizeCase> {};

TEST_P(PrintResolutionTest, PrintsOnePageWithThePictureAtItsPrintedSize) {
  const SizeCase& c = GetParam();
  QPrinter printer(QPrinter::HighResolution);
  UsePdf(printer, c.dpi);
  const QRect printed = PrintGalleryPicture(picture, printer);
  EXPECT_EQ(printed, QRect(QPoint(0, 0), c.expected));
  ASSERT_TRUE(fs::exists(pdf));
  ASSERT_GT(fs::file_size(pdf), 0u);

  const std::string info = RunTool("pdfinfo", {QString::fromStdString(pdf)});
  if (info.empty()) GTEST_SKIP() << "poppler-utils (pdfinfo, pdfimages, pdftoppm) not installed";
  EXPECT_NE(info.find("Pages:           1\n"), std::string::npos) << info;

  // Exactly one image, the 228 × 314 picture itself.
  std::istringstream images(RunTool("pdfimages", {"-list", QString::fromStdString(pdf)}));
  std::string line;
  std::vector<std::string> rows;
  while (std::getline(images, line)) {
    if (line.find(" image ") != std::string::npos) rows.push_back(line);
  }
  ASSERT_EQ(rows.size(), 1u);
  std::istringstream row(rows[0]);
  int page = 0, number = 0, width = 0, height = 0;
  std::string type;
  row >> page >> number >> type >> width >> height;
  EXPECT_EQ(width, 228);
  EXPECT_EQ(height, 314);

  // Render the page at the printer's resolution from the printable area's
  // corner. The picture is dark except for its white frame lines at the top
  // and left, so its last dark column and row end at the printed size.
  const QPoint origin = printer.pageLayout().paintRectPixels(c.dpi).topLeft();
  const std::string prefix = folder.File("page");
  RunTool("pdftoppm", {"-r", QString::number(c.dpi), "-gray", "-aa", "no", "-aaVector", "no", "-singlefile", "-x",
                   QString::number(origin.x()), "-y", QString::number(origin.y()), "-W",
                   QString::number(c.expected.width() + 50), "-H", QString::number(c.expected.height() + 50),
                   QString::fromStdString(pdf), QString::fromStdString(prefix)});
  const Gray page1 = ReadPgm(prefix + ".pgm");
  ASSERT_GT(page1.width, 0) << "pdftoppm gave no page";
  int right = -1, bottom = -1;
  for (int y = 0; y < page1.height; ++y) {
    for (int x = 0; x < page1.width; ++x) {
      if (page1.pixels[size_t(y) * page1.width + x] < 128) {
        right = std::max(right, x);
        bottom = std::max(bottom, y);
      }
    }
  }
  EXPECT_NEAR(right + 1, c.expected.width(), 1);
  EXPECT_NEAR(bottom + 1, c.expected.height(), 1);
  // The white frame: the top-left corner of the printed picture is not dark.
  EXPECT_GE(page1.pixels[0], 128);
}

INSTANTIATE_TEST_SUITE_P(Dpi, PrintResolutionTest,
                         ::testing::Values(SizeCase{600, 228, 314, {1680, 2314}},
                                           SizeCase{1200, 228, 314, {3360, 4627}}),
                         [](const auto& p) { return std::to_string(p.param.dpi); });

TEST_F(GalleryPrintTest, ThePrinterChoicesDoNotChangeWhatIsPrinted) {
  QPrinter printer(QPrinter::HighResolution);
  int asked = 0;
  const QRect printed = PrintSelectedGalleryPicture(1, picture, printer, [&](QPrinter& chosen) {
    ++asked;
    UsePdf(chosen, 600);
    chosen.setCopyCount(3);
    chosen.setPrintRange(QPrinter::PageRange);
    chosen.setFromTo(2, 4);
    return true;
  });
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(printed, QRect(0, 0, 1680, 2314));
  EXPECT_EQ(printer.copyCount(), 1);
  EXPECT_EQ(printer.printRange(), QPrinter::AllPages);
  const std::string info = RunTool("pdfinfo", {QString::fromStdString(pdf)});
  if (!info.empty()) {
    EXPECT_NE(info.find("Pages:           1\n"), std::string::npos);
  }
}

TEST_F(GalleryPrintTest, CancellingThePrintDialogPrintsNothing) {
  QPrinter printer(QPrinter::HighResolution);
  UsePdf(printer, 600);
  MessageScript messages;
  EXPECT_TRUE(PrintSelectedGalleryPicture(1, picture, printer, [](QPrinter&) { return false; }).isEmpty());
  EXPECT_FALSE(fs::exists(pdf));
  EXPECT_TRUE(messages.Shown().empty());
}

TEST_F(GalleryPrintTest, WithoutAPictureSaysSoAndAsksForNoPrinter) {
  struct Case {
    int imageCount;
    std::string file;
  };
  for (const Case& c : {Case{0, picture}, Case{3, ""}}) {
    QPrinter printer(QPrinter::HighResolution);
    UsePdf(printer, 600);
    MessageScript messages;
    bool asked = false;
    EXPECT_TRUE(PrintSelectedGalleryPicture(c.imageCount, c.file, printer, [&](QPrinter&) { return asked = true; })
                    .isEmpty());
    EXPECT_FALSE(asked);
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{"There is not a selected gallery picture"});
    EXPECT_FALSE(fs::exists(pdf));
  }
}

TEST_F(GalleryPrintTest, AnUndecodablePictureOrOneBeyondTheLimitsStartsNoJob) {
  const std::string broken = folder.File("0002.jpg");
  test::WriteAll(broken, std::string("\xFF\xD8\xFF\xE0 truncated", 14));
  struct Case {
    std::string file;
    DecodeLimits limits;
  };
  // The 228 × 314 picture is one pixel too high, then one pixel too many.
  for (const Case& c : {Case{broken, kWindowPictureLimits}, Case{picture, {313, 1'000'000}},
                        Case{picture, {1000, 228 * 314 - 1}}}) {
    QPrinter printer(QPrinter::HighResolution);
    UsePdf(printer, 600);
    EXPECT_TRUE(PrintGalleryPicture(c.file, printer, c.limits).isEmpty()) << c.file << " " << c.limits.MaxSide;
    EXPECT_FALSE(fs::exists(pdf));
  }
}

TEST_F(GalleryPrintTest, AVanishedPictureIsAFileError) {
  QPrinter printer(QPrinter::HighResolution);
  UsePdf(printer, 600);
  EXPECT_THROW(PrintGalleryPicture(folder.File("0009.jpg"), printer), FileError);
  EXPECT_FALSE(fs::exists(pdf));
}

}  // namespace
}  // namespace glamora
