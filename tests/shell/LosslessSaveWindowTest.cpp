// Saving a turned JPEG photo from the window: by its blocks without the quality dialog, and the
// question when its edges are off the blocks.
#include <turbojpeg.h>

#include <QApplication>
#include <QFileInfo>
#include <QPushButton>
#include <QTimer>

#include "dialogs/ModalDriver.h"
#include "dialogs/fSauvJpg.h"
#include "document/LosslessMessages.h"
#include "io/JpegFiles.h"
#include "shell/ShellFixture.h"
#include "shell/WindowCommands.h"

namespace fotavel::testing {
namespace {

using namespace Qt::StringLiterals;

QByteArray Contents(const QString& path) {
  QFile file(path);
  EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path;
  return file.readAll();
}

// While alive, counts the quality dialogs that show, and closes each at once so that no test hangs.
class QualityDialogWatch {
 public:
  QualityDialogWatch() {
    timer_.setInterval(5);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      if (auto* dialog = qobject_cast<fSauvJpg*>(QApplication::activeModalWidget())) {
        ++shown_;
        dialog->cmdCancelJPG()->click();
      }
    });
    timer_.start();
  }
  int shown() const { return shown_; }

 private:
  QTimer timer_;
  int shown_ = 0;
};

class LosslessSaveWindow : public ShellTest {
 protected:
  // Opens a JPEG photo of width x height and turns it right with the toolbar's button.
  frmImage* OpenTurned(std::int32_t width, std::int32_t height) {
    source = folder.filePath(u"source.jpg"_s);
    Touch(source, EncodeJpeg(Pattern(width, height), false));
    frmImage* document = OpenPath(source);
    EXPECT_NE(document, nullptr);
    Click(commands::kDroite);
    return document;
  }
  QString source;
};

TEST_F(LosslessSaveWindow, ATurnedPhotoIsSavedByItsBlocksWithoutTheQualityDialog) {
  frmImage* document = OpenTurned(48, 32);
  ASSERT_NE(document, nullptr);
  const QString saved = folder.filePath(u"tournee.JPG"_s);
  ui.ChooseName(saved);
  const QualityDialogWatch watch;
  Click(commands::kEnregistrer);
  EXPECT_EQ(watch.shown(), 0);
  EXPECT_EQ(Contents(saved), TurboTransformed(Contents(source), TJXOP_ROT90, TJXOPT_PERFECT));
  EXPECT_EQ(Status(), u" "_s + Messages::EnregistreeSansPerte(u"tournee.JPG"_s));
  EXPECT_EQ(Caption(document), u"Photo: "_s + saved);
  EXPECT_FALSE(document->Document().Dirty());
  EXPECT_EQ(MessageCount(), 0);
}

// 37 x 21 in 4:2:0 turned right: the 5 rows below the last whole blocks would land on the left.
// Annuler writes nothing; Non goes on to the quality dialog and encodes the whole photo; Oui
// writes the blocks without the strip.
TEST_F(LosslessSaveWindow, EdgesOffTheBlocksAreAskedAbout) {
  frmImage* document = OpenTurned(37, 21);
  ASSERT_NE(document, nullptr);
  const QString question = Messages::QuestionBordsCoupes(5, 0, 21, 37, 16, 37);
  EXPECT_EQ(question,
            u"Cette photo peut être enregistrée sans perte de qualité, mais ses bords ne tombent "
            u"pas sur des blocs JPEG entiers : il faudrait couper une bande de 5 pixels à gauche. "
            u"La photo passerait de 21 x 37 à 16 x 37 pixels.\r\n\r\n"
            u"Oui : enregistrer sans perte, en coupant ces bords.\r\n"
            u"Non : enregistrer la photo entière, en l'encodant de nouveau (avec perte).\r\n"
            u"Annuler : ne rien enregistrer."_s);
  const QString saved = folder.filePath(u"tournee.JPG"_s);

  ui.ChooseName(saved).Answer(MessageAnswer::Cancel);
  {
    const QualityDialogWatch watch;
    Click(commands::kEnregistrer);
    EXPECT_EQ(watch.shown(), 0);
  }
  ASSERT_EQ(MessageCount(), 1);
  ExpectMessage(0, question, MessageIcon::Question);
  EXPECT_EQ(ui.Messages()[0].buttons, MessageButtons::YesNoCancel);
  EXPECT_FALSE(QFileInfo::exists(saved));
  EXPECT_TRUE(document->Document().Dirty());

  ui.ChooseName(saved).Answer(MessageAnswer::No);
  WhenModal<fSauvJpg>([](fSauvJpg* dialog) { dialog->EnregJPG()->click(); });
  Click(commands::kEnregistrer);
  ExpectMessage(1, question, MessageIcon::Question);
  const cDIBSection whole = io::ReadPicture(saved);
  EXPECT_EQ(whole.width(), 21);
  EXPECT_EQ(whole.height(), 37);
  EXPECT_FALSE(document->Document().Dirty());

  const QString cut = folder.filePath(u"coupee.JPG"_s);
  ui.ChooseName(cut).Answer(MessageAnswer::Yes);
  {
    const QualityDialogWatch watch;
    Click(commands::kEnregistrer);
    EXPECT_EQ(watch.shown(), 0);
  }
  ExpectMessage(2, question, MessageIcon::Question);
  EXPECT_EQ(Contents(cut), TurboTransformed(Contents(source), TJXOP_ROT90, TJXOPT_TRIM));
  EXPECT_EQ(io::ReadPicture(cut).width(), 16);
  EXPECT_EQ(Status(), u" "_s + Messages::EnregistreeSansPerte(u"coupee.JPG"_s));
  // The window goes on showing the whole photo.
  EXPECT_EQ(document->Document().ImageWidth(), 21);
  EXPECT_EQ(Caption(document), u"Photo: "_s + cut);
  EXPECT_EQ(MessageCount(), 3);
}

// Unchanged, the photo takes the usual road: the quality dialog.
TEST_F(LosslessSaveWindow, AnUnturnedPhotoGoesThroughTheQualityDialog) {
  source = folder.filePath(u"source.jpg"_s);
  Touch(source, EncodeJpeg(Pattern(48, 32), false));
  ASSERT_NE(OpenPath(source), nullptr);
  const QString saved = folder.filePath(u"copie.JPG"_s);
  ui.ChooseName(saved);
  const QualityDialogWatch watch;
  Click(commands::kEnregistrer);
  EXPECT_EQ(watch.shown(), 1);
  EXPECT_FALSE(QFileInfo::exists(saved));
}

}  // namespace
}  // namespace fotavel::testing
