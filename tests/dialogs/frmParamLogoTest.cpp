// The logo settings dialog driven offscreen: its first-use state, the live texts, the file dialog
// it asks for, and what a failed store leaves behind.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <stdexcept>

#include "dialogs/ModalDriver.h"
#include "dialogs/ScriptedUiServices.h"
#include "dialogs/frmParamLogo.h"

namespace fotavel::testing {
namespace {

class LogoDialog : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(folder.isValid()); }
  void TearDown() override {
    EXPECT_TRUE(ui.Unexpected().isEmpty())
        << ui.Unexpected().join(QStringLiteral(" | ")).toStdString();
    EXPECT_TRUE(ui.AllUsed());
  }

  // The application's side of the settings file, kept in memory: the dialog
  // only ever asks for keys and hands over whole rewrites.
  LogoParamFiles Files(const QString& paramFolder) {
    return {paramFolder, [this](const QString& key) { return settings.value(key); },
            [this](const QList<std::pair<QString, QString>>& entries) {
              ++rewrites;
              if (writerFails) throw std::runtime_error("disk full");
              for (const auto& [key, value] : entries) settings[key] = value;
            }};
  }

  QString WriteLogo(const QString& path, QRgb colour) {
    QImage logo(6, 4, QImage::Format_RGB32);
    logo.fill(colour);
    EXPECT_TRUE(logo.save(path, "PNG")) << path.toStdString();
    return path;
  }

  static QByteArray Bytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }

  QTemporaryDir folder;
  ScriptedUiServices ui;
  QMap<QString, QString> settings;
  int rewrites = 0;
  bool writerFails = false;
  bool logoPret = false;
};

// The texts beside the bars follow them; 50 % centres, and the ends are held.
TEST_F(LogoDialog, FirstUseStartsAtTheDefaultsAndEachBarRewritesItsText) {
  frmParamLogo dialog(ui, Files(folder.filePath(QStringLiteral("param"))), logoPret);
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  EXPECT_TRUE(dialog.Cancelled());
  EXPECT_EQ(dialog.taille()->value(), 10);
  EXPECT_EQ(dialog.distX()->value() + dialog.DistY()->value() + dialog.transparence()->value() +
                dialog.angle()->value(),
            0);
  EXPECT_TRUE(dialog.distX_pourcentage()->text().isEmpty());
  EXPECT_EQ(dialog.taille_pourcentage()->text(), "10 % de la taille totale de l'image");
  EXPECT_FALSE(dialog.effacer()->isEnabled());

  const struct {
    QScrollBar* bar;
    int value;
    QLabel* label;
    const char* text;
  } moves[] = {
      {dialog.distX(), 50, dialog.distX_pourcentage(), "X à 50 % : Logo centré horizontalement"},
      {dialog.distX(), 51, dialog.distX_pourcentage(), "X à 51 % de la largeur de l'image"},
      {dialog.DistY(), 50, dialog.distY_pourcentage(), "Y à 50 % : Logo centré verticalement"},
      {dialog.DistY(), 7, dialog.distY_pourcentage(), "Y à 7 % de la hauteur de l'image"},
      {dialog.taille(), 0, dialog.taille_pourcentage(), "1 % de la taille totale de l'image"},
      {dialog.transparence(), 95, dialog.trans_pourcentage(), "90 % de transparence"},
      {dialog.angle(), 360, dialog.angle_pourcentage(), "360 °"}};
  for (const auto& m : moves) {
    m.bar->setValue(m.value);
    EXPECT_EQ(m.label->text(), QString::fromUtf8(m.text));
  }
}

TEST_F(LogoDialog, OuvrirAsksForAnExistingPictureAndCancellingKeepsTheName) {
  const QString logo = WriteLogo(folder.filePath(QStringLiteral("marque.png")), 0xFF2040C0);
  frmParamLogo dialog(ui, Files(folder.path()), logoPret);
  ui.ChooseName(logo).CancelDialog();
  QTest::mouseClick(dialog.cmdOpen(), Qt::LeftButton);
  EXPECT_EQ(dialog.txtFilename()->text(), logo);
  QTest::mouseClick(dialog.cmdOpen(), Qt::LeftButton);
  EXPECT_EQ(dialog.txtFilename()->text(), logo);
  ASSERT_EQ(ui.FileDialogs().size(), 2u);
  const RecordedFileDialog& asked = ui.FileDialogs().front();
  EXPECT_EQ(std::tuple(asked.kind, asked.request.title, asked.request.mustExist),
            std::tuple(FileDialogKind::Open, QStringLiteral("Sélectionnez votre logo"), true));
}

TEST_F(LogoDialog, AnnulerEscapeAndTheCloseBoxChangeNothing) {
  const QString stored = WriteLogo(folder.filePath(QStringLiteral("logo.png")), 0xFF2040C0);
  const QString other = WriteLogo(folder.filePath(QStringLiteral("autre.gif")), 0xFFC04020);
  const std::function<void(frmParamLogo*)> ways[] = {
      [](frmParamLogo* d) { QTest::mouseClick(d->cmdCancel(), Qt::LeftButton); },
      [](frmParamLogo* d) { QTest::keyClick(d, Qt::Key_Escape); },
      [](frmParamLogo* d) { d->close(); },
  };
  for (const bool ready : {false, true}) {
    for (const auto& way : ways) {
      logoPret = ready;
      frmParamLogo dialog(ui, Files(folder.path()), logoPret);
      WhenModal<frmParamLogo>([&](frmParamLogo* shown) {
        shown->txtFilename()->setText(other);
        shown->taille()->setValue(40);
        way(shown);
      });
      EXPECT_EQ(dialog.exec(), QDialog::Rejected);
      EXPECT_TRUE(dialog.Cancelled());
      EXPECT_EQ(logoPret, ready);
    }
  }
  EXPECT_EQ(rewrites, 0);
  EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files),
            QStringList({QStringLiteral("autre.gif"), QStringLiteral("logo.png")}));
  EXPECT_EQ(QImage(stored).pixel(0, 0), 0xFF2040C0);
}

// Each failure says why and keeps the dialog open with the stored logo as it was.
TEST_F(LogoDialog, AFailedStoreSaysSoAndLeavesTheStoredLogo) {
  const QString stored = WriteLogo(folder.filePath(QStringLiteral("logo.png")), 0xFF2040C0);
  const QByteArray storedBytes = Bytes(stored);
  const QString chosen = WriteLogo(folder.filePath(QStringLiteral("nouveau.png")), 0xFFC04020);
  const QString blocker = WriteLogo(folder.filePath(QStringLiteral("fichier")), 0xFF000000);
  struct Case {
    QString paramFolder;
    QString name;
    bool writerFails;
    const char* says;
  };
  const Case cases[] = {
      {folder.path(), chosen, true, "Impossible d'enregistrer les réglages du logo"},
      {folder.path(), folder.filePath(QStringLiteral("absent.png")), false,
       "Impossible de lire le fichier"},
      {blocker + QStringLiteral("/param"), chosen, false, "Impossible de créer le dossier"},
  };
  for (const Case& c : cases) {
    writerFails = c.writerFails;
    frmParamLogo dialog(ui, Files(c.paramFolder), logoPret);
    ui.Answer(MessageAnswer::Ok);
    WhenModal<frmParamLogo>([&](frmParamLogo* shown) {
      shown->txtFilename()->setText(c.name);
      QTest::mouseClick(shown->cmdOK(), Qt::LeftButton);
      EXPECT_TRUE(shown->isVisible()) << c.says;
      shown->reject();
    });
    dialog.exec();
    EXPECT_TRUE(dialog.Cancelled());
    EXPECT_FALSE(logoPret);
    ASSERT_FALSE(ui.Messages().empty());
    EXPECT_TRUE(ui.Messages().back().text.startsWith(QString::fromUtf8(c.says)))
        << ui.Messages().back().text.toStdString();
    EXPECT_EQ(ui.Messages().back().icon, MessageIcon::Exclamation);
  }
  EXPECT_TRUE(settings.isEmpty());
  EXPECT_EQ(Bytes(stored), storedBytes);
  // Not even a part-copied picture is left behind.
  EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files),
            QStringList({QStringLiteral("fichier"), QStringLiteral("logo.png"),
                         QStringLiteral("nouveau.png")}));
}

}  // namespace
}  // namespace fotavel::testing
