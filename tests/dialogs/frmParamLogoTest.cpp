// The logo settings dialog driven offscreen: the live texts, and the ways out that store nothing.
// Storing, deleting and a full disk are driven from the window in the shell's tests.
#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

#include "dialogs/FrenchDialogTest.h"
#include "dialogs/ModalDriver.h"
#include "dialogs/frmParamLogo.h"

namespace fotavel::testing {
namespace {

class LogoDialog : public FrenchDialogTest {
 protected:
  // The application's side of the settings file, kept in memory: the dialog
  // only ever asks for keys and hands over whole rewrites.
  LogoParamFiles Files(const QString& paramFolder) {
    return {paramFolder, [this](const QString& key) { return settings.value(key); },
            [this](const QList<std::pair<QString, QString>>& entries) {
              for (const auto& [key, value] : entries) settings[key] = value;
            }};
  }

  QString WriteLogo(const QString& name) {
    QImage logo(6, 4, QImage::Format_RGB32);
    logo.fill(0xFF2040C0);
    const QString path = folder.filePath(name);
    EXPECT_TRUE(logo.save(path, "PNG")) << path.toStdString();
    return path;
  }

  QTemporaryDir folder;
  QMap<QString, QString> settings;
  bool logoPret = false;
};

// The texts beside the bars follow them: 50 % centres, and the ends are held.
TEST_F(LogoDialog, EachBarRewritesItsText) {
  frmParamLogo dialog(ui, Files(folder.filePath(QStringLiteral("param"))), logoPret);
  const struct {
    QScrollBar* bar;
    int value;
    QLabel* label;
    const char* text;
  } moves[] = {
      {dialog.distX(), 50, dialog.distX_pourcentage(), "X à 50 % : Logo centré horizontalement"},
      {dialog.DistY(), 7, dialog.distY_pourcentage(), "Y à 7 % de la hauteur de l'image"},
      {dialog.taille(), 0, dialog.taille_pourcentage(), "1 % de la taille totale de l'image"},
      {dialog.transparence(), 95, dialog.trans_pourcentage(), "90 % de transparence"}};
  for (const auto& m : moves) {
    m.bar->setValue(m.value);
    EXPECT_EQ(m.label->text(), QString::fromUtf8(m.text));
  }
}

TEST_F(LogoDialog, AnnulerEscapeAndTheCloseBoxChangeNothing) {
  WriteLogo(QStringLiteral("logo.png"));
  const QString other = WriteLogo(QStringLiteral("autre.png"));
  const std::function<void(frmParamLogo*)> ways[] = {
      [](frmParamLogo* d) { QTest::mouseClick(d->cmdCancel(), Qt::LeftButton); },
      [](frmParamLogo* d) { QTest::keyClick(d, Qt::Key_Escape); },
      [](frmParamLogo* d) { d->close(); },
  };
  logoPret = true;
  for (const auto& way : ways) {
    frmParamLogo dialog(ui, Files(folder.path()), logoPret);
    WhenModal<frmParamLogo>([&](frmParamLogo* shown) {
      shown->txtFilename()->setText(other);
      shown->taille()->setValue(40);
      way(shown);
    });
    EXPECT_EQ(dialog.exec(), QDialog::Rejected);
    EXPECT_TRUE(dialog.Cancelled());
    EXPECT_TRUE(logoPret);
  }
  EXPECT_TRUE(settings.isEmpty());
  EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files),
            QStringList({QStringLiteral("autre.png"), QStringLiteral("logo.png")}));
}

// Each failure says why and keeps the dialog open; not even a part-copied picture is left.
TEST_F(LogoDialog, APictureThatCannotBeReadOrStoredIsRefused) {
  const QString chosen = WriteLogo(QStringLiteral("nouveau.png"));
  const QString blocker = WriteLogo(QStringLiteral("fichier"));
  const struct {
    QString paramFolder, name;
    const char* says;
  } cases[] = {
      {folder.path(), folder.filePath(QStringLiteral("absent.png")),
       "Impossible de lire le fichier"},
      {blocker + QStringLiteral("/param"), chosen, "Impossible de créer le dossier"},
  };
  for (const auto& c : cases) {
    frmParamLogo dialog(ui, Files(c.paramFolder), logoPret);
    ui.Answer(MessageAnswer::Ok);
    WhenModal<frmParamLogo>([&](frmParamLogo* shown) {
      shown->txtFilename()->setText(c.name);
      QTest::mouseClick(shown->cmdOK(), Qt::LeftButton);
      EXPECT_TRUE(shown->isVisible()) << c.says;
      shown->reject();
    });
    dialog.exec();
    EXPECT_FALSE(logoPret);
    ASSERT_FALSE(ui.Messages().empty());
    EXPECT_TRUE(ui.Messages().back().text.startsWith(QString::fromUtf8(c.says)))
        << ui.Messages().back().text.toStdString();
  }
  EXPECT_TRUE(settings.isEmpty());
  EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files),
            QStringList({QStringLiteral("fichier"), QStringLiteral("nouveau.png")}));
}

}  // namespace
}  // namespace fotavel::testing
