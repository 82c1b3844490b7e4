// Printing: whole prints into PDF files drawn back by poppler, and the orientation question.
#include <QFile>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>

#include "shell/ShellFixture.h"
#include "shell/WindowCommands.h"

namespace fotavel::testing {
namespace {

const QString kPaysage = QStringLiteral(
    "Largeur plus grande que la hauteur:\r\nLancer l'impression en orientation Paysage ?");

// The first page of `pdf` drawn at 72 dpi by poppler, a pixel a point; null without poppler.
QImage Render(const QString& pdf) {
  QTemporaryDir dir;
  if (QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty()) return {};
  QProcess::execute(QStringLiteral("pdftoppm"), {"-r", "72", "-f", "1", "-l", "1", "-singlefile",
                                                 "-png", pdf, dir.filePath("p")});
  return QImage(dir.filePath("p.png")).convertToFormat(QImage::Format_RGB32);
}

// The 300 × 200 photo, red over blue, on an A4 sheet in portrait: 4500 × 3000 twips from
// (3703, 6919), 20 twips a pixel.
void ExpectTheSmallPhotoCentredOnA4(const QImage& page) {
  EXPECT_EQ(page.size(), QSize(595, 842));
  QRect red, blue;
  for (int y = 0; y < page.height(); ++y) {
    for (int x = 0; x < page.width(); ++x) {
      const QColor c = page.pixelColor(x, y);
      if (c.red() > 200 && c.green() < 80 && c.blue() < 80) red |= QRect(x, y, 1, 1);
      if (c.blue() > 200 && c.red() < 80 && c.green() < 80) blue |= QRect(x, y, 1, 1);
    }
  }
  for (const auto& [edge, twips] : {std::pair{red.left(), 3703},
                                    {red.right() + 1, 8203},
                                    {red.top(), 6919},
                                    {red.bottom() + 1, 8419},
                                    {blue.top(), 8419},
                                    {blue.bottom() + 1, 9919}}) {
    EXPECT_NEAR(edge, twips / 20.0, 1.5) << twips;
  }
}

class Printing : public ShellTest {
 protected:
  // A4 on a PDF file, margins 30 mm on the left and 10 mm elsewhere, so that
  // the printable area's centre is not the sheet's.
  QPrinter* UsePdf(const QString& name) {
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(folder.filePath(name));
    printer->setPageSize(QPageSize(QPageSize::A4));
    printer->setPageMargins(QMarginsF(30, 10, 10, 10), QPageLayout::Millimeter);
    QPrinter* kept = printer.get();
    window->SetPrinter(std::move(printer));
    return kept;
  }

  // The upper half red, the lower blue: a photo printed upside down shows.
  frmImage* OpenRedOverBlue(const QString& name, int width, int height) {
    QImage photo(width, height, QImage::Format_RGB32);
    photo.fill(Qt::blue);
    QPainter(&photo).fillRect(0, 0, width, height / 2, Qt::red);
    EXPECT_TRUE(photo.save(folder.filePath(name), "BMP"));
    return OpenPath(folder.filePath(name));
  }
};

// Cancel prints nothing; No prints the small photo at its size, centred; Yes turns the printer,
// and a tall photo then asks the other way.
TEST_F(Printing, AWidePhotoAsksForLandscapeAndTheChoiceStaysForATallOne) {
  QPrinter* printer = UsePdf(QStringLiteral("annule.pdf"));
  frmImage* document = OpenRedOverBlue(QStringLiteral("petite.bmp"), 300, 200);
  ui.Answer(MessageAnswer::Cancel).Answer(MessageAnswer::No).Answer(MessageAnswer::Yes);
  Trigger(commands::kImprimer);
  EXPECT_FALSE(QFile::exists(printer->outputFileName()));
  EXPECT_EQ(ui.Messages()[0].buttons, MessageButtons::YesNoCancel);
  const auto printTo = [&](const char* name) {
    printer->setOutputFileName(folder.filePath(QString::fromLatin1(name)));
    window->Imprimer();
    EXPECT_TRUE(QFile::exists(printer->outputFileName())) << name;
    return printer->pageLayout().orientation();
  };
  EXPECT_EQ(printTo("non.pdf"), QPageLayout::Portrait);
  EXPECT_EQ(printTo("oui.pdf"), QPageLayout::Landscape);
  EXPECT_FALSE(document->Document().Dirty());
  OpenRedOverBlue(QStringLiteral("haute.bmp"), 1200, 1600);
  ui.Answer(MessageAnswer::No);
  EXPECT_EQ(printTo("haute.pdf"), QPageLayout::Landscape);
  ASSERT_EQ(MessageCount(), 4);
  for (std::size_t i = 0; i < 3; ++i) ExpectMessage(i, kPaysage, MessageIcon::Question);
  ExpectMessage(3, QStringLiteral("Hauteur grande que la largeur:\r\nLancer l'impression en "
                                  "orientation Portrait ?"));

  const QImage page = Render(folder.filePath(QStringLiteral("non.pdf")));
  if (page.isNull()) GTEST_SKIP() << "pdftoppm is needed to look at the page";
  ExpectTheSmallPhotoCentredOnA4(page);
}

// Run by tests/shell/print-cups.sh against a CUPS server of its own, whose default queue writes
// PDF files: the real path to the system's printer, then the page that came out of the queue.
TEST_F(Printing, OnTheSystemDefaultPrinter) {
  if (qEnvironmentVariableIsEmpty("FOTAVEL_CUPS_PRINT")) GTEST_SKIP() << "FOTAVEL_CUPS_PRINT unset";
  frmImage* document = OpenRedOverBlue(QStringLiteral("cups.bmp"), 300, 200);
  ui.Answer(MessageAnswer::No);
  window->Imprimer();
  EXPECT_EQ(MessageCount(), 1);
  EXPECT_FALSE(document->Document().Dirty());
}

TEST(PrintedPage, FromTheSystemDefaultPrinter) {
  const QString pdf = qEnvironmentVariable("FOTAVEL_CUPS_PAGE");
  if (pdf.isEmpty()) GTEST_SKIP() << "FOTAVEL_CUPS_PAGE unset";
  const QImage page = Render(pdf);
  ASSERT_FALSE(page.isNull()) << "pdftoppm cannot draw " << pdf;
  ExpectTheSmallPhotoCentredOnA4(page);
}

}  // namespace
}  // namespace fotavel::testing
