// The logo settings from the window: what "Votre logo" stores in the param folder, and the logo
// command that asks for a logo before its first use.#include <QAction>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <array>

#include "dialogs/ModalDriver.h"
#include "dialogs/frmParamLogo.h"
#include "shell/ShellFixture.h"
#include "support/FileSizeCap.h"
#include "support/ScopedEnv.h"

namespace fotavel::testing {
namespace {

class LogoSettings : public ShellTest {
 protected:
  QString Param(const QString& name = {}) const {
    return QDir(window->Services().ParamFolder()).filePath(name);
  }
  // The param folder's files, blank-separated.
  QString ParamFiles() const { return QDir(Param()).entryList(QDir::Files).join(' '); }
  QByteArray Stored(const char* name) const { return Bytes(Param(QString::fromLatin1(name))); }

  // A picture written now, of its own colour so that copies can be told apart.
  QString WriteLogo(const QString& name, QRgb colour, const char* format = "PNG") {
    QImage logo(8, 6, QImage::Format_RGB32);
    logo.fill(colour);
    const QString path = folder.filePath(name);
    EXPECT_TRUE(logo.save(path, format)) << path.toStdString();
    return path;
  }

  static QByteArray Bytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }

  // "Votre logo", with `act` run on the dialog once it shows.
  void OpenSettings(std::function<void(frmParamLogo*)> act) {
    WhenModal<frmParamLogo>(std::move(act));
    Trigger("mnuParametrage_0");
  }

  // "&Ouvrir...", the picture chosen in the file dialog, then OK.
  void Store(frmParamLogo* dialog, const QString& picture) {
    ui.ChooseName(picture);
    QTest::mouseClick(dialog->cmdOpen(), Qt::LeftButton);
    QTest::mouseClick(dialog->cmdOK(), Qt::LeftButton);
  }
};

TEST_F(LogoSettings, FirstUseWritesTheSixLinesAndReopeningShowsWhatWasStored) {
  const QString picture = WriteLogo(QStringLiteral("Mon logo.PNG"), 0xFF3060A0);
  ASSERT_TRUE(QDir(Param()).removeRecursively());
  OpenSettings([&](frmParamLogo* dialog) {
    EXPECT_EQ(dialog->parentWidget(), window.get());
    EXPECT_TRUE(dialog->isModal());
    Store(dialog, picture);
  });
  EXPECT_EQ(ParamFiles(), "fotavel.ini logo.PNG");
  EXPECT_EQ(Stored("logo.PNG"), Bytes(picture));
  EXPECT_EQ(Stored("fotavel.ini"),
            "Ext=PNG;\r\nDstX=0;\r\nDstY=0;\r\nTll=10;\r\nTrs=0;\r\nAgl=0;\r\n");
  EXPECT_TRUE(window->Services().LogoPret);

  // Moved bars only, no new picture: the logo stays, the values change.
  const auto bars = [](frmParamLogo* dialog) {
    return std::array{dialog->distX(), dialog->DistY(), dialog->taille(), dialog->transparence(),
                      dialog->angle()};
  };
  const int values[] = {75, 50, 25, 30, 90};
  OpenSettings([&](frmParamLogo* dialog) {
    for (int i = 0; i < 5; ++i) bars(dialog)[i]->setValue(values[i]);
    QTest::mouseClick(dialog->cmdOK(), Qt::LeftButton);
  });
  EXPECT_EQ(Stored("fotavel.ini"),
            "Ext=PNG;\r\nDstX=75;\r\nDstY=50;\r\nTll=25;\r\nTrs=30;\r\nAgl=90;\r\n");

  OpenSettings([&](frmParamLogo* dialog) {
    for (int i = 0; i < 5; ++i) EXPECT_EQ(bars(dialog)[i]->value(), values[i]) << i;
    EXPECT_TRUE(dialog->effacer()->isEnabled());
    dialog->reject();
  });
}

TEST_F(LogoSettings, TheStoredLogoChosenAgainSurvivesAndAnotherReplacesIt) {
  const QString png = WriteLogo(QStringLiteral("marque.png"), 0xFF3060A0);
  OpenSettings([&](frmParamLogo* dialog) { Store(dialog, png); });
  const QByteArray stored = Bytes(png);
  OpenSettings([&](frmParamLogo* dialog) { Store(dialog, Param(QStringLiteral("logo.png"))); });
  EXPECT_EQ(ParamFiles(), "fotavel.ini logo.png");
  EXPECT_EQ(Stored("logo.png"), stored);

  const QString jpg = WriteLogo(QStringLiteral("marque.jpg"), 0xFFA06030, "JPG");
  OpenSettings([&](frmParamLogo* dialog) { Store(dialog, jpg); });
  EXPECT_EQ(ParamFiles(), "fotavel.ini logo.jpg");
  EXPECT_EQ(Stored("logo.jpg"), Bytes(jpg));
  EXPECT_TRUE(Stored("fotavel.ini").startsWith("Ext=jpg;\r\n"));
}

TEST_F(LogoSettings, EffacerDeletesTheLogoOnlyWhenConfirmed) {
  OpenSettings([&](frmParamLogo* dialog) {
    Store(dialog, WriteLogo(QStringLiteral("marque.png"), 0xFF3060A0));
  });
  const QByteArray settings = Stored("fotavel.ini");
  ui.Answer(MessageAnswer::No).Answer(MessageAnswer::Yes);
  bool cancelled = false;
  OpenSettings([&](frmParamLogo* dialog) {
    QTest::mouseClick(dialog->effacer(), Qt::LeftButton);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(ParamFiles(), "fotavel.ini logo.png");
    QTest::mouseClick(dialog->effacer(), Qt::LeftButton);
    EXPECT_FALSE(dialog->isVisible());
    cancelled = dialog->Cancelled();
  });
  ASSERT_EQ(ui.Messages().size(), 2u);
  ExpectMessage(
      0, "Etes vous sûr de vouloir supprimer le logo précédemment configuré dans le logiciel ?",
      MessageIcon::Question);
  EXPECT_EQ(ui.Messages()[0].buttons, MessageButtons::YesNo);
  EXPECT_TRUE(cancelled);
  EXPECT_FALSE(window->Services().LogoPret);
  EXPECT_EQ(ParamFiles(), "fotavel.ini");
  EXPECT_EQ(Stored("fotavel.ini"), settings);
}

// A full disk stands for every folder the program cannot write to, root's included.
TEST_F(LogoSettings, AnUnwritableParamFolderSaysSoAndKeepsTheOldSettings) {
  OpenSettings([&](frmParamLogo* dialog) {
    Store(dialog, WriteLogo(QStringLiteral("ancien.png"), 0xFF3060A0));
  });
  const QByteArray settings = Stored("fotavel.ini");
  const QByteArray logo = Stored("logo.png");
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
  EXPECT_TRUE(ui.Messages()[0].text.startsWith("Impossible d'enregistrer le logo"));
  EXPECT_TRUE(ui.Messages()[1].text.startsWith("Impossible d'enregistrer les réglages du logo"));
  EXPECT_EQ(ui.Messages()[1].icon, MessageIcon::Exclamation);
  EXPECT_FALSE(window->Services().LogoPret);
  EXPECT_EQ(ParamFiles(), "fotavel.ini logo.png");
  EXPECT_EQ(Stored("fotavel.ini"), settings);
  EXPECT_EQ(Stored("logo.png"), logo);
}

// Installed under a prefix the user owns: the settings go to the user's configuration, whose
// place the test chooses, and the program's folder is left alone.
TEST_F(LogoSettings, AnInstalledWindowStoresTheLogoWithTheUsersConfiguration) {
  const QString bin = folder.filePath(QStringLiteral("prefix/bin"));
  ASSERT_TRUE(QDir().mkpath(bin));
  window->close();
  window = std::make_unique<mfrmMain>(ui, bin);
  window->show();
  const QString picture = WriteLogo(QStringLiteral("marque.png"), 0xFF3060A0);
  {
    const ScopedEnv config("XDG_CONFIG_HOME", QFile::encodeName(folder.filePath("config")));
    OpenSettings([&](frmParamLogo* dialog) { Store(dialog, picture); });
  }
  const QString param = folder.filePath(QStringLiteral("config/fotavel/param"));
  EXPECT_EQ(window->Services().ParamFolder(), param);
  EXPECT_EQ(QDir(param).entryList(QDir::Files).join(' '), "fotavel.ini logo.png");
  EXPECT_EQ(Bytes(param + QStringLiteral("/logo.png")), Bytes(picture));
  EXPECT_EQ(QDir(bin).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
}

TEST_F(LogoSettings, TheLogoCommandWithNoLogoOpensTheDialogFirst) {
  frmImage* document = Open(QStringLiteral("photo.bmp"));
  const QImage before = Upright(document->Document().Picture());
  WhenModal<frmParamLogo>([](frmParamLogo* dialog) { dialog->reject(); });
  Click("Logo");
  EXPECT_FALSE(document->Document().Dirty());
  EXPECT_FALSE(window->BtAnnuler()->Enabled());

  const QString picture = WriteLogo(QStringLiteral("marque.png"), 0xFFFF0000);
  WhenModal<frmParamLogo>([&](frmParamLogo* dialog) { Store(dialog, picture); });
  Click("Logo");
  EXPECT_TRUE(document->Document().Dirty());
  EXPECT_TRUE(window->BtAnnuler()->Enabled());
  EXPECT_TRUE(Caption(document).endsWith(" modifiée"));
  // The red logo sits in the top-left corner, a tenth of the photo's width.
  const QImage after = Upright(document->Document().Picture());
  EXPECT_EQ(after.pixel(0, 0), 0xFFFF0000);
  EXPECT_EQ(after.pixel(after.width() - 1, after.height() - 1),
            before.pixel(before.width() - 1, before.height() - 1));
}

}  // namespace
}  // namespace fotavel::testing
