// The "Edition" menu's clipboard commands, with the system clipboard both ways.
#include <QClipboard>
#include <QDir>
#include <QGuiApplication>

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

}  // namespace
}  // namespace fotavel::testing
