// Every text of every dialog whole and uncovered as shown. CTest runs this at 96 dpi, and again as
// fotavel_shell_tests.dpi120 on a 120 dpi screen that Qt leaves unscaled (FOTAVEL_TEST_DPI=120).
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <optional>
#include <utility>

#include "controls/bouton.h"
#include "dialogs/FrenchDialogTest.h"
#include "dialogs/fSauvJpg.h"
#include "dialogs/frmCombination.h"
#include "dialogs/frmNewSize.h"
#include "dialogs/frmParamLogo.h"
#include "dialogs/frmProprietes.h"
#include "dialogs/frmReglages.h"
#include "shell/FormAide.h"
#include "shell/demarrage.h"

namespace fotavel::testing {
namespace {

// The size a control's text needs and the room the control gives it: a label's own measure of its
// text (word wrap, rich text and margins included); a button's caption against the rectangle the
// style draws it in, inside the frame or beside the mark.
std::optional<std::pair<QSize, QSize>> NeedsAndHas(const QWidget& control) {
  if (const auto* label = qobject_cast<const QLabel*>(&control);
      label && !label->text().isEmpty()) {
    const QSize needed =
        label->wordWrap() ? QSize(0, label->heightForWidth(label->width())) : label->sizeHint();
    return std::pair(needed, label->size());
  }
  const auto* button = qobject_cast<const QAbstractButton*>(&control);
  if (button != nullptr && !button->text().isEmpty()) {
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    const auto* push = qobject_cast<const QPushButton*>(button);
    if (push != nullptr && push->autoDefault()) {
      option.features |= QStyleOptionButton::AutoDefaultButton;
    }
    const QStyle::SubElement contents = push != nullptr ? QStyle::SE_PushButtonContents
                                        : qobject_cast<const QCheckBox*>(button) != nullptr
                                            ? QStyle::SE_CheckBoxContents
                                            : QStyle::SE_RadioButtonContents;
    return std::pair(button->fontMetrics().size(Qt::TextShowMnemonic, button->text()),
                     button->style()->subElementRect(contents, &option, button).size());
  }
  if (const auto* image = qobject_cast<const bouton*>(&control)) {
    return std::pair(image->fontMetrics().size(0, image->Caption()), image->size());
  }
  return std::nullopt;
}

// Every visible text control of `window`: its text fits, and it stands inside its parent and
// clear of its visible siblings. Returns how many there were.
int CheckTexts(const QWidget& window, QStringList& faults) {
  int texts = 0;
  for (const QWidget* control : window.findChildren<QWidget*>()) {
    if (control->isWindow() || !control->isVisibleTo(&window)) continue;
    const std::optional<std::pair<QSize, QSize>> room = NeedsAndHas(*control);
    if (!room) continue;
    ++texts;
    const auto& [needed, has] = *room;
    const QString name = control->objectName();
    if (needed.width() > has.width() || needed.height() > has.height()) {
      faults << QStringLiteral("%1 needs %2 x %3, has %4 x %5")
                    .arg(name)
                    .arg(needed.width())
                    .arg(needed.height())
                    .arg(has.width())
                    .arg(has.height());
    }
    const QWidget* parent = control->parentWidget();
    if (!parent->rect().contains(control->geometry())) faults << name + " goes beyond its parent";
    for (const QWidget* other : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
      if (other != control && !other->isWindow() && other->isVisibleTo(&window) &&
          other->geometry().intersects(control->geometry())) {
        faults << name + " is covered by " + other->objectName();
      }
    }
  }
  return texts;
}

// In French, as the program is used: the dates of the properties window too.
using DialogTexts = FrenchDialogTest;

TEST_F(DialogTexts, EveryTextIsWholeAndUncovered) {
  QTemporaryDir folder;
  const QString photo = folder.filePath(QStringLiteral("vacances à la montagne.jpg"));
  QFile file(photo);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(QByteArray(2'512'345, '\0')) > 0);
  file.close();

  // Each live text at its longest.
  frmNewSize newSize(ui);
  newSize.SetSize(6000, 4000);
  frmCombination combination(ui);
  combination.SetPhotos({{"plage.jpg", 6000, 4000}, {"montagne.jpg", 4000, 6000}});
  fSauvJpg jpeg;
  jpeg.QualitJPG()->setSliderDown(true);
  jpeg.QualitJPG()->setSliderPosition(100);  // "Maximale"
  jpeg.QualitJPG()->setSliderDown(false);
  fSauvJpg webp(nullptr, true);  // with "Sans perte"
  bool logoPret = false;
  frmParamLogo logo(
      ui, {folder.filePath("param"), [](const QString&) { return QString(); }, {}, {}, {}, {}},
      logoPret);
  logo.distX()->setValue(50);
  logo.DistY()->setValue(50);
  logo.taille()->setValue(100);
  logo.transparence()->setValue(90);
  logo.angle()->setValue(360);
  frmProprietes properties(PhotoProperties::Of(photo, 6000, 4000));
  frmReglages reglages;
  for (int i = 0; i < frmReglages::kSliders; ++i) {
    reglages.Curseur(static_cast<frmReglages::Slider>(i))->setValue(-100);
  }
  FormAide about(ui, folder.path());
  demarrage splash([] {});
  splash.setAttribute(Qt::WA_DeleteOnClose, false);
  splash.TimerDemarrage()->stop();

  const std::pair<QWidget*, int> windows[] = {{&newSize, 10}, {&combination, 12}, {&jpeg, 5},
                                              {&webp, 6},     {&logo, 22},        {&properties, 15},
                                              {&about, 8},    {&splash, 6},       {&reglages, 13}};
  const int dpi = qEnvironmentVariableIsSet("FOTAVEL_TEST_DPI")
                      ? qEnvironmentVariableIntValue("FOTAVEL_TEST_DPI")
                      : 96;
  for (const auto& [window, texts] : windows) {
    SCOPED_TRACE(window->metaObject()->className());
    window->show();
    // The about window adapts itself to the screen at its first activation.
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    ASSERT_EQ(window->logicalDpiY(), dpi);
    QStringList faults;
    EXPECT_EQ(CheckTexts(*window, faults), texts);
    EXPECT_TRUE(faults.isEmpty()) << faults.join('\n').toStdString();
    window->hide();
  }
}

}  // namespace
}  // namespace fotavel::testing
