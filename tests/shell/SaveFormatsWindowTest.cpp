// Saving from the window in every format: the types offered, PNG without a question, the quality
// dialog for WebP and AVIF with "Sans perte" and the size limit, and a turned JPEG saved by its
// blocks, with a question when its edges are off the blocks.
#include <turbojpeg.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <random>

#include "dialogs/ModalDriver.h"
#include "dialogs/QtUiServices.h"
#include "dialogs/fSauvJpg.h"
#include "document/LosslessMessages.h"
#include "document/Messages.h"
#include "io/JpegFiles.h"
#include "io/SaveFormats.h"
#include "shell/ShellFixture.h"
#include "shell/WindowCommands.h"

namespace fotavel::testing {
namespace {

using namespace Qt::StringLiterals;
using SaveFormatsWindow = ShellTest;

// Counts and cancels any quality dialog that shows while it lives: a save that asks nothing must
// not block on one.
class QualityDialogWatch {
 public:
  QualityDialogWatch() {
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      if (auto* dialog = qobject_cast<fSauvJpg*>(QApplication::activeModalWidget())) {
        ++shown;
        dialog->cmdCancelJPG()->click();
      }
    });
    timer_.start(5);
  }
  int shown = 0;

 private:
  QTimer timer_;
};

// Clicks a check box on its mark, as the user does.
void Tick(QCheckBox* box) {
  QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
}

QByteArray ReadBytes(const QString& path) {
  QFile file(path);
  EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path;
  return file.readAll();
}

// The file the file layer makes of `photo` in `format`: what a save must write.
QByteArray Encoded(const cDIBSection& photo, io::SaveFormat format, bool lossless = false) {
  return io::EncodePicture(photo,
                           {.format = format, .quality = fSauvJpg::kInitial, .lossless = lossless})
      .ToBytes();
}

// The save dialog offers every type written, a WebP photo under its own name with the WebP type
// shown. A name typed without extension under the PNG type (in the real dialog as in the scripted
// one) is written as a PNG at once, with no quality asked.
TEST_F(SaveFormatsWindow, PngIsWrittenAtOnceUnderTheTypeChosen) {
  const QString webp = folder.filePath(u"chat.webp"_s);
  ASSERT_NO_THROW(
      io::WritePicture(Pattern(9, 7), webp, {.format = io::SaveFormat::Webp, .lossless = true}));
  frmImage* document = OpenPath(webp);
  ASSERT_NE(document, nullptr);
  const QString png = folder.filePath(u"plan.PNG"_s);
  ui.ChooseName(folder.filePath(u"plan"_s), 3);
  QualityDialogWatch watch;
  Click(commands::kEnregistrer);
  const FileDialogRequest& asked = ui.FileDialogs().at(0).request;
  const QList<FileFilter> offered = {
      {u"Fichiers Bitmap (*.BMP)"_s, u"*.BMP"_s}, {u"Fichiers Jpeg (*.JPG)"_s, u"*.JPG"_s},
      {u"Fichiers PNG (*.PNG)"_s, u"*.PNG"_s},    {u"Fichiers WebP (*.WEBP)"_s, u"*.WEBP"_s},
      {u"Fichiers AVIF (*.AVIF)"_s, u"*.AVIF"_s}, {u"Fichiers TIFF (*.TIF)"_s, u"*.TIF;*.TIFF"_s},
      {u"Tous les fichiers (*.*)"_s, u"*.*"_s}};
  EXPECT_EQ(asked.filters, offered);
  EXPECT_EQ(std::tuple(asked.defaultName, asked.filterIndex, asked.title),
            std::tuple(webp, 4, u"Enregistrer la photo"_s));
  EXPECT_EQ(ReadBytes(png), Encoded(document->Document().Picture(), io::SaveFormat::Png));
  EXPECT_EQ(Caption(document), u"Photo: "_s + png);
  EXPECT_FALSE(document->Document().Dirty());
  EXPECT_EQ(std::pair(watch.shown, MessageCount()), std::pair(0, 0));

  // Qt's own dialog, the PNG type picked in its list with the keyboard.
  FileDialogRequest real = asked;
  real.defaultName.clear();
  real.initialDir = folder.path();
  real.filterIndex = 2;
  WhenModal<QFileDialog>([](QFileDialog* dialog) {
    auto* types = dialog->findChild<QComboBox*>(u"fileTypeCombo"_s);
    ASSERT_NE(types, nullptr);
    QTest::keyClick(types, Qt::Key_Down);
    dialog->findChild<QLineEdit*>(u"fileNameEdit"_s)->setText(u"plage"_s);
    static_cast<QDialog*>(dialog)->accept();
  });
  const std::optional<FileChoice> choice = QtUiServices().SaveFile(real);
  ASSERT_TRUE(choice.has_value());
  EXPECT_EQ(std::pair(choice->path, choice->filterIndex),
            std::pair(folder.filePath(u"plage.PNG"_s), 3));
}

// A WebP name asks the quality, "Sans perte" included, whose file holds the photo exactly; an
// AVIF name asks the quality without that box. Annuler writes nothing and leaves the photo
// unsaved; a save within a size that fails says the usual save failure.
TEST_F(SaveFormatsWindow, WebpAndAvifAskTheQuality) {
  frmImage* document = Open(u"source.bmp"_s, 37, 23);
  const struct {
    const char* name;
    bool sansPerte, cancel;
  } cases[] = {{"exacte.webp", true, false},
               {"photo.avif", false, false},
               {"rien.webp", false, true},
               {"absent/x.avif", false, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Click(commands::kDroite);
    const QString chosen = folder.filePath(QString::fromUtf8(c.name)), caption = Caption(document);
    const bool webp = chosen.endsWith(u".webp"_s), fails = chosen.contains(u"absent"_s);
    ui.ChooseName(chosen);
    if (fails) ui.Answer(MessageAnswer::Ok);
    WhenModal<fSauvJpg>([&c, webp, fails](fSauvJpg* dialog) {
      EXPECT_EQ(dialog->windowTitle(), u"Qualité de la photo"_s);
      EXPECT_EQ(dialog->SansPerte() != nullptr, webp);
      if (c.sansPerte && dialog->SansPerte() != nullptr) Tick(dialog->SansPerte());
      if (fails) Tick(dialog->TailleMax());
      (c.cancel ? dialog->cmdCancelJPG() : dialog->EnregJPG())->click();
    });
    Click(commands::kEnregistrer);
    if (c.cancel || fails) {
      EXPECT_FALSE(QFileInfo::exists(chosen));
      EXPECT_TRUE(document->Document().Dirty());
      EXPECT_EQ(Caption(document), caption);
      continue;
    }
    EXPECT_EQ(ReadBytes(chosen),
              Encoded(document->Document().Picture(),
                      webp ? io::SaveFormat::Webp : io::SaveFormat::Avif, c.sansPerte));
    EXPECT_EQ(Caption(document), u"Photo: "_s + chosen);
    EXPECT_FALSE(document->Document().Dirty());
  }
  ASSERT_EQ(MessageCount(), 1);
  EXPECT_TRUE(ui.Messages()[0].text.startsWith(Messages::kEnregistrementErreur))
      << ui.Messages()[0].text;
}

// With the size limit checked the file is the file layer's fit: the status says its quality and
// size, and a photo halved to fit is told, the window's photo keeping its size.
TEST_F(SaveFormatsWindow, TheSizeLimitWritesAFileWithinItAndSaysWhatItTook) {
  // Noise, which no encoder can fit in 20 Ko at full size.
  cDIBSection noise;
  ASSERT_TRUE(noise.Create(401, 301));
  std::minstd_rand random(4);
  for (int y = 0; y < 301; ++y) {
    for (int x = 0; x < 3 * 401; ++x) noise.row(y)[x] = std::uint8_t(random() >> 8);
  }
  frmImage* document = OpenPath(WritePhoto(u"bruit.bmp"_s, noise));
  ASSERT_NE(document, nullptr);
  const QString chosen = folder.filePath(u"limite.jpg"_s);
  const io::SizeFit reference =
      io::EncodeWithinSize(noise, {.format = io::SaveFormat::Jpeg}, 20000);
  ASSERT_EQ(reference.halvings, 1);
  ui.ChooseName(chosen).Answer(MessageAnswer::Ok);
  WhenModal<fSauvJpg>([](fSauvJpg* dialog) {
    Tick(dialog->TailleMax());
    dialog->TailleKo()->setFocus();
    QTest::keyClick(dialog->TailleKo(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(dialog->TailleKo(), u"20"_s);
    dialog->EnregJPG()->click();
  });
  Click(commands::kEnregistrer);
  EXPECT_EQ(ReadBytes(chosen), reference.file.ToBytes());
  EXPECT_EQ(Status(), u" Photo enregistrée en qualité %1 : %2 Ko"_s.arg(reference.quality)
                          .arg(reference.file.size() / 1000));
  ASSERT_EQ(MessageCount(), 1);
  ExpectMessage(0,
                u"Pour ne pas dépasser 20 Ko, la photo a été enregistrée en %1 x %2 pixels.\r\nLa "
                u"photo de la fenêtre garde sa taille."_s.arg(reference.width)
                    .arg(reference.height),
                MessageIcon::Information);
  EXPECT_EQ(document->Document().ImageWidth(), 401);
  EXPECT_EQ(Caption(document), u"Photo: "_s + chosen);
}

using LosslessSaveWindow = ShellTest;

// A JPEG photo unchanged takes the usual road: the quality dialog. Turned with the toolbar's
// button, it is saved by its blocks as libturbojpeg moves them, with no dialog at all. At 37 x 21
// in 4:2:0, turned right, the 5 rows below the last whole blocks would land on the left: Annuler
// writes nothing; Non goes on to the quality dialog and encodes the whole photo; Oui writes the
// blocks without the strip, the window keeping the whole photo.
TEST_F(LosslessSaveWindow, ATurnedPhotoIsSavedByItsBlocksAskingOnlyAboutItsEdges) {
  const QString source = folder.filePath(u"source.jpg"_s), odd = folder.filePath(u"impaire.jpg"_s);
  Touch(source, EncodeJpeg(Pattern(48, 32), false));
  Touch(odd, EncodeJpeg(Pattern(37, 21), false));
  frmImage* document = OpenPath(source);
  ASSERT_NE(document, nullptr);
  const QString saved = folder.filePath(u"tournee.JPG"_s);
  for (const bool turned : {false, true}) {
    if (turned) Click(commands::kDroite);
    ui.ChooseName(saved);
    const QualityDialogWatch watch;
    Click(commands::kEnregistrer);
    EXPECT_EQ(watch.shown, turned ? 0 : 1);
    EXPECT_EQ(QFileInfo::exists(saved), turned);
  }
  EXPECT_EQ(ReadBytes(saved), TurboTransformed(ReadBytes(source), TJXOP_ROT90, TJXOPT_PERFECT));
  EXPECT_EQ(Status(), u" "_s + Messages::EnregistreeSansPerte(u"tournee.JPG"_s));
  EXPECT_EQ(Caption(document), u"Photo: "_s + saved);
  EXPECT_FALSE(document->Document().Dirty());
  EXPECT_EQ(MessageCount(), 0);

  document = OpenPath(odd);
  ASSERT_NE(document, nullptr);
  Click(commands::kDroite);
  const QString question =
      u"Cette photo peut être enregistrée sans perte de qualité, mais ses bords ne tombent pas "
      u"sur des blocs JPEG entiers : il faudrait couper une bande de 5 pixels à gauche. La photo "
      u"passerait de 21 x 37 à 16 x 37 pixels.\r\n\r\n"
      u"Oui : enregistrer sans perte, en coupant ces bords.\r\n"
      u"Non : enregistrer la photo entière, en l'encodant de nouveau (avec perte).\r\n"
      u"Annuler : ne rien enregistrer."_s;
  const QString whole = folder.filePath(u"entiere.JPG"_s), cut = folder.filePath(u"coupee.JPG"_s);
  for (const MessageAnswer answer :
       {MessageAnswer::Cancel, MessageAnswer::No, MessageAnswer::Yes}) {
    const QString chosen = answer == MessageAnswer::Yes ? cut : whole;
    ui.ChooseName(chosen).Answer(answer);
    std::optional<QualityDialogWatch> watch;
    if (answer == MessageAnswer::No) {
      WhenModal<fSauvJpg>([](fSauvJpg* dialog) { dialog->EnregJPG()->click(); });
    } else {
      watch.emplace();
    }
    const int asked = MessageCount();
    Click(commands::kEnregistrer);
    EXPECT_EQ(watch ? watch->shown : 0, 0);
    ASSERT_EQ(MessageCount(), asked + 1);
    ExpectMessage(asked, question, MessageIcon::Question);
    EXPECT_EQ(ui.Messages().back().buttons, MessageButtons::YesNoCancel);
    EXPECT_EQ(QFileInfo::exists(chosen), answer != MessageAnswer::Cancel);
    EXPECT_EQ(document->Document().Dirty(), answer == MessageAnswer::Cancel);
  }
  const cDIBSection read = io::ReadPicture(whole);
  EXPECT_EQ(std::pair(read.width(), read.height()), std::pair(21, 37));
  EXPECT_EQ(ReadBytes(cut), TurboTransformed(ReadBytes(odd), TJXOP_ROT90, TJXOPT_TRIM));
  EXPECT_EQ(Status(), u" "_s + Messages::EnregistreeSansPerte(u"coupee.JPG"_s));
  EXPECT_EQ(document->Document().ImageWidth(), 21);
  EXPECT_EQ(Caption(document), u"Photo: "_s + cut);
}

}  // namespace
}  // namespace fotavel::testing
