// The main window as it starts: toolbar buttons, menus, status texts, and every command with no
// photo.
#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "controls/ProgressBar.h"
#include "shell/ShellFixture.h"

namespace fotavel::testing {
namespace {

using MainWindow = ShellTest;

TEST_F(MainWindow, ToolbarButtonsCarryTheirCaptionsAndHelpTexts) {
  const struct {
    const char* name;
    const char* caption;
    const char* legende;
  } expected[] = {
      {"QuitterComm", "Quitter", "Fermer l'application"},
      {"cmdMasque", "Masquer", "Masquer une partie de la photo"},
      {"Nette", "Nette", "Netteté : Photo plus nette"},
      {"Floue", "Floue", "Netteté : Photo plus floue"},
      {"Logo", "Logo", "Insérer votre logo"},
      {"cielCmd", "Ciel", "Remplacer un ciel blanc"},
      {"PivotDrt", "Droite", "Pivoter à 90° vers la droite"},
      {"PivotGche", "Gauche", "Pivoter à 90° vers la gauche"},
      {"SaturationPlus", "Colorer", "Saturation : Plus de couleur"},
      {"SaturationMoins", "Ternir", "Saturation : Moins de couleur"},
      {"LumierePlus", "Clair", "Lumière : Photo plus lumineuse"},
      {"LumiereMoins", "Sombre", "Lumière : Photo moins lumineuse"},
      {"TaillWeb", "Format Web", "Retailler au format Web"},
      {"BtAnnuler", "Annuler", "Annuler une action"},
      {"CacheExplorer", "Explorer", "Ouvrir / Fermer l'Exploreur"},
      {"SauvPhoto", "Enregistrer", "Enregistrez votre travail"},
      {"AnnulerEd", "Retour", "Annuler: Retour à l'éditeur d'affiches sans importer mon travail"},
      {"OkEd", "Importer", "Valider: Importer mon travail dans l'éditeur d'affiches"},
  };
  for (const auto& e : expected) {
    bouton* button = window->Button(e.name);
    ASSERT_NE(button, nullptr) << e.name;
    EXPECT_EQ(button->parentWidget(), window->BarreOutils()) << e.name;
    EXPECT_EQ(button->Caption(), QString::fromUtf8(e.caption)) << e.name;
    EXPECT_EQ(button->Legende(), QString::fromUtf8(e.legende)) << e.name;
    EXPECT_FALSE(button->BackImage().isNull()) << e.name;
  }
  EXPECT_FALSE(window->BtAnnuler()->Enabled());
  EXPECT_FALSE(window->Button("AnnulerEd")->isVisible());
  EXPECT_FALSE(window->Button("OkEd")->isVisible());
  EXPECT_TRUE(window->Button("QuitterComm")->isVisible());
  EXPECT_EQ(window->windowTitle(), QStringLiteral("Fotavel"));
  EXPECT_FALSE(window->prgMain()->isVisible());

  // Hovering a button shows its help text in the status line.
  bouton* button = window->Button("LumierePlus");
  QTest::mouseMove(button, QPoint(10, 10));
  QTest::mouseMove(button, QPoint(12, 12));
  EXPECT_EQ(Status(), QStringLiteral(" Lumière : Photo plus lumineuse"));
}

TEST_F(MainWindow, MenusHoldTheirEntriesShortcutsAndSeparators) {
  QStringList tops;
  for (QAction* action : window->menuBar()->actions()) tops << action->text();
  EXPECT_EQ(tops, (QStringList{"&Fichier", "&Edition", "Plus d'E&ffets", "&Couleurs", "&Paramètres",
                               "Fe&nêtre", "?"}));
  const struct {
    const char* name;
    const char* text;
    const char* shortcut;
  } entries[] = {
      {"mnuFile_0", "&Ouvrir et fermer l'exploreur", "Ctrl+O"},
      {"mnuFile_1", "&Enregistrer sous", "Ctrl+S"},
      {"mnuFile_3", "&Imprimer", "Ctrl+I"},
      {"mnuFile_5", "&Fermer", ""},
      {"mnuEdit_1", "&Copier", "Ctrl+C"},
      {"mnuEdit_2", "Co&ller", "Ctrl+V"},
      {"mnuEdit_4", "Re&tailler la photo", "Ctrl+R"},
      {"mnuEdit_6", "&Propriétés", ""},
      {"mnuHighPass_2", "Unsharp", ""},
      {"mnuSpecial_0", "&Emboss...", ""},
      {"mnuSpecial_6", "Ma&ximum Rank Filter...", ""},
      {"mnuColors_1", "Plus Cl&air", ""},
      {"mnuColors_3", "Niveaux de &Gris", ""},
      {"mnuParametrage_0", "Votre &logo", ""},
      {"mnuAide_0", "A propos", ""},
  };
  for (const auto& e : entries) {
    auto* action = window->findChild<QAction*>(QString::fromUtf8(e.name));
    ASSERT_NE(action, nullptr) << e.name;
    EXPECT_EQ(action->text(), QString::fromUtf8(e.text)) << e.name;
    EXPECT_EQ(action->shortcut().toString(), QString::fromUtf8(e.shortcut)) << e.name;
  }
  for (const char* name :
       {"mnuFile_2", "mnuFile_4", "mnuEdit_3", "mnuEdit_5", "mnuSpecial_1", "mnuColors_2"}) {
    auto* action = window->findChild<QAction*>(QString::fromUtf8(name));
    EXPECT_TRUE(action != nullptr && action->isSeparator()) << name;
  }
  EXPECT_FALSE(window->findChild<QAction*>(QStringLiteral("mnuFile_6"))->isVisible());
  EXPECT_FALSE(window->findChild<QAction*>(QStringLiteral("mnuFile_7"))->isVisible());
}

TEST_F(MainWindow, SetStatusKeepsFieldsGivenAsHash) {
  window->SetStatus(QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"));
  window->SetStatus(QStringLiteral("#"), QStringLiteral("#"), QStringLiteral("#"));
  EXPECT_EQ(window->lblStatus()->text(), QStringLiteral(" a"));
  EXPECT_EQ(window->lblImage()->text(), QStringLiteral(" b"));
  EXPECT_EQ(window->lblSize()->text(), QStringLiteral(" c"));
  window->SetStatus(QString(), QStringLiteral("#"), QStringLiteral("#"));
  EXPECT_EQ(window->lblStatus()->text(), QStringLiteral(" "));
}

TEST_F(MainWindow, EveryPhotoCommandWithNoPhotoSaysSoOnceAndDoesNothingElse) {
  const char* buttons[] = {"cmdMasque",       "Nette",       "Floue",        "Logo",
                           "cielCmd",         "PivotDrt",    "PivotGche",    "SaturationPlus",
                           "SaturationMoins", "LumierePlus", "LumiereMoins", "TaillWeb",
                           "SauvPhoto"};
  auto saysSelectAPhoto = [this](const char* name, auto command) {
    ui.Answer(MessageAnswer::Ok);
    const int before = MessageCount();
    command(name);
    ASSERT_EQ(MessageCount(), before + 1) << name;
    EXPECT_EQ(ui.Messages().back().text, QStringLiteral("Sélectionnez une photo !")) << name;
    EXPECT_EQ(ui.Messages().back().icon, MessageIcon::Information) << name;
  };
  for (const char* name : buttons) saysSelectAPhoto(name, [this](const char* n) { Click(n); });
  const char* entries[] = {"mnuFile_1",    "mnuFile_3",     "mnuEdit_1",     "mnuEdit_4",
                           "mnuEdit_6",    "mnuLowPass_0",  "mnuLowPass_1",  "mnuLowPass_2",
                           "mnuLowPass_3", "mnuHighPass_0", "mnuHighPass_1", "mnuHighPass_2",
                           "mnuSpecial_0", "mnuSpecial_4",  "mnuSpecial_5",  "mnuSpecial_6",
                           "mnuColors_0",  "mnuColors_1",   "mnuColors_3"};
  for (const char* name : entries) saysSelectAPhoto(name, [this](const char* n) { Trigger(n); });
  EXPECT_TRUE(ui.FileDialogs().empty());
  EXPECT_TRUE(window->Workspace()->subWindowList().isEmpty());
  EXPECT_FALSE(window->BtAnnuler()->Enabled());
}

TEST_F(MainWindow, AnUnreadableFileIsReported) {
  const QString path = folder.filePath(QStringLiteral("pas-une-photo.jpg"));
  {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("ceci n'est pas une photo");
  }
  ui.Answer(MessageAnswer::Ok);
  window->OpenPhoto(path);
  ASSERT_EQ(MessageCount(), 1);
  EXPECT_TRUE(ui.Messages()[0].text.startsWith(
      QStringLiteral("Une erreur est survenue lors de l'ouverture de : ")));
  EXPECT_EQ(ui.Messages()[0].icon, MessageIcon::Exclamation);
}

}  // namespace
}  // namespace fotavel::testing
