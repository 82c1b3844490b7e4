// Every road that brings a photo into the window ends with the whole photo on screen; the toolbar
// keeps every command within reach at any width; commands are one action each, and undone steps
// come back.
#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QToolButton>
#include <stdexcept>

#include "dialogs/ModalDriver.h"
#include "dialogs/frmCombination.h"
#include "dialogs/frmNewSize.h"
#include "dialogs/frmProprietes.h"
#include "shell/BarreExplorer.h"
#include "shell/ShellFixture.h"
#include "shell/WindowCommands.h"

namespace fotavel::testing {
namespace {

namespace c = commands;
using WindowRoads = ShellTest;

// Opened from a file, a photo larger than the room fits it at the zoom the room gives, with no
// scroll bar hiding its edges, large or small. Resized, it shows whole at the same zoom; its
// properties name it and its new size.
TEST_F(WindowRoads, AnOpenedPhotoShowsWholeAtItsFittingZoomAndStaysSoWhenResized) {
  for (const QSize photo : {QSize(1200, 800), QSize(6000, 4000)}) {
    frmImage* document = Open(QStringLiteral("photo.bmp"), photo.width(), photo.height());
    ASSERT_NE(document, nullptr);
    EXPECT_EQ(document->Zoom(), FittingZoom(Room(*window), photo)) << photo.width();
    ExpectWholePhotoShown(document);
    Close(document);
  }

  frmImage* document = Open(QStringLiteral("photo.bmp"), 1200, 800);
  const double zoom = document->Zoom();
  WhenModal<frmNewSize>([](frmNewSize* dialog) {
    dialog->txtWidth()->setText(QStringLiteral("600"));
    dialog->cmdOK()->click();
  });
  Trigger(c::kRetailler);
  EXPECT_EQ(QSize(document->Document().ImageWidth(), document->Document().ImageHeight()),
            QSize(600, 400));
  EXPECT_EQ(document->Zoom(), zoom);
  ExpectWholePhotoShown(document);

  QString dimensions;
  WhenModal<frmProprietes>([&](frmProprietes* dialog) {
    dimensions = dialog->Value(QStringLiteral("Dimensions"));
    dialog->reject();
  });
  Trigger(c::kProprietes);
  EXPECT_EQ(dimensions, QStringLiteral("600 x 400 pixels"));
}

// A pasted picture used to arrive in a window collapsed to its title bar. With the explorer
// beside it the workspace is narrower than the room the zoom is fitted to: the zoom then comes
// down until the whole picture shows.
TEST_F(WindowRoads, APastedPictureShowsWholeEvenBesideTheExplorer) {
  ASSERT_TRUE(window->Explorer()->isVisible());
  const QSize photo(1200, 800);
  QGuiApplication::clipboard()->setImage(Upright(Pattern(photo.width(), photo.height())));
  Trigger(c::kColler);
  frmImage* pasted = window->ActiveDocument();
  ASSERT_NE(pasted, nullptr);
  EXPECT_EQ(Caption(pasted), QStringLiteral("Photo: Nouvelle photo 1"));
  EXPECT_LT(pasted->Zoom(), FittingZoom(Room(*window), photo));
  EXPECT_GT(pasted->Zoom(), FittingZoom(Room(*window), photo) / 2);
  ExpectWholePhotoShown(pasted);

  // A small picture, at 100 %, in a window still large enough to take hold of.
  QGuiApplication::clipboard()->setImage(Upright(Pattern(30, 20)));
  Trigger(c::kColler);
  frmImage* small = window->ActiveDocument();
  ASSERT_NE(small, pasted);
  EXPECT_EQ(small->Zoom(), 100);
  ExpectWholePhotoShown(small);
  EXPECT_GE(small->parentWidget()->width(), 200);
}

// The combination, whose button stays hidden, reached through its command: the new photo, the
// size of the smaller of the two, arrives whole in a window of its own.
TEST_F(WindowRoads, ACombinationArrivesWholeInAWindowOfItsOwn) {
  Open(QStringLiteral("a.bmp"), 300, 200);
  Open(QStringLiteral("b.bmp"), 250, 260);
  WhenModal<frmCombination>([](frmCombination* dialog) { dialog->cmdOK()->click(); });
  Trigger(c::kCombiner);
  ASSERT_EQ(Windows(), 3);
  frmImage* combined = window->ActiveDocument();
  EXPECT_EQ(Caption(combined), QStringLiteral("Photo: Nouvelle photo 1"));
  EXPECT_EQ(QSize(combined->Document().ImageWidth(), combined->Document().ImageHeight()),
            QSize(250, 200));
  ExpectWholePhotoShown(combined);
}

// Ctrl+Z steps back and Ctrl+Y (or Ctrl+Shift+Z) forth again, through the steps undone, until a
// new change; the undo button and the redo entry say when they can act.
TEST_F(WindowRoads, UndoneStepsComeBackUntilANewChange) {
  frmImage* document = Open(QStringLiteral("a.bmp"), 41, 23);
  QAction* redo = window->Action(c::kRetablir);
  std::vector<QImage> states{Upright(document->Document().Picture())};
  for (const char* step : {c::kClair, c::kGauche, c::kNette}) {
    Click(step);
    states.push_back(Upright(document->Document().Picture()));
  }
  EXPECT_FALSE(redo->isEnabled());
  const auto shown = [&] { return Upright(document->Document().Picture()); };
  QTest::keyClick(window.get(), Qt::Key_Z, Qt::ControlModifier);
  QTest::keyClick(window.get(), Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(shown(), states[1]);
  EXPECT_TRUE(redo->isEnabled());
  QTest::keyClick(window.get(), Qt::Key_Y, Qt::ControlModifier);
  EXPECT_EQ(shown(), states[2]);
  EXPECT_EQ(document->Image1()->size(), QSize(23, 41)) << "the turn is given back with its size";
  QTest::keyClick(window.get(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(shown(), states[3]);
  EXPECT_FALSE(redo->isEnabled());
  EXPECT_TRUE(window->BtAnnuler()->Enabled());

  Click(c::kAnnuler);
  Click(c::kSombre);
  EXPECT_FALSE(redo->isEnabled()) << "a new change forgets what was undone";
  const QImage darker = shown();
  QTest::keyClick(window.get(), Qt::Key_Y, Qt::ControlModifier);
  EXPECT_EQ(shown(), darker);

  // Each window keeps its own: another photo has nothing to give back.
  Click(c::kAnnuler);
  EXPECT_TRUE(redo->isEnabled());
  Open(QStringLiteral("b.bmp"));
  EXPECT_FALSE(redo->isEnabled());
  EXPECT_FALSE(window->BtAnnuler()->Enabled());
}

// A menu entry and a button that run the same command are one action: the menu lists the action
// the button triggers, under its own caption. A name no command bears is a fault of the program.
TEST_F(WindowRoads, AMenuEntryAndAButtonOfOneCommandAreOneAction) {
  auto* colours = window->findChild<QMenu*>(QStringLiteral("mnuColorTOP"));
  ASSERT_NE(colours, nullptr);
  const QList<QAction*> entries = colours->actions();
  ASSERT_EQ(entries.size(), 7);
  EXPECT_EQ(entries[0], window->Action(c::kSombre));
  EXPECT_EQ(entries[1], window->Action(c::kClair));
  EXPECT_EQ(entries[1]->text(), QStringLiteral("Plus Cl&air"));
  EXPECT_EQ(window->Button(c::kClair)->Caption(), QStringLiteral("Clair"));
  EXPECT_THROW(window->Action("mnuInconnu"), std::logic_error);
}

// From 640 pixels up, every button whose command is offered is on screen inside its toolbar, or
// listed behind the chevron at the end of the main toolbar; none overlaps another. Below 870
// pixels the four buttons stand stacked in the vertical toolbar, from 870 on they follow PivotDrt
// in the main one. The menu's shadow spans the window.
TEST_F(WindowRoads, EveryToolbarCommandStaysWithinReachAtEveryWidth) {
  auto* suite = window->findChild<QToolButton*>(QStringLiteral("BarreOutilsSuite"));
  auto* shadow = window->findChild<QWidget*>(QStringLiteral("ImgOmbre"));
  ASSERT_TRUE(suite != nullptr && shadow != nullptr);
  const char* const moving[] = {c::kFormatWeb, c::kLogo, c::kCiel, c::kMasquer};
  const QList<bouton*> buttons = window->findChildren<bouton*>();
  // Widths are the window's whole, frame included, as the layout reads them.
  const int frame = window->frameGeometry().width() - window->width();
  for (int width = 640; width <= 1400; ++width) {
    window->resize(width - frame, 700);
    QCoreApplication::processEvents();
    ASSERT_EQ(window->frameGeometry().width(), width);
    QList<QAction*> behind;
    if (suite->isVisible()) {
      emit suite->menu()->aboutToShow();
      behind = suite->menu()->actions();
    }
    QList<QRect> taken;
    for (bouton* button : buttons) {
      QAction* action = window->Action(button->objectName().toLatin1().constData());
      if (!action->isVisible()) continue;
      const QWidget* bar = button->parentWidget();
      const bool shown = button->isVisible();
      ASSERT_NE(shown, behind.contains(action)) << width << " " << button->objectName();
      if (!shown) continue;
      ASSERT_TRUE(bar->isVisible() && bar->rect().contains(button->geometry()))
          << width << " " << button->objectName();
      const QRect place(button->mapTo(window.get(), QPoint()), button->size());
      for (const QRect& other : taken) ASSERT_FALSE(place.intersects(other)) << width;
      taken.push_back(place);
    }
    if (suite->isVisible()) {
      EXPECT_TRUE(window->BarreOutils()->rect().contains(suite->geometry())) << width;
    }
    const bool narrow = width < 870;
    EXPECT_EQ(window->BarreOutilsVrt()->isVisible(), narrow) << width;
    const bouton* drt = window->Button(c::kDroite);
    for (std::size_t k = 0; k < std::size(moving); ++k) {
      const bouton* button = window->Button(moving[k]);
      if (narrow) {
        ASSERT_EQ(button->parentWidget(), window->BarreOutilsVrt()) << width;
        EXPECT_EQ(button->y(), 8 + int(k) * (button->height() + 8)) << width;
      } else {
        ASSERT_EQ(button->parentWidget(), window->BarreOutils()) << width;
        EXPECT_EQ(button->pos(), QPoint(drt->x() + int(k + 1) * (drt->width() + 8), drt->y()))
            << width;
      }
    }
    EXPECT_EQ(shadow->width(), width);
  }
}

}  // namespace
}  // namespace fotavel::testing
