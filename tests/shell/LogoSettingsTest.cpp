// The logo from the window: the logo command asks for a logo before its first use, and what
// "Votre logo" stores in the param folder, never losing the stored one by mistake.
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>

#include "dialogs/ModalDriver.h"
#include "dialogs/frmParamLogo.h"
#include "shell/ShellFixture.h"
#include "shell/WindowCommands.h"
#include "support/FileSizeCap.h"

namespace fotavel::testing {
namespace {

QByteArray Bytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class LogoSettings : public ShellTest {
 protected:
  QString Param(const QString& name = {}) const {
    return QDir(window->Services().ParamFolder()).filePath(name);
  }
  QString ParamFiles() const { return QDir(Param()).entryList(QDir::Files).join(' '); }
  // A picture of one colour written now, so that copies can be told apart.
  QString WriteLogo(const QString& name, QRgb colour, const char* format = "PNG") {
    QImage logo(8, 6, QImage::Format_RGB32);
    logo.fill(colour);
    const QString path = folder.filePath(name);
    EXPECT_TRUE(logo.save(path, format)) << path.toStdString();
    return path;
  }
  // "Ouvrir", the picture chosen in the file dialog, then OK.
  void Store(frmParamLogo* dialog, const QString& picture) {
    ui.ChooseName(picture);
    QTest::mouseClick(dialog->cmdOpen(), Qt::LeftButton);
    QTest::mouseClick(dialog->cmdOK(), Qt::LeftButton);
  }
  // "Votre logo", with `act` run on the dialog once it shows.
  void OpenSettings(std::function<void(frmParamLogo*)> act) {
    WhenModal<frmParamLogo>(std::move(act));
    Trigger(commands::kVotreLogo);
  }
};

TEST_F(LogoSettings, TheLogoCommandWithNoLogoAsksForOneThenStampsIt) {
  frmImage* document = Open(QStringLiteral("photo.bmp"));
  const QImage before = Upright(document->Document().Picture());
  WhenModal<frmParamLogo>([](frmParamLogo* dialog) { dialog->reject(); });
  Click(commands::kLogo);
  EXPECT_FALSE(document->Document().Dirty());

  const QString picture = WriteLogo(QStringLiteral("Mon logo.PNG"), 0xFFFF0000);
  WhenModal<frmParamLogo>([&](frmParamLogo* dialog) { Store(dialog, picture); });
  Click(commands::kLogo);
  EXPECT_EQ(ParamFiles(), "fotavel.ini logo.PNG");
  EXPECT_EQ(Bytes(Param("fotavel.ini")),
            "Ext=PNG;\r\nDstX=0;\r\nDstY=0;\r\nTll=10;\r\nTrs=0;\r\nAgl=0;\r\n");
  EXPECT_TRUE(window->Services().LogoPret);
  EXPECT_TRUE(window->BtAnnuler()->Enabled());
  // The red logo sits in the top-left corner, a tenth of the photo's width.
  const QImage after = Upright(document->Document().Picture());
  EXPECT_EQ(after.pixel(0, 0), 0xFFFF0000);
  EXPECT_EQ(after.pixel(after.width() - 1, after.height() - 1),
            before.pixel(before.width() - 1, before.height() - 1));
}

// Choosing the stored logo itself again must not delete it while replacing it; Effacer deletes
// it only once confirmed.
TEST_F(LogoSettings, TheStoredLogoGoesOnlyWhenTheUserSaysSo) {
  const QString picture = WriteLogo(QStringLiteral("marque.png"), 0xFF3060A0);
  for (const QString& chosen : {picture, Param(QStringLiteral("logo.png"))}) {
    OpenSettings([&](frmParamLogo* dialog) {
      // Nothing to delete before the first logo is stored; the stored one after.
      EXPECT_EQ(dialog->effacer()->isEnabled(), chosen != picture);
      Store(dialog, chosen);
    });
    EXPECT_EQ(ParamFiles(), "fotavel.ini logo.png");
    EXPECT_EQ(Bytes(Param(QStringLiteral("logo.png"))), Bytes(picture));
  }
  ui.Answer(MessageAnswer::No).Answer(MessageAnswer::Yes);
  OpenSettings([&](frmParamLogo* dialog) {
    QTest::mouseClick(dialog->effacer(), Qt::LeftButton);
    EXPECT_EQ(ParamFiles(), "fotavel.ini logo.png");
    QTest::mouseClick(dialog->effacer(), Qt::LeftButton);
  });
  ASSERT_EQ(ui.Messages().size(), 2u);
  EXPECT_EQ(ui.Messages()[0].buttons, MessageButtons::YesNo);
  EXPECT_FALSE(window->Services().LogoPret);
  EXPECT_EQ(ParamFiles(), "fotavel.ini");
}

// A full disk stands for every folder the program cannot write to, root's included.
TEST_F(LogoSettings, AnUnwritableParamFolderSaysSoAndKeepsTheOldSettings) {
  OpenSettings([&](frmParamLogo* dialog) {
    Store(dialog, WriteLogo(QStringLiteral("ancien.png"), 0xFF3060A0));
  });
  const QByteArray settings = Bytes(Param("fotavel.ini")), logo = Bytes(Param("logo.png"));
  const QString newer = WriteLogo(QStringLiteral("nouveau.bmp"), 0xFFA06030, "BMP");
  window->Services().LogoPret = false;
  ui.ChooseName(newer).Answer(MessageAnswer::Ok).Answer(MessageAnswer::Ok);
  OpenSettings([&](frmParamLogo* dialog) {
    const FileSizeCap full(0);
    dialog->taille()->setValue(50);
    QTest::mouseClick(dialog->cmdOpen(), Qt::LeftButton);
    QTest::mouseClick(dialog->cmdOK(), Qt::LeftButton);  // a new picture and new values
    EXPECT_TRUE(dialog->isVisible());
    dialog->txtFilename()->clear();
    QTest::mouseClick(dialog->cmdOK(), Qt::LeftButton);  // new values only
    EXPECT_TRUE(dialog->isVisible());
    dialog->reject();
  });
  ASSERT_EQ(ui.Messages().size(), 2u);
  const QString param = QDir(window->Services().ParamFolder()).path();
  ExpectMessage(0, "Impossible d'enregistrer le logo dans le dossier :\r\n" + param,
                MessageIcon::Exclamation);
  ExpectMessage(1,
                "Impossible d'enregistrer les réglages du logo dans :\r\n" + param + "/fotavel.ini",
                MessageIcon::Exclamation);
  EXPECT_FALSE(window->Services().LogoPret);
  EXPECT_EQ(ParamFiles(), "fotavel.ini logo.png");
  EXPECT_EQ(Bytes(Param("fotavel.ini")), settings);
  EXPECT_EQ(Bytes(Param("logo.png")), logo);
}

}  // namespace
}  // namespace fotavel::testing
