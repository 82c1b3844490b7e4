// The logo from the window: the logo command asks for a logo before its first use, and what
// "Votre logo" stores in the param folder.
#include <QDir>
#include <QFile>
#include <QPushButton>

#include "dialogs/ModalDriver.h"
#include "dialogs/frmParamLogo.h"
#include "shell/ShellFixture.h"

namespace fotavel::testing {
namespace {

using LogoSettings = ShellTest;

QByteArray Bytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST_F(LogoSettings, TheLogoCommandWithNoLogoAsksForOneThenStampsIt) {
  const QDir param(window->Services().ParamFolder());
  frmImage* document = Open(QStringLiteral("photo.bmp"));
  const QImage before = Upright(document->Document().Picture());
  WhenModal<frmParamLogo>([](frmParamLogo* dialog) { dialog->reject(); });
  Click("Logo");
  EXPECT_FALSE(document->Document().Dirty());

  QImage red(8, 6, QImage::Format_RGB32);
  red.fill(0xFFFF0000);
  const QString picture = folder.filePath(QStringLiteral("Mon logo.PNG"));
  ASSERT_TRUE(red.save(picture, "PNG"));
  // "Ouvrir", the picture chosen in the file dialog, then OK.
  WhenModal<frmParamLogo>([&](frmParamLogo* dialog) {
    ui.ChooseName(picture);
    QTest::mouseClick(dialog->cmdOpen(), Qt::LeftButton);
    QTest::mouseClick(dialog->cmdOK(), Qt::LeftButton);
  });
  Click("Logo");
  EXPECT_EQ(param.entryList(QDir::Files).join(' '), "fotavel.ini logo.PNG");
  EXPECT_EQ(Bytes(param.filePath("fotavel.ini")),
            "Ext=PNG;\r\nDstX=0;\r\nDstY=0;\r\nTll=10;\r\nTrs=0;\r\nAgl=0;\r\n");
  EXPECT_TRUE(window->Services().LogoPret);
  EXPECT_TRUE(window->BtAnnuler()->Enabled());
  // The red logo sits in the top-left corner, a tenth of the photo's width.
  const QImage after = Upright(document->Document().Picture());
  EXPECT_EQ(after.pixel(0, 0), 0xFFFF0000);
  EXPECT_EQ(after.pixel(after.width() - 1, after.height() - 1),
            before.pixel(before.width() - 1, before.height() - 1));
}

// Choosing the stored logo itself again must not delete it while replacing it.
TEST_F(LogoSettings, TheStoredLogoChosenAgainSurvives) {
  const QDir param(window->Services().ParamFolder());
  QImage blue(8, 6, QImage::Format_RGB32);
  blue.fill(0xFF3060A0);
  const QString picture = folder.filePath(QStringLiteral("marque.png"));
  ASSERT_TRUE(blue.save(picture, "PNG"));
  for (const QString& chosen : {picture, param.filePath(QStringLiteral("logo.png"))}) {
    WhenModal<frmParamLogo>([&](frmParamLogo* dialog) {
      ui.ChooseName(chosen);
      QTest::mouseClick(dialog->cmdOpen(), Qt::LeftButton);
      QTest::mouseClick(dialog->cmdOK(), Qt::LeftButton);
    });
    Trigger("mnuParametrage_0");
    EXPECT_EQ(param.entryList(QDir::Files).join(' '), "fotavel.ini logo.png");
    EXPECT_EQ(Bytes(param.filePath(QStringLiteral("logo.png"))), Bytes(picture));
  }
}

}  // namespace
}  // namespace fotavel::testing
