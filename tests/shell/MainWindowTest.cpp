// The main window as it starts: status texts and their places, help texts, and every command
// with no photo.
#include <QAccessible>
#include <QAction>

#include "controls/ProgressBar.h"
#include "shell/ShellFixture.h"
#include "shell/StatusLayout.h"

namespace fotavel::testing {
namespace {

using MainWindow = ShellTest;

TEST_F(MainWindow, StartsWithNothingToUndoAndHelpTextsUnderTheMouse) {
  EXPECT_FALSE(window->BtAnnuler()->Enabled());
  EXPECT_FALSE(window->Button("AnnulerEd")->isVisible() || window->Button("OkEd")->isVisible());
  EXPECT_FALSE(window->prgMain()->isVisible());
  bouton* button = window->Button("LumierePlus");
  QTest::mouseMove(button, QPoint(10, 10));
  QTest::mouseMove(button, QPoint(12, 12));
  EXPECT_EQ(Status(), QStringLiteral(" Lumière : Photo plus lumineuse"));
}

// A screen reader walking the toolbar finds every shown button named and described (how a
// button answers is pinned in its own tests), and pressing one runs its command.
TEST_F(MainWindow, AScreenReaderReadsAndPressesTheToolbarButtons) {
  QAccessibleInterface* toolbar = QAccessible::queryAccessibleInterface(window->BarreOutils());
  ASSERT_NE(toolbar, nullptr);
  int shown = 0;
  for (int i = 0; i < toolbar->childCount(); ++i) {
    QAccessibleInterface* child = toolbar->child(i);
    ASSERT_NE(qobject_cast<bouton*>(child->object()), nullptr) << i;
    if (child->state().invisible) continue;
    ++shown;
    EXPECT_FALSE(child->text(QAccessible::Name).isEmpty() ||
                 child->text(QAccessible::Description).isEmpty())
        << i;
  }
  EXPECT_EQ(shown, 16) << "the poster editor's two buttons are hidden";

  QAccessibleInterface* undo = QAccessible::queryAccessibleInterface(window->BtAnnuler());
  EXPECT_TRUE(undo->state().disabled);
  frmImage* pressed = Open(QStringLiteral("a.bmp"));
  const QImage before = Upright(pressed->Document().Picture());
  QAccessible::queryAccessibleInterface(window->Button("LumierePlus"))
      ->actionInterface()
      ->doAction(QAccessibleActionInterface::pressAction());
  QCoreApplication::processEvents();
  EXPECT_TRUE(Caption(pressed).endsWith(QStringLiteral(" modifiée")));
  EXPECT_NE(Upright(pressed->Document().Picture()), before);
  EXPECT_FALSE(undo->state().disabled);
}

TEST_F(MainWindow, SetStatusKeepsFieldsGivenAsHash) {
  window->SetStatus(QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"));
  window->SetStatus(QStringLiteral("#"), QStringLiteral("#"), QStringLiteral("#"));
  EXPECT_EQ(QStringList({window->lblStatus()->text(), window->lblImage()->text(),
                         window->lblSize()->text()}),
            QStringList({" a", " b", " c"}));
  window->SetStatus(QString(), QStringLiteral("#"), QStringLiteral("#"));
  EXPECT_EQ(window->lblStatus()->text(), QStringLiteral(" "));
}

TEST_F(MainWindow, EveryPhotoCommandWithNoPhotoSaysSoOnceAndDoesNothingElse) {
  const char* buttons[] = {"cmdMasque",       "Nette",       "Floue",        "Logo",
                           "cielCmd",         "PivotDrt",    "PivotGche",    "SaturationPlus",
                           "SaturationMoins", "LumierePlus", "LumiereMoins", "TaillWeb",
                           "SauvPhoto"};
  auto saysSelectAPhoto = [this](const char* name, auto command) {
    SCOPED_TRACE(name);
    ui.Answer(MessageAnswer::Ok);
    const int before = MessageCount();
    command(name);
    ASSERT_EQ(MessageCount(), before + 1);
    ExpectMessage(before, QStringLiteral("Sélectionnez une photo !"), MessageIcon::Information);
  };
  for (const char* name : buttons) saysSelectAPhoto(name, [this](const char* n) { Click(n); });
  const auto trigger = [this](const char* n) { Trigger(n); };
  for (const char* name : {"mnuFile_1", "mnuFile_3", "mnuEdit_1", "mnuEdit_4", "mnuEdit_6"})
    saysSelectAPhoto(name, trigger);
  for (const char* name : kEffectEntries) saysSelectAPhoto(name, trigger);
  EXPECT_TRUE(ui.FileDialogs().empty());
  EXPECT_EQ(Windows(), 0);
  EXPECT_FALSE(window->BtAnnuler()->Enabled());
}

layout::StatusInput Labels(double windowWidth) {
  layout::StatusInput in;
  in.windowWidth = windowWidth;
  in.margin = 60;
  in.sizeWidth = 1500;
  in.imageWidth = 3000;
  in.zoomWidth = 1200;
  return in;  // N = 1500 + 1200 + 3000 + 90 = 5790
}

// All three need room for twice themselves, the zoom alone a third more; nothing overlaps.
TEST(StatusLabels, GiveWayAtTwiceTheirWidthThenAtAThirdMore) {
  const struct {
    double width;
    bool all, zoom;
  } cases[] = {
      {11580, true, true}, {11579, false, true}, {7720, false, true}, {7719, false, false}};
  for (const auto& c : cases) {
    const layout::StatusPlaces p = layout::PlaceStatusLabels(Labels(c.width));
    EXPECT_EQ(p.sizeVisible && p.imageVisible, c.all) << c.width;
    EXPECT_EQ(p.sizeVisible || p.imageVisible, c.all) << c.width;
    EXPECT_EQ(p.zoomVisible, c.zoom) << c.width;
    EXPECT_GT(p.statusWidth, 0);
    if (c.zoom) {
      EXPECT_LE(60 + p.statusWidth, p.zoomLeft) << c.width;
    }
    if (c.all) {
      EXPECT_LT(p.zoomLeft + 1200, p.imageLeft);
      EXPECT_LT(p.imageLeft + 3000, p.sizeLeft);
      EXPECT_LE(p.sizeLeft + 1500, c.width - 140);
    }
  }
}

TEST_F(MainWindow, ANarrowWindowHidesTheLabelsAndTheBarFollowsTheMessage) {
  EXPECT_TRUE(window->lblSize()->isVisible() && window->lblZoom()->isVisible());
  EXPECT_GT(window->lblSize()->x(), window->lblImage()->x());
  EXPECT_GT(window->lblImage()->x(), window->lblZoom()->x());
  window->resize(500, 600);
  QCoreApplication::processEvents();
  EXPECT_FALSE(window->lblSize()->isVisible() || window->lblImage()->isVisible());
  EXPECT_EQ(window->prgMain()->geometry(), window->lblStatus()->geometry());
}

}  // namespace
}  // namespace fotavel::testing
