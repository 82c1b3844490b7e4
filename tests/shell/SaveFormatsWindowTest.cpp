// Saving from the window in every format: the types offered, PNG and TIFF without a question, the
// quality dialog for WebP and AVIF, "Sans perte", the size limit and what it says.
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
#include "document/Messages.h"
#include "io/SaveFormats.h"
#include "shell/ShellFixture.h"
#include "shell/WindowCommands.h"

namespace fotavel::testing {
namespace {

using namespace Qt::StringLiterals;
using SaveFormatsWindow = ShellTest;

// Counts and closes any quality dialog that shows while it lives: a save that asks nothing must
// not block on one.
class QualityDialogWatch {
 public:
  QualityDialogWatch() {
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      if (auto* dialog = qobject_cast<fSauvJpg*>(QApplication::activeModalWidget())) {
        ++shown;
        dialog->reject();
      }
    });
    timer_.start(20);
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

// Whether the file at `path` reads back as `photo`, pixel for pixel.
bool ReadsBackAs(const QString& path, const cDIBSection& photo) {
  try {
    return Upright(io::ReadPicture(path)) == Upright(photo);
  } catch (const std::exception& failure) {
    ADD_FAILURE() << path << ": " << failure.what();
    return false;
  }
}

// Noise, which no encoder can make small: a size limit has work to do.
cDIBSection Noise(int width, int height) {
  cDIBSection photo;
  EXPECT_TRUE(photo.Create(width, height));
  std::minstd_rand random(4);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < 3 * width; ++x) photo.row(y)[x] = std::uint8_t(random() >> 8);
  }
  return photo;
}

// The file the file layer makes of `photo` in `format`: what a save must write.
QByteArray Encoded(const cDIBSection& photo, io::SaveFormat format, bool lossless = false) {
  return io::EncodePicture(photo,
                           {.format = format, .quality = fSauvJpg::kInitial, .lossless = lossless})
      .ToBytes();
}

// The save dialog offers every type written, the JPEG shown first; a PNG or TIFF name is written
// at once, exactly, with no quality asked, and the window takes its name.
TEST_F(SaveFormatsWindow, PngAndTiffAreWrittenAtOnceWithoutAQualityDialog) {
  frmImage* document = Open(u"source.bmp"_s, 37, 23);
  const struct {
    const char* name;
    io::SaveFormat format;
  } cases[] = {{"copie.png", io::SaveFormat::Png}, {"copie.TIFF", io::SaveFormat::Tiff}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Click(commands::kGauche);
    const QString chosen = folder.filePath(QString::fromUtf8(c.name));
    ui.ChooseName(chosen);
    QualityDialogWatch watch;
    Click(commands::kEnregistrer);
    EXPECT_EQ(watch.shown, 0);
    EXPECT_EQ(ReadBytes(chosen), Encoded(document->Document().Picture(), c.format));
    EXPECT_TRUE(ReadsBackAs(chosen, document->Document().Picture()));
    EXPECT_EQ(Caption(document), u"Photo: "_s + chosen);
    EXPECT_FALSE(document->Document().Dirty());
  }
  EXPECT_EQ(MessageCount(), 0);
  const FileDialogRequest& request = ui.FileDialogs().at(0).request;
  const QList<FileFilter> offered = {
      {u"Fichiers Bitmap (*.BMP)"_s, u"*.BMP"_s}, {u"Fichiers Jpeg (*.JPG)"_s, u"*.JPG"_s},
      {u"Fichiers PNG (*.PNG)"_s, u"*.PNG"_s},    {u"Fichiers WebP (*.WEBP)"_s, u"*.WEBP"_s},
      {u"Fichiers AVIF (*.AVIF)"_s, u"*.AVIF"_s}, {u"Fichiers TIFF (*.TIF)"_s, u"*.TIF;*.TIFF"_s},
      {u"Tous les fichiers (*.*)"_s, u"*.*"_s}};
  EXPECT_EQ(request.filters, offered);
  EXPECT_EQ(std::tuple(request.filterIndex, request.defaultExt, request.title),
            std::tuple(2, u"JPG"_s, u"Enregistrer la photo"_s));
}

// A WebP photo is offered under its own name, with the WebP type shown; a name typed without an
// extension takes that of the type chosen, in the real dialog as in the scripted one.
TEST_F(SaveFormatsWindow, ANameWithoutExtensionTakesTheChosenType) {
  const QString webp = folder.filePath(u"chat.webp"_s);
  ASSERT_NO_THROW(
      io::WritePicture(Pattern(9, 7), webp, {.format = io::SaveFormat::Webp, .lossless = true}));
  frmImage* document = OpenPath(webp);
  ASSERT_NE(document, nullptr);
  ui.ChooseName(folder.filePath(u"plan"_s), 3);
  QualityDialogWatch watch;
  Click(commands::kEnregistrer);
  const FileDialogRequest& request = ui.FileDialogs().at(0).request;
  EXPECT_EQ(std::pair(request.defaultName, request.filterIndex), std::pair(webp, 4));
  EXPECT_EQ(ReadBytes(folder.filePath(u"plan.PNG"_s)),
            Encoded(document->Document().Picture(), io::SaveFormat::Png));
  EXPECT_EQ(watch.shown, 0);

  // Qt's own dialog, the PNG type picked in its list with the keyboard.
  FileDialogRequest real = request;
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

// A WebP name asks the quality, "Sans perte" included, and with it checked the file holds the
// photo exactly; an AVIF name asks the quality without that box.
TEST_F(SaveFormatsWindow, WebpWithSansPerteIsExactAndAvifAsksItsQuality) {
  frmImage* document = Open(u"source.bmp"_s, 37, 23);
  Click(commands::kDroite);
  const QString webp = folder.filePath(u"exacte.webp"_s);
  ui.ChooseName(webp);
  bool asked = false;
  WhenModal<fSauvJpg>([&asked](fSauvJpg* dialog) {
    asked = true;
    EXPECT_EQ(dialog->windowTitle(), u"Qualité de la photo"_s);
    if (dialog->SansPerte() == nullptr) {
      ADD_FAILURE() << "no « Sans perte » for WebP";
      dialog->reject();
      return;
    }
    Tick(dialog->SansPerte());
    dialog->EnregJPG()->click();
  });
  Click(commands::kEnregistrer);
  EXPECT_TRUE(asked);
  EXPECT_EQ(ReadBytes(webp), Encoded(document->Document().Picture(), io::SaveFormat::Webp, true));
  EXPECT_TRUE(ReadsBackAs(webp, document->Document().Picture()));
  EXPECT_EQ(Caption(document), u"Photo: "_s + webp);
  EXPECT_FALSE(document->Document().Dirty());

  Click(commands::kDroite);
  const QString avif = folder.filePath(u"photo.avif"_s);
  ui.ChooseName(avif);
  WhenModal<fSauvJpg>([](fSauvJpg* dialog) {
    EXPECT_EQ(dialog->SansPerte(), nullptr);
    dialog->EnregJPG()->click();
  });
  Click(commands::kEnregistrer);
  EXPECT_EQ(ReadBytes(avif), Encoded(document->Document().Picture(), io::SaveFormat::Avif));
  EXPECT_FALSE(document->Document().Dirty());
  EXPECT_EQ(MessageCount(), 0);
}

// With the size limit checked the file stays within it, at the quality the file layer finds; the
// status says the quality and the size, and a photo halved to fit is told, the window's photo
// keeping its size.
TEST_F(SaveFormatsWindow, TheSizeLimitWritesAFileWithinItAndSaysWhatItTook) {
  frmImage* document = OpenPath(WritePhoto(u"bruit.bmp"_s, Noise(401, 301)));
  ASSERT_NE(document, nullptr);
  const cDIBSection& photo = document->Document().Picture();
  for (const int ko : {200, 20}) {
    SCOPED_TRACE(ko);
    const QString chosen = folder.filePath(u"limite%1.jpg"_s.arg(ko));
    const io::SizeFit reference =
        io::EncodeWithinSize(photo, {.format = io::SaveFormat::Jpeg}, ko * 1000);
    ui.ChooseName(chosen);
    if (reference.halvings > 0) ui.Answer(MessageAnswer::Ok);
    WhenModal<fSauvJpg>([ko](fSauvJpg* dialog) {
      Tick(dialog->TailleMax());
      dialog->TailleKo()->setFocus();
      QTest::keyClick(dialog->TailleKo(), Qt::Key_A, Qt::ControlModifier);
      QTest::keyClicks(dialog->TailleKo(), QString::number(ko));
      dialog->EnregJPG()->click();
    });
    const int before = MessageCount();
    Click(commands::kEnregistrer);
    EXPECT_LE(QFileInfo(chosen).size(), ko * 1000);
    EXPECT_EQ(ReadBytes(chosen), reference.file.ToBytes());
    EXPECT_EQ(Status(), u" Photo enregistrée en qualité %1 : %2 Ko"_s.arg(reference.quality)
                            .arg(reference.file.size() / 1000));
    if (reference.halvings > 0) {
      ExpectMessage(before,
                    u"Pour ne pas dépasser %1 Ko, la photo a été enregistrée en %2 x %3 pixels."
                    u"\r\nLa photo de la fenêtre garde sa taille."_s.arg(ko)
                        .arg(reference.width)
                        .arg(reference.height),
                    MessageIcon::Information);
    } else {
      EXPECT_EQ(MessageCount(), before);
    }
    EXPECT_EQ(std::pair(photo.width(), photo.height()), std::pair(401, 301));
    EXPECT_EQ(Caption(document), u"Photo: "_s + chosen);
  }
  // The noise cannot fit 20 Ko at full size: the halving was met.
  EXPECT_EQ(MessageCount(), 1);
}

// Annuler writes nothing and leaves the photo unsaved; a save that fails within a size says the
// usual save failure.
TEST_F(SaveFormatsWindow, AnnulerWritesNothingAndAFailureIsTold) {
  frmImage* document = Open(u"source.bmp"_s, 37, 23);
  Click(commands::kGauche);
  const QString caption = Caption(document);
  const QString webp = folder.filePath(u"rien.webp"_s);
  ui.ChooseName(webp);
  WhenModal<fSauvJpg>([](fSauvJpg* dialog) {
    Tick(dialog->TailleMax());
    dialog->cmdCancelJPG()->click();
  });
  Click(commands::kEnregistrer);
  EXPECT_FALSE(QFileInfo::exists(webp));
  EXPECT_TRUE(document->Document().Dirty());
  EXPECT_EQ(Caption(document), caption);

  const QString absent = folder.filePath(u"absent/x.avif"_s);
  ui.ChooseName(absent).Answer(MessageAnswer::Ok);
  WhenModal<fSauvJpg>([](fSauvJpg* dialog) {
    Tick(dialog->TailleMax());
    dialog->EnregJPG()->click();
  });
  Click(commands::kEnregistrer);
  ASSERT_EQ(MessageCount(), 1);
  EXPECT_TRUE(ui.Messages()[0].text.startsWith(Messages::kEnregistrementErreur))
      << ui.Messages()[0].text;
  EXPECT_TRUE(document->Document().Dirty());
  EXPECT_EQ(Caption(document), caption);
}

}  // namespace
}  // namespace fotavel::testing
