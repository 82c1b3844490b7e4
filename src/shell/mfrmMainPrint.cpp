// The main window's printing: the active photo on one page of the default printer, its title above.
#include <QCoreApplication>
#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QMarginsF>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

#include "controls/SystemColours.h"
#include "shell/Printing.h"
#include "shell/frmImage.h"
#include "shell/mfrmMain.h"

namespace fotavel {

namespace {

// Functions rather than constants: the texts are translated once the
// program's language is installed.
QString kQuestionPaysage() {
  return QCoreApplication::translate(
      "fotavel::mfrmMain",
      "Largeur plus grande que la hauteur:\r\nLancer l'impression en orientation Paysage ?");
}
QString kQuestionPortrait() {
  return QCoreApplication::translate(
      "fotavel::mfrmMain",
      "Hauteur grande que la largeur:\r\nLancer l'impression en orientation Portrait ?");
}
QString kAucuneImprimante() {
  return QCoreApplication::translate(
      "fotavel::mfrmMain",
      "Aucune imprimante n'est installée : la photo ne peut pas être imprimée.");
}
QString kImprimanteFermee() {
  return QCoreApplication::translate(
      "fotavel::mfrmMain", "L'impression n'a pas pu commencer : la photo n'a pas été imprimée.");
}
QString kImpressionEchouee() {
  return QCoreApplication::translate(
      "fotavel::mfrmMain", "L'impression a échoué : la photo n'a pas été envoyée à l'imprimante.");
}

constexpr double kTwipsPerInch = 1440.0;

// Asks whether to turn the page when the photo's shape does not suit it, and
// turns it on Yes. False when the user cancelled.
bool ChooseOrientation(UiServices& ui, QWidget* owner, QPrinter& printer, double width,
                       double height) {
  const print::Orientation current = printer.pageLayout().orientation() == QPageLayout::Landscape
                                         ? print::Orientation::Landscape
                                         : print::Orientation::Portrait;
  const print::Question question = print::QuestionFor(current, width, height);
  if (question == print::Question::None) return true;
  const bool toLandscape = question == print::Question::ToLandscape;
  const MessageAnswer answer =
      ui.Message(toLandscape ? kQuestionPaysage() : kQuestionPortrait(), MessageIcon::Question,
                 MessageButtons::YesNoCancel, owner);
  if (answer == MessageAnswer::Cancel) return false;
  if (answer == MessageAnswer::Yes) {
    printer.setPageOrientation(toLandscape ? QPageLayout::Landscape : QPageLayout::Portrait);
  }
  return true;
}

}  // namespace

void mfrmMain::PrinterDeleter::operator()(QPrinter* printer) const { delete printer; }

void mfrmMain::SetPrinter(std::unique_ptr<QPrinter> printer) { m_printer.reset(printer.release()); }

QPrinter* mfrmMain::Printer() {
  if (!m_printer) {
    QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull()) {
      // Printers, but none marked as the default: the first, as a print
      // dialog would offer it.
      const QList<QPrinterInfo> printers = QPrinterInfo::availablePrinters();
      if (printers.isEmpty()) return nullptr;
      info = printers.front();
    }
    // Kept for the whole run, so that an orientation chosen once stays.
    m_printer.reset(new QPrinter(info, QPrinter::HighResolution));
  }
  return m_printer.get();
}

void mfrmMain::Imprimer() {
  frmImage* document = ImageActive();
  if (document == nullptr) return;
  // Without a printer Qt would quietly make a PDF nobody asked for.
  QPrinter* printer = Printer();
  if (printer == nullptr) {
    m_ui.Message(kAucuneImprimante(), MessageIcon::Exclamation, MessageButtons::Ok, this);
    return;
  }

  // The photo at 100 %, as large on paper as on the screen: a photo prints at
  // the screen's resolution unless it has to shrink.
  const cDIBSection& photo = document->Document().Picture();
  const double width = photo.width() * TwipsPerPixelX(*document);
  const double height = photo.height() * TwipsPerPixelY(*document);
  if (!ChooseOrientation(m_ui, this, *printer, width, height)) return;

  // The photo is centred on the whole sheet, so the painter's origin is the
  // sheet's corner; the title keeps to the printable area inside the margins.
  printer->setFullPage(true);
  const QString title = document->Document().FileTitle();
  printer->setDocName(title);
  const QPageLayout layout = printer->pageLayout();
  const QRectF sheet = layout.fullRect(QPageLayout::Inch);
  const QMarginsF margins = layout.margins(QPageLayout::Inch);
  const print::Placement placed =
      print::PlaceOnPage(print::Twips(sheet.width()), print::Twips(sheet.height()), width, height);

  QPainter painter;
  if (!painter.begin(printer)) {
    m_ui.Message(kImprimanteFermee(), MessageIcon::Exclamation, MessageButtons::Ok, this);
    return;
  }
  SetHourglass(true);
  // The painter stays in device pixels, as the font's point size is taken
  // against the device: twips are converted at each drawing.
  const double pixelsPerTwip = printer->resolution() / kTwipsPerInch;

  QFont font(QStringLiteral("Arial"));
  font.setPointSize(8);
  painter.setFont(font);
  const QFontMetricsF metrics(painter.font(), printer);
  const double innerWidth = (sheet.width() - margins.left() - margins.right()) * kTwipsPerInch;
  const double titleLeft =
      margins.left() * kTwipsPerInch +
      print::TitleLeft(innerWidth, metrics.horizontalAdvance(title) / pixelsPerTwip);
  painter.drawText(QPointF(titleLeft * pixelsPerTwip,
                           margins.top() * kTwipsPerInch * pixelsPerTwip + metrics.ascent()),
                   title);

  if (photo.width() > 0 && photo.height() > 0) {
    // The surface's rows lie bottom-up: they are drawn as they are, through a
    // vertical flip, rather than copied upright first.
    const QImage rows(photo.DIBSectionBitsPtr(), photo.width(), photo.height(),
                      photo.BytesPerScanLine(), QImage::Format_BGR888);
    painter.translate(placed.x * pixelsPerTwip, (placed.y + placed.height) * pixelsPerTwip);
    painter.scale(1, -1);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(QRectF(0, 0, placed.width * pixelsPerTwip, placed.height * pixelsPerTwip),
                      rows);
  }

  const bool sent = painter.end() && printer->printerState() != QPrinter::Error;
  SetHourglass(false);
  if (!sent) m_ui.Message(kImpressionEchouee(), MessageIcon::Exclamation, MessageButtons::Ok, this);
}

}  // namespace fotavel
