// Document windows driven through the real buttons and menus.
#include <QDir>
#include <QFileInfo>
#include <QPushButton>

#include "controls/ProgressBar.h"
#include "dialogs/ModalDriver.h"
#include "dialogs/fSauvJpg.h"
#include "effects/cImageProcessDIB.h"
#include "shell/ShellFixture.h"

namespace fotavel::testing {
namespace {

using DocumentWindow = ShellTest;

QImage Shown(frmImage* document) { return document->picImage().copy(); }

TEST_F(DocumentWindow, OpeningShowsCaptionStatusAndFittingZoom) {
  const QString path = WritePhoto(QStringLiteral("plage.bmp"), 101, 61);
  frmImage* document = OpenPath(path);
  // 101 x 61 x 3 = 18483 bytes.
  EXPECT_EQ(QStringList({Caption(document), Status(), window->lblImage()->text(),
                         window->lblSize()->text(), window->lblZoom()->text()}),
            QStringList({"Photo: " + path, " Ouvert " + path, " plage.bmp", " 101 x 61 - 18Ko",
                         "Zoom: 100 %"}));
  EXPECT_EQ(document->Image1()->size(), QSize(101, 61));
  // The display is the photo upright: its top-left pixel is the surface's last row.
  const cDIBSection& photo = document->Document().Picture();
  const std::uint8_t* top = photo.row(photo.height() - 1);
  EXPECT_EQ(document->picImage().pixel(0, 0), qRgb(top[2], top[1], top[0]));
}

TEST_F(DocumentWindow, AnEffectButtonChangesThePhotoWithProgressStatusAndUndo) {
  frmImage* document = Open(QStringLiteral("a.bmp"));
  const QImage before = Shown(document);
  Click("LumierePlus");
  EXPECT_NE(Shown(document), before);
  EXPECT_FALSE(window->prgMain()->isVisible());
  EXPECT_TRUE(Status().startsWith(" Réalisé en ") && Status().endsWith(" ms")) << Status();
  EXPECT_TRUE(Caption(document).endsWith(QStringLiteral(" modifiée")));
  EXPECT_TRUE(document->Document().Dirty());
  EXPECT_TRUE(window->BtAnnuler()->Enabled());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);

  Click("BtAnnuler");
  EXPECT_EQ(Shown(document), before);
  EXPECT_FALSE(window->BtAnnuler()->Enabled());
  EXPECT_TRUE(Caption(document).endsWith(QStringLiteral(" modifiée")));
  EXPECT_TRUE(document->Document().Dirty());
}

// Counts the paints a widget receives.
class Paints : public QObject {
 public:
  explicit Paints(QWidget* widget) { widget->installEventFilter(this); }
  int count = 0;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++count;
    return false;
  }
};

// The bar takes every column's value; the window draws it seldom and the photo once, at the end.
TEST_F(DocumentWindow, TheBarFollowsEveryColumnWhileTheWindowDrawsSeldom) {
  frmImage* document = Open(QStringLiteral("a.bmp"), 600, 40);
  cDIBSection copy;
  ASSERT_TRUE(copy.Create(600, 40));
  ASSERT_TRUE(copy.LoadPictureBlt(document->Document().Picture()));
  cImageProcessDIB().Lighten(copy, 20);

  ProgressBar* bar = window->prgMain();
  std::vector<std::int32_t> positions;
  QObject::connect(bar, &ProgressBar::PropertyChanged, [&](const QString& property) {
    if (property == QLatin1String("Position")) positions.push_back(bar->Position());
  });
  ASSERT_NE(bar->hwnd(), nullptr);
  Paints barPaints(bar->hwnd());
  Paints photoPaints(document->Image1());
  Click("LumierePlus");
  ASSERT_EQ(positions.size(), 599u) << "columns 3 ... 1797, the bar standing at 0";
  EXPECT_EQ(positions.back(), bar->Max());
  EXPECT_LT(barPaints.count * 50, 600) << barPaints.count << " paints of the bar";
  EXPECT_EQ(photoPaints.count, 0) << "the photo is drawn once the effect is done, not during it";
  QCoreApplication::processEvents();
  EXPECT_EQ(photoPaints.count, 1);
  EXPECT_EQ(Shown(document), Upright(copy));
}

TEST_F(DocumentWindow, EveryEffectButtonAndMenuEntryLeavesAnUndoStep) {
  frmImage* document = Open(QStringLiteral("a.bmp"));
  const char* buttons[] = {"Nette",          "Floue",           "cielCmd",
                           "SaturationPlus", "SaturationMoins", "LumiereMoins"};
  int steps = 0;
  for (const char* name : buttons) {
    Click(name);
    EXPECT_EQ(document->Document().UndoCount(), std::min(++steps, 5)) << name;
    EXPECT_TRUE(ui.Messages().empty()) << name;
  }
  for (const char* name : kEffectEntries) {
    const QImage before = Shown(document);
    Trigger(name);
    EXPECT_EQ(document->Document().UndoCount(), 5) << name;
    EXPECT_NE(Shown(document), before) << name;
  }
  // The last one made the photo grey.
  const QImage grey = Shown(document);
  EXPECT_EQ(qRed(grey.pixel(40, 30)), qGreen(grey.pixel(40, 30)));
  EXPECT_EQ(qGreen(grey.pixel(40, 30)), qBlue(grey.pixel(40, 30)));
}

TEST_F(DocumentWindow, TurnsSwapTheSizeAndTheWebFormatShowsAtOneHundred) {
  frmImage* document = Open(QStringLiteral("a.bmp"), 101, 61);
  Click("PivotGche");
  EXPECT_EQ(document->picImage().size(), QSize(61, 101));
  Click("PivotDrt");
  Click("PivotDrt");
  EXPECT_EQ(document->picImage().size(), QSize(61, 101));
  Click("TaillWeb");
  EXPECT_EQ(document->picImage().size(), QSize(242, 400));
  EXPECT_EQ(window->lblZoom()->text(), QStringLiteral("Zoom: 100 %"));
  Click("BtAnnuler");
  EXPECT_EQ(document->picImage().size(), QSize(61, 101));
}

TEST_F(DocumentWindow, TheUndoButtonFollowsTheActiveDocument) {
  frmImage* first = Open(QStringLiteral("a.bmp"));
  Click("Floue");
  EXPECT_TRUE(window->BtAnnuler()->Enabled());
  frmImage* second = Open(QStringLiteral("b.bmp"));
  EXPECT_EQ(window->ActiveDocument(), second);
  EXPECT_FALSE(window->BtAnnuler()->Enabled());
  const auto activate = [this](frmImage* document) {
    window->Workspace()->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(document->parentWidget()));
  };
  activate(first);
  EXPECT_TRUE(window->BtAnnuler()->Enabled());
  EXPECT_EQ(window->lblImage()->text(), QStringLiteral(" a.bmp"));
  activate(second);
  EXPECT_FALSE(window->BtAnnuler()->Enabled());
}

TEST_F(DocumentWindow, ClosingAChangedPhotoAsksAndFollowsTheAnswer) {
  frmImage* document = Open(QStringLiteral("a.bmp"));
  Click("Nette");
  ui.Answer(MessageAnswer::Cancel);
  Close(document);
  ASSERT_EQ(Windows(), 1);
  ExpectMessage(0, QStringLiteral("La photo 'a.bmp' a changé.\r\n\r\nVoulez vous la sauvegarder ?"),
                MessageIcon::Question);
  EXPECT_EQ(ui.Messages()[0].buttons, MessageButtons::YesNoCancel);
  EXPECT_TRUE(document->Document().Dirty());

  // Yes, then a cancelled save dialog: the window stays.
  ui.Answer(MessageAnswer::Yes).CancelDialog();
  Close(document);
  ASSERT_EQ(Windows(), 1);

  // Yes, then a name: saved and closed, and the status fields are emptied.
  const QString saved = folder.filePath(QStringLiteral("gardee.bmp"));
  ui.Answer(MessageAnswer::Yes).ChooseName(saved);
  Close(document);
  EXPECT_EQ(Windows(), 0);
  EXPECT_TRUE(QFileInfo::exists(saved));
  EXPECT_EQ(window->lblSize()->text(), QStringLiteral(" "));

  frmImage* other = Open(QStringLiteral("b.bmp"));
  Click("Floue");
  ui.Answer(MessageAnswer::No);
  Close(other);
  EXPECT_EQ(Windows(), 0);
}

TEST_F(DocumentWindow, ClosingTheApplicationAsksEveryChangedPhotoAndCancelKeepsAll) {
  Open(QStringLiteral("a.bmp"));
  Click("Nette");
  Open(QStringLiteral("b.bmp"));
  Click("Nette");
  Open(QStringLiteral("c.bmp"));  // unchanged: no question
  ui.Answer(MessageAnswer::No).Answer(MessageAnswer::Cancel);
  Click("QuitterComm");
  EXPECT_EQ(Windows(), 3);
  EXPECT_TRUE(window->isVisible());
  ui.Answer(MessageAnswer::No).Answer(MessageAnswer::No);
  Trigger("mnuFile_5");
  EXPECT_EQ(Windows(), 0);
  EXPECT_EQ(MessageCount(), 4);
}

TEST_F(DocumentWindow, SavingAsBitmapWritesThePhotoAndCleansTheCaption) {
  frmImage* document = Open(QStringLiteral("source.bmp"), 37, 23);
  Click("PivotGche");
  const QString target = folder.filePath(QStringLiteral("copie.BMP"));
  ui.ChooseName(target);
  Click("SauvPhoto");
  ASSERT_EQ(ui.FileDialogs().size(), 1u);
  const FileDialogRequest& r = ui.FileDialogs()[0].request;
  EXPECT_EQ(std::tuple(r.title, r.defaultExt, r.filterIndex, r.overwritePrompt, r.filters.size(),
                       r.defaultName),
            std::tuple(QStringLiteral("Enregistrer la photo"), QStringLiteral("JPG"), 2, true, 3,
                       folder.filePath(QStringLiteral("source"))));

  const cDIBSection read = ReadBack(target);
  const cDIBSection& photo = document->Document().Picture();
  ASSERT_EQ(read.width(), 23);
  ASSERT_EQ(read.height(), 37);
  for (int y = 0; y < read.height(); ++y) {
    ASSERT_EQ(std::memcmp(read.row(y), photo.row(y), 3 * 23), 0) << "row " << y;
  }
  EXPECT_EQ(Caption(document), QStringLiteral("Photo: ") + target);
  EXPECT_FALSE(document->Document().Dirty());
}

TEST_F(DocumentWindow, AnotherExtensionIsWrittenAsBitmapAndSaid) {
  frmImage* document = Open(QStringLiteral("source.bmp"), 37, 23);
  const QString chosen = folder.filePath(QStringLiteral("image.png"));
  ui.ChooseName(chosen).Answer(MessageAnswer::Ok);
  Trigger("mnuFile_1");
  EXPECT_TRUE(QFileInfo::exists(folder.filePath(QStringLiteral("image.bmp"))));
  EXPECT_FALSE(QFileInfo::exists(chosen));
  ExpectMessage(0, QStringLiteral("Vous avez choisi un format imcompatible!\r\nLa photo a été "
                                  "sauvegardée au format bitmap (.bmp)"));
  EXPECT_EQ(MessageCount(), 1);
  EXPECT_EQ(Caption(document), QStringLiteral("Photo: ") + chosen);
}

TEST_F(DocumentWindow, SavingAsJpegAsksTheQualityAndWritesTheFile) {
  frmImage* document = Open(QStringLiteral("source.bmp"), 37, 23);
  Click("Nette");
  const QString target = folder.filePath(QStringLiteral("photo.Jpg"));

  // Cancelling the quality dialog writes nothing and leaves the photo unsaved.
  ui.ChooseName(target);
  WhenModal<fSauvJpg>([](fSauvJpg* dialog) { dialog->cmdCancelJPG()->click(); });
  Click("SauvPhoto");
  EXPECT_FALSE(QFileInfo::exists(target));
  EXPECT_TRUE(document->Document().Dirty());

  ui.ChooseName(target);
  WhenModal<fSauvJpg>([](fSauvJpg* dialog) { dialog->EnregJPG()->click(); });
  Click("SauvPhoto");
  const cDIBSection read = ReadBack(target);
  EXPECT_EQ(QSize(read.width(), read.height()), QSize(37, 23));
  EXPECT_EQ(Caption(document), QStringLiteral("Photo: ") + target);
  EXPECT_FALSE(document->Document().Dirty());
}

}  // namespace
}  // namespace fotavel::testing
