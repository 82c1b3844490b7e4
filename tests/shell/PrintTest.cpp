// Printing: the page arithmetic in twips, and whole prints into PDF files read back page by page.
#include <QFile>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <algorithm>

#include "shell/Printing.h"
#include "shell/ShellFixture.h"

namespace fotavel::testing {
namespace {

using print::Orientation;
using print::PlaceOnPage;
using print::Question;

TEST(PrintLayout, PhotosFitTheSheetCentredAndOnlyAnOrientationThatDoesNotSuitAsks) {
  // A4 in twips: 210 mm = 11905.5 twips and 297 mm = 16837.8, taken as whole ones.
  EXPECT_EQ(std::pair(print::Twips(210 / 25.4), print::Twips(297 / 25.4)), std::pair(11906, 16838));
  const struct {
    int pageWidth;
    double width, height;  // the photo, then its place
    double placedWidth, placedHeight;
    int x, y;
  } cases[] = {
      {11906, 4500, 3000, 4500, 3000, 3703, 6919},  // 300 × 200 pixels: its own size
      // 1600 × 1200 in portrait: 14838 high, then 11106 wide; in landscape only the height gives.
      {11906, 24000, 18000, 11106, 8329.5, 400, 4254},
      {16838, 24000, 18000, 13208, 9906, 1815, 1000},
      {11906, 18000, 24000, 11106, 14808, 400, 1015},  // 11128.5 wide after the height
      {11906, 4501, 3001, 4501, 3001, 3702, 6918},     // 3702.5 and 6918.5 go down,
      {11906, 4503, 3003, 4503, 3003, 3702, 6918},     // 3701.5 and 6917.5 up
  };
  for (const auto& c : cases) {
    const print::Placement p =
        PlaceOnPage(c.pageWidth, 11906 + 16838 - c.pageWidth, c.width, c.height);
    EXPECT_EQ(std::tuple(p.width, p.height, p.x, p.y),
              std::tuple(c.placedWidth, c.placedHeight, c.x, c.y))
        << c.width << " x " << c.height;
  }
  // A photo that suits the page, or a square one, asks nothing.
  EXPECT_EQ(QuestionFor(Orientation::Portrait, 3000, 4500), Question::None);
  EXPECT_EQ(QuestionFor(Orientation::Landscape, 4500, 3000), Question::None);
  EXPECT_EQ(QuestionFor(Orientation::Portrait, 3000, 3000), Question::None);
}

const QString kPaysage = QStringLiteral(
    "Largeur plus grande que la hauteur:\r\nLancer l'impression en orientation Paysage ?");
const QString kPortrait = QStringLiteral(
    "Hauteur grande que la largeur:\r\nLancer l'impression en orientation Portrait ?");

// Bounds in pixels of a page rendered at 72 dpi, 20 twips a pixel.
struct Box {
  int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
  void Add(int x, int y) {
    left = std::min(left, x), top = std::min(top, y);
    right = std::max(right, x + 1), bottom = std::max(bottom, y + 1);
  }
};

class Printing : public ShellTest {
 protected:
  // A4 on a PDF file, margins 30 mm on the left and 10 mm elsewhere, so that
  // the printable area's centre is not the sheet's.
  QPrinter* UsePdf(const QString& name, QPageLayout::Orientation orientation) {
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(folder.filePath(name));
    printer->setPageSize(QPageSize(QPageSize::A4));
    printer->setPageOrientation(orientation);
    printer->setPageMargins(QMarginsF(30, 10, 10, 10), QPageLayout::Millimeter);
    QPrinter* kept = printer.get();
    window->SetPrinter(std::move(printer));
    return kept;
  }

  // The upper half red, the lower blue: a photo printed upside down shows.
  frmImage* OpenRedOverBlue(const QString& name, int width, int height) {
    cDIBSection photo;
    EXPECT_TRUE(photo.Create(width, height));
    for (int y = 0; y < height; ++y) {  // storage rows run bottom-up
      const bool red = y >= height / 2;
      for (int x = 0; x < width; ++x) {
        photo.row(y)[3 * x] = red ? 0 : 255;
        photo.row(y)[3 * x + 1] = 0;  // a new surface's bytes are whatever was there
        photo.row(y)[3 * x + 2] = red ? 255 : 0;
      }
    }
    return OpenPath(WritePhoto(name, photo));
  }

  // Each page's size in points, as the PDF file states it.
  QList<QSizeF> Pages(const QString& name) const {
    QFile file(folder.filePath(name));
    if (!file.open(QIODevice::ReadOnly)) return {};
    static const QRegularExpression mediaBox(
        QStringLiteral(R"(/MediaBox \[\s*0 0 ([0-9.]+) ([0-9.]+)\s*\])"));
    QList<QSizeF> pages;
    auto it = mediaBox.globalMatch(QString::fromLatin1(file.readAll()));
    while (it.hasNext()) {
      const auto m = it.next();
      pages.push_back(QSizeF(m.captured(1).toDouble(), m.captured(2).toDouble()));
    }
    return pages;
  }

  // The first page drawn at 72 dpi by poppler; a null image without it.
  QImage Render(const QString& name) const {
    if (QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty()) return {};
    const QString base = folder.filePath(name + QStringLiteral("-page"));
    QProcess::execute(QStringLiteral("pdftoppm"), {"-r", "72", "-f", "1", "-l", "1", "-singlefile",
                                                   "-png", folder.filePath(name), base});
    return QImage(base + QStringLiteral(".png")).convertToFormat(QImage::Format_RGB32);
  }
};

TEST_F(Printing, ASmallPhotoPrintsAtItsSizeCentredOnTheSheetUnderItsTitle) {
  UsePdf(QStringLiteral("page.pdf"), QPageLayout::Portrait);
  frmImage* document = OpenRedOverBlue(QStringLiteral("petite.bmp"), 300, 200);
  const double zoom = document->Zoom();
  ui.Answer(MessageAnswer::No);
  Trigger("mnuFile_3");
  ASSERT_EQ(MessageCount(), 1);
  ExpectMessage(0, kPaysage, MessageIcon::Question);
  EXPECT_EQ(ui.Messages()[0].buttons, MessageButtons::YesNoCancel);
  EXPECT_FALSE(document->Document().Dirty());
  EXPECT_EQ(document->Zoom(), zoom);

  const QList<QSizeF> pages = Pages(QStringLiteral("page.pdf"));
  ASSERT_EQ(pages.size(), 1);
  EXPECT_LT(pages[0].width(), pages[0].height());

  const QImage page = Render(QStringLiteral("page.pdf"));
  if (page.isNull()) GTEST_SKIP() << "pdftoppm is needed to look at the page";
  Box red, blue, ink;
  for (int y = 0; y < page.height(); ++y) {
    for (int x = 0; x < page.width(); ++x) {
      const QColor c = page.pixelColor(x, y);
      if (c.red() > 200 && c.green() < 80 && c.blue() < 80) red.Add(x, y);
      if (c.blue() > 200 && c.red() < 80 && c.green() < 80) blue.Add(x, y);
      if (c.red() < 128 && c.green() < 128 && c.blue() < 128) ink.Add(x, y);
    }
  }
  // 4500 × 3000 twips from (3703, 6919): the red half over the blue one.
  for (const auto& [edge, twips] : {std::pair{red.left, 3703},
                                    {red.right, 8203},
                                    {red.top, 6919},
                                    {red.bottom, 8419},
                                    {blue.top, 8419},
                                    {blue.bottom, 9919}})
    EXPECT_NEAR(edge, twips / 20.0, 1) << twips;
  // The title, "petite.bmp", centred over the printable width (30 mm to
  // 200 mm, centre 115 mm = 326 pixels) just under the 10 mm top margin.
  EXPECT_NEAR((ink.left + ink.right) / 2.0, 326, 2);
  EXPECT_NEAR(ink.top, 10 / 25.4 * 72, 3);
  EXPECT_LT(ink.bottom, 60);
}

TEST_F(Printing, AWidePhotoAsksForLandscapeAndTheChoiceStaysForATallOne) {
  QPrinter* printer = UsePdf(QStringLiteral("annule.pdf"), QPageLayout::Portrait);
  OpenRedOverBlue(QStringLiteral("large.bmp"), 1600, 1200);
  ui.Answer(MessageAnswer::Cancel).Answer(MessageAnswer::No).Answer(MessageAnswer::Yes);
  window->Imprimer();
  EXPECT_FALSE(QFile::exists(printer->outputFileName()));
  const auto printTo = [&](const char* name) {
    printer->setOutputFileName(folder.filePath(QString::fromLatin1(name)));
    window->Imprimer();
    const QList<QSizeF> pages = Pages(QString::fromLatin1(name));
    return pages.size() == 1 ? pages[0] : QSizeF();
  };
  const QSizeF no = printTo("non.pdf");
  EXPECT_LT(no.width(), no.height());
  const QSizeF yes = printTo("oui.pdf");
  EXPECT_GT(yes.width(), yes.height());
  for (std::size_t i = 0; i < 3; ++i) ExpectMessage(i, kPaysage, MessageIcon::Question);

  OpenRedOverBlue(QStringLiteral("haute.bmp"), 1200, 1600);
  ui.Answer(MessageAnswer::No);
  const QSizeF tall = printTo("haute.pdf");
  EXPECT_GT(tall.width(), tall.height());
  EXPECT_EQ(MessageCount(), 4);
  ExpectMessage(3, kPortrait, MessageIcon::Question);
}

TEST_F(Printing, NoPrinterAndAPrinterThatCannotStartAreSaidSo) {
  // A print server that is not there: the system knows no printer. The CUPS library reads the
  // variable once per process, and CTest runs each test in a process of its own.
  qputenv("CUPS_SERVER", folder.filePath(QStringLiteral("pas-de-cups.sock")).toLocal8Bit());
  OpenRedOverBlue(QStringLiteral("carre.bmp"), 200, 200);
  ui.Answer(MessageAnswer::Ok).Answer(MessageAnswer::Ok);
  window->Imprimer();
  qunsetenv("CUPS_SERVER");
  ExpectMessage(
      0, QStringLiteral("Aucune imprimante n'est installée : la photo ne peut pas être imprimée."),
      MessageIcon::Exclamation);

  UsePdf(QStringLiteral("absent/page.pdf"), QPageLayout::Portrait);
  window->Imprimer();
  ExpectMessage(
      1, QStringLiteral("L'impression n'a pas pu commencer : la photo n'a pas été imprimée."),
      MessageIcon::Exclamation);
  EXPECT_EQ(MessageCount(), 2);
}

// Run by tests/shell/print-cups.sh against a CUPS server of its own, whose
// default queue writes PDF files: the real path to the system's printer.
TEST_F(Printing, OnTheSystemDefaultPrinter) {
  if (qEnvironmentVariableIsEmpty("FOTAVEL_CUPS_PRINT")) GTEST_SKIP() << "FOTAVEL_CUPS_PRINT unset";
  frmImage* document = OpenRedOverBlue(QStringLiteral("cups.bmp"), 300, 200);
  ui.Answer(MessageAnswer::No);
  window->Imprimer();
  EXPECT_EQ(MessageCount(), 1);
  ExpectMessage(0, kPaysage, MessageIcon::Question);
  EXPECT_FALSE(document->Document().Dirty());
}

}  // namespace
}  // namespace fotavel::testing
