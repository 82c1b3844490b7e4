// The "Edition" menu: the system clipboard both ways and the new size.
#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>

#include "dialogs/ModalDriver.h"
#include "dialogs/frmNewSize.h"
#include "shell/ShellFixture.h"
#include "support/ScopedEnv.h"

namespace fotavel::testing {
namespace {

class EditCommands : public ShellTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(temp.isValid());
    ShellTest::SetUp();
  }
  QStringList TempFiles() const {
    return QDir(temp.path()).entryList(QDir::Files | QDir::NoDotAndDotDot);
  }

  // Temporary files go where the test can see every one of them.
  QTemporaryDir temp;
  ScopedEnv tmpdir{"TMPDIR", temp.path().toLocal8Bit()};
};

// A picture copied from another program may be see-through: it lands on white, as a PNG does.
// Copied again and pasted, it makes another new photo of the same pixels.
TEST_F(EditCommands, PastedPicturesBecomeNewPhotosAndTextIsRefused) {
  QGuiApplication::clipboard()->setText(QStringLiteral("du texte"));
  ui.Answer(MessageAnswer::Ok);
  Trigger("mnuEdit_2");
  ExpectMessage(0,
                QStringLiteral("Erreur lors de l'opération 'Coller': le presse-papiers ne contient "
                               "pas d'image"),
                MessageIcon::Exclamation);
  EXPECT_EQ(Windows(), 0);

  QImage picture(3, 2, QImage::Format_ARGB32);
  picture.fill(qRgba(0, 0, 200, 0));
  picture.setPixel(0, 0, qRgba(255, 0, 0, 255));
  picture.setPixel(1, 0, qRgba(0, 0, 0, 128));
  QGuiApplication::clipboard()->setImage(picture);
  Trigger("mnuEdit_2");
  frmImage* first = window->ActiveDocument();
  ASSERT_NE(first, nullptr);
  const QImage shown = Upright(first->Document().Picture());
  EXPECT_EQ(shown.pixel(0, 0), qRgb(255, 0, 0));
  EXPECT_EQ(shown.pixel(1, 0), qRgb(127, 127, 127));  // 255 * 127 / 255 on white
  EXPECT_EQ(shown.pixel(2, 1), qRgb(255, 255, 255));
  EXPECT_EQ(Caption(first), QStringLiteral("Photo: Nouvelle photo 1"));
  EXPECT_TRUE(first->Document().Dirty());

  Trigger("mnuEdit_1");
  EXPECT_EQ(QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32), shown);
  Trigger("mnuEdit_2");
  frmImage* second = window->ActiveDocument();
  ASSERT_NE(second, first);
  EXPECT_EQ(Caption(second), QStringLiteral("Photo: Nouvelle photo 2"));
  EXPECT_EQ(Upright(second->Document().Picture()), shown);
  EXPECT_TRUE(TempFiles().isEmpty()) << TempFiles().join(' ');
}

TEST_F(EditCommands, ResizingAsksTheSizeAndCancellingChangesNothing) {
  frmImage* document = Open(QStringLiteral("a.bmp"), 800, 600);
  const auto resize = [this](const char* width, bool ok) {
    WhenModal<frmNewSize>([=](frmNewSize* dialog) {
      dialog->txtWidth()->setText(QString::fromLatin1(width));
      (ok ? dialog->cmdOK() : dialog->cmdCancel())->click();
    });
    Trigger("mnuEdit_4");
  };
  resize("400", false);
  EXPECT_EQ(document->Document().ImageWidth(), 800);
  EXPECT_FALSE(document->Document().Dirty());

  resize("401", true);
  EXPECT_EQ(QSize(document->Document().ImageWidth(), document->Document().ImageHeight()),
            QSize(401, 300));
  EXPECT_TRUE(Caption(document).endsWith(QStringLiteral(" modifiée")));
  EXPECT_EQ(window->lblSize()->text(), QStringLiteral(" 401 x 300 - 361Ko"));
  Click("BtAnnuler");
  EXPECT_EQ(document->Document().ImageWidth(), 800);
}

}  // namespace
}  // namespace fotavel::testing
