// The "Edition" and "Fenêtre" menus: the system clipboard both ways, the properties window, the
// arrangement of the document windows.
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>

#include "dialogs/ModalDriver.h"
#include "dialogs/frmCombination.h"
#include "dialogs/frmNewSize.h"
#include "dialogs/frmProprietes.h"
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
  static QImage OnClipboard() { return QGuiApplication::clipboard()->image(); }

  // Temporary files go where the test can see every one of them.
  QTemporaryDir temp;
  ScopedEnv tmpdir{"TMPDIR", temp.path().toLocal8Bit()};
};

TEST_F(EditCommands, CopyThenPasteTwiceGivesTwoNewPhotosOfTheSamePixels) {
  frmImage* source = Open(QStringLiteral("a.bmp"), 37, 23);
  Trigger("mnuEdit_1");
  EXPECT_EQ(OnClipboard().convertToFormat(QImage::Format_RGB32),
            Upright(source->Document().Picture()));

  Trigger("mnuEdit_2");
  frmImage* first = window->ActiveDocument();
  Trigger("mnuEdit_2");
  frmImage* second = window->ActiveDocument();
  ASSERT_NE(first, source);
  ASSERT_NE(second, first);
  EXPECT_EQ(Caption(first), QStringLiteral("Photo: Nouvelle photo 1"));
  EXPECT_EQ(Caption(second), QStringLiteral("Photo: Nouvelle photo 2"));
  EXPECT_EQ(Upright(second->Document().Picture()), Upright(source->Document().Picture()));
  EXPECT_TRUE(second->Document().Dirty());
  EXPECT_TRUE(TempFiles().isEmpty()) << TempFiles().join(' ');
}

TEST_F(EditCommands, PastingWhatIsNoPictureSaysSoAndLeavesNoFile) {
  QGuiApplication::clipboard()->setText(QStringLiteral("du texte"));
  ui.Answer(MessageAnswer::Ok);
  Trigger("mnuEdit_2");
  ExpectMessage(0,
                QStringLiteral("Erreur lors de l'opération 'Coller': le presse-papiers ne contient "
                               "pas d'image"),
                MessageIcon::Exclamation);
  EXPECT_EQ(Windows(), 0);
  EXPECT_TRUE(TempFiles().isEmpty());
}

// A picture copied from another program may be see-through; it lands on white, as a PNG does.
TEST_F(EditCommands, APastedPictureWithTransparencyLandsOnWhite) {
  QImage picture(3, 2, QImage::Format_ARGB32);
  picture.fill(qRgba(0, 0, 200, 0));
  picture.setPixel(0, 0, qRgba(255, 0, 0, 255));
  picture.setPixel(1, 0, qRgba(0, 0, 0, 128));
  QGuiApplication::clipboard()->setImage(picture);
  Trigger("mnuEdit_2");
  frmImage* pasted = window->ActiveDocument();
  ASSERT_NE(pasted, nullptr);
  const QImage shown = Upright(pasted->Document().Picture());
  EXPECT_EQ(shown.pixel(0, 0), qRgb(255, 0, 0));
  EXPECT_EQ(shown.pixel(1, 0), qRgb(127, 127, 127));  // 255 * 127 / 255 on white
  EXPECT_EQ(shown.pixel(2, 1), qRgb(255, 255, 255));
}

TEST_F(EditCommands, PropertiesShowTheFileOrForAPastedPhotoItsNameAndSize) {
  // The properties window's values for these fields, as "Propriétés" shows them.
  const auto shown = [this](QStringList fields) {
    WhenModal<frmProprietes>([&](frmProprietes* properties) {
      for (QString& field : fields) field = properties->Value(field);
      properties->reject();
    });
    Trigger("mnuEdit_6");
    return fields;
  };
  frmImage* document = Open(QStringLiteral("plage.bmp"), 101, 61);
  const QStringList values = shown({"Dossier", "Dimensions", "Taille sur le disque"});
  EXPECT_EQ(
      values.mid(0, 2),
      QStringList({QFileInfo(document->Document().filename()).absolutePath(), "101 x 61 pixels"}));
  // 54 bytes of headers and 61 rows of 304 bytes.
  EXPECT_TRUE(values[2].contains(QLocale().toString(54 + 61 * 304))) << values[2];

  Trigger("mnuEdit_1");
  Trigger("mnuEdit_2");
  EXPECT_EQ(shown({"Nom", "Fichier"}), QStringList({"Nouvelle photo 1", "pas encore enregistrée"}));
}

TEST_F(EditCommands, TheWindowMenuArrangesAndListsTheDocuments) {
  Open(QStringLiteral("a.bmp"));
  Open(QStringLiteral("b.bmp"));
  frmImage* third = Open(QStringLiteral("c.bmp"));
  const QRect area = window->Workspace()->viewport()->rect();
  const auto frames = [this] {
    QList<QRect> out;
    for (QMdiSubWindow* sub : window->Workspace()->subWindowList()) out.push_back(sub->geometry());
    return out;
  };
  Trigger("mnuWindow_0");
  const int h = area.height() / 3;
  EXPECT_EQ(frames(), (QList<QRect>{QRect(0, 0, area.width(), h), QRect(0, h, area.width(), h),
                                    QRect(0, 2 * h, area.width(), h)}));
  Trigger("mnuWindow_1");
  const int w = area.width() / 3;
  EXPECT_EQ(frames()[2], QRect(2 * w, 0, w, area.height()));

  auto* menu = window->findChild<QMenu*>(QStringLiteral("mnuWindowTop"));
  emit menu->aboutToShow();
  QStringList listed;
  for (QAction* entry : menu->actions()) {
    if (entry->isCheckable()) listed << entry->text() + (entry->isChecked() ? "*" : "");
  }
  EXPECT_EQ(listed.size(), 3);
  EXPECT_TRUE(listed[2].endsWith(Caption(third) + "*")) << listed.join(' ');
  // Choosing an entry brings its window forward.
  menu->actions()[5]->trigger();
  EXPECT_NE(window->ActiveDocument(), third);
}

TEST_F(EditCommands, ResizingAsksTheSizeAndCancellingChangesNothing) {
  frmImage* document = Open(QStringLiteral("a.bmp"), 800, 600);
  const QImage before = Upright(document->Document().Picture());
  const auto resize = [this](const char* width, bool ok) {
    WhenModal<frmNewSize>([=](frmNewSize* dialog) {
      dialog->txtWidth()->setText(QString::fromLatin1(width));
      (ok ? dialog->cmdOK() : dialog->cmdCancel())->click();
    });
    Trigger("mnuEdit_4");
  };
  resize("400", false);
  EXPECT_EQ(Upright(document->Document().Picture()), before);
  EXPECT_FALSE(document->Document().Dirty());

  resize("401", true);
  EXPECT_EQ(QSize(document->Document().ImageWidth(), document->Document().ImageHeight()),
            QSize(401, 300));
  EXPECT_TRUE(Caption(document).endsWith(QStringLiteral(" modifiée")));
  EXPECT_EQ(window->lblSize()->text(), QStringLiteral(" 401 x 300 - 361Ko"));
  Click("BtAnnuler");
  EXPECT_EQ(Upright(document->Document().Picture()), before);
}

// The button is hidden, but the command behind it works.
TEST_F(EditCommands, CombiningTwoPhotosOpensTheResultInANewWindow) {
  frmImage* first = Open(QStringLiteral("a.bmp"), 80, 60);
  frmImage* second = Open(QStringLiteral("b.bmp"), 64, 80);
  auto* button = window->findChild<QPushButton*>(QStringLiteral("Combiner"));
  ASSERT_NE(button, nullptr);
  EXPECT_FALSE(button->isVisible());
  QString info;
  WhenModal<frmCombination>([&](frmCombination* dialog) {
    info = dialog->lblInfo()->text();
    dialog->optCombine(1)->setChecked(true);
    dialog->cmdOK()->click();
  });
  button->click();
  EXPECT_EQ(info, QStringLiteral("Taille de la photo après opération: 64 x 60"));
  frmImage* combined = window->ActiveDocument();
  ASSERT_TRUE(combined != first && combined != second);
  EXPECT_EQ(Caption(combined), QStringLiteral("Photo: Nouvelle photo 1"));
  // Each pixel is the darker one of the two photos' top-left corners, taken whole; both
  // photos give some.
  const QImage a = Upright(first->Document().Picture()).copy(0, 0, 64, 60);
  const QImage b = Upright(second->Document().Picture()).copy(0, 0, 64, 60);
  const QImage result = Upright(combined->Document().Picture());
  ASSERT_EQ(result.size(), QSize(64, 60));
  int fromA = 0, fromB = 0;
  for (int y = 0; y < 60; ++y) {
    for (int x = 0; x < 64; ++x) {
      const QRgb r = result.pixel(x, y);
      ASSERT_TRUE(r == a.pixel(x, y) || r == b.pixel(x, y)) << x << "," << y;
      fromA += r != b.pixel(x, y);
      fromB += r != a.pixel(x, y);
    }
  }
  EXPECT_GT(fromA, 0);
  EXPECT_GT(fromB, 0);
}

}  // namespace
}  // namespace fotavel::testing
