// Document windows driven through the real buttons and menus: what the main window shows of them,
// every photo command with and without a photo, and the roads that save or close a photo.
#include <QDir>
#include <QFileInfo>
#include <QPushButton>

#include "controls/ProgressBar.h"
#include "dialogs/ModalDriver.h"
#include "dialogs/fSauvJpg.h"
#include "document/Messages.h"
#include "shell/ShellFixture.h"
#include "shell/WindowCommands.h"

namespace fotavel::testing {
namespace {

using DocumentWindow = ShellTest;

QImage Shown(frmImage* document) { return document->picImage().copy(); }

// Counts the paints a widget receives.
class Paints : public QObject {
 public:
  explicit Paints(QWidget* widget) { widget->installEventFilter(this); }
  int count = 0;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++count;
    return false;
  }
};

namespace c = commands;

// The commands that change the photo, each leaving an undo step.
constexpr const char* kEffects[] = {c::kNette,    c::kFloue,       c::kCiel,    c::kColorer,
                                    c::kTernir,   c::kClair,       c::kSombre,  c::kDroite,
                                    c::kGauche,   c::kFormatWeb,   c::kSoften,  c::kSoftenMore,
                                    c::kBlurMore, c::kSharpenMore, c::kUnsharp, c::kEmboss,
                                    c::kMinimum,  c::kMedian,      c::kMaximum, c::kGris};

// Without a photo every command says so. An opened photo shows with its caption and status; an
// effect fills the bar at every column while the window draws the bar seldom and the photo once,
// at the end; every command changes the shown photo, and undo gives the last five back.
TEST_F(DocumentWindow, EveryPhotoCommandSaysSoWithoutAPhotoAndChangesTheShownPhotoWithOne) {
  // Through its button where it has one, else through its menu entry.
  const auto run = [this](const char* name) {
    if (window->Button(name) != nullptr) {
      Click(name);
    } else {
      Trigger(name);
    }
  };
  std::vector<const char*> needPhoto(std::begin(kEffects), std::end(kEffects));
  needPhoto.insert(needPhoto.end(), {c::kMasquer, c::kLogo, c::kEnregistrer, c::kImprimer,
                                     c::kCopier, c::kRetailler, c::kProprietes});
  for (const char* name : needPhoto) {
    ui.Answer(MessageAnswer::Ok);
    const int before = MessageCount();
    run(name);
    ASSERT_EQ(MessageCount(), before + 1) << name;
    ExpectMessage(before, Messages::kSelectionnezPhoto, MessageIcon::Information);
  }
  EXPECT_TRUE(ui.FileDialogs().empty());
  EXPECT_EQ(Windows(), 0);

  // 600 x 40 x 3 = 72000 bytes, in thousands.
  frmImage* document = Open(QStringLiteral("a.bmp"), 600, 40);
  const QString path = folder.filePath(QStringLiteral("a.bmp"));
  EXPECT_EQ(QStringList({Caption(document), Status(), window->lblImage()->text(),
                         window->lblSize()->text(), window->lblZoom()->text()}),
            QStringList({"Photo: " + path, " Ouvert " + path, " a.bmp", " 600 x 40 - 72Ko",
                         "Zoom: 100 %"}));
  EXPECT_EQ(document->Image1()->size(), QSize(600, 40));
  std::vector<QImage> shown{Shown(document)};
  EXPECT_EQ(shown[0], Upright(document->Document().Picture()));

  ProgressBar* bar = window->prgMain();
  std::vector<std::int32_t> positions;
  QObject::connect(bar, &ProgressBar::PropertyChanged, [&](const QString& property) {
    if (property == QLatin1String("Position")) positions.push_back(bar->Position());
  });
  ASSERT_NE(bar->hwnd(), nullptr);
  Paints barPaints(bar->hwnd());
  Paints photoPaints(document->Image1());
  Click(commands::kClair);
  ASSERT_EQ(positions.size(), 599u) << "columns 3 ... 1797, the bar standing at 0";
  EXPECT_EQ(positions.back(), bar->Max());
  EXPECT_LT(barPaints.count * 50, 600) << barPaints.count << " paints of the bar";
  EXPECT_EQ(photoPaints.count, 0) << "the photo is drawn once the effect is done, not during it";
  QCoreApplication::processEvents();
  EXPECT_EQ(photoPaints.count, 1);
  shown.push_back(Shown(document));
  EXPECT_NE(shown[1], shown[0]);
  EXPECT_FALSE(bar->isVisible());
  EXPECT_TRUE(Status().startsWith(" Réalisé en ") && Status().endsWith(" ms"))
      << Status().toStdString();
  EXPECT_TRUE(Caption(document).endsWith(QStringLiteral(" modifiée")));
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);

  const int messages = MessageCount();
  for (const char* name : kEffects) {
    run(name);
    shown.push_back(Shown(document));
    EXPECT_NE(shown.back(), shown[shown.size() - 2]) << name;
    EXPECT_EQ(shown.back(), Upright(document->Document().Picture())) << name;
  }
  EXPECT_EQ(MessageCount(), messages);
  for (int undo = 1; undo <= 5; ++undo) {
    EXPECT_TRUE(window->BtAnnuler()->Enabled()) << undo;
    Click(commands::kAnnuler);
    EXPECT_EQ(Shown(document), shown[shown.size() - 1 - undo]) << undo;
  }
  EXPECT_FALSE(window->BtAnnuler()->Enabled());
}

// No answer but a written file or a plain No lets a changed photo go.
TEST_F(DocumentWindow, ClosingAChangedPhotoAsksAndOnlyAWrittenFileOrNoLetsItGo) {
  frmImage* document = Open(QStringLiteral("a.bmp"));
  Click(commands::kNette);
  ui.Answer(MessageAnswer::Cancel);
  Close(document);
  ASSERT_EQ(Windows(), 1);
  ExpectMessage(0, QStringLiteral("La photo 'a.bmp' a changé.\r\n\r\nVoulez vous la sauvegarder ?"),
                MessageIcon::Question);
  EXPECT_EQ(ui.Messages()[0].buttons, MessageButtons::YesNoCancel);

  // Yes, then a cancelled save dialog, or a save that fails: the window stays.
  ui.Answer(MessageAnswer::Yes).CancelDialog();
  Close(document);
  ui.Answer(MessageAnswer::Yes)
      .ChooseName(folder.filePath("absent/a.bmp"))
      .Answer(MessageAnswer::Ok);
  Close(document);
  ASSERT_EQ(Windows(), 1);
  ExpectMessage(3,
                Messages::kEnregistrementErreur + "le dossier « " + folder.filePath("absent") +
                    " » n'existe pas",
                MessageIcon::Exclamation);
  EXPECT_TRUE(document->Document().Dirty());

  // Yes, then a name: saved and closed, and the status fields are emptied.
  const QString saved = folder.filePath(QStringLiteral("gardee.bmp"));
  ui.Answer(MessageAnswer::Yes).ChooseName(saved);
  Close(document);
  EXPECT_EQ(Windows(), 0);
  EXPECT_TRUE(QFileInfo::exists(saved));
  EXPECT_EQ(window->lblSize()->text(), QStringLiteral(" "));
}

TEST_F(DocumentWindow, ClosingTheApplicationAsksEveryChangedPhotoAndCancelKeepsAll) {
  Open(QStringLiteral("a.bmp"));
  Click(commands::kNette);
  Open(QStringLiteral("b.bmp"));
  Click(commands::kNette);
  Open(QStringLiteral("c.bmp"));  // unchanged: no question
  ui.Answer(MessageAnswer::No).Answer(MessageAnswer::Cancel);
  Click(commands::kQuitter);
  EXPECT_EQ(Windows(), 3);
  EXPECT_TRUE(window->isVisible());
  ui.Answer(MessageAnswer::No).Answer(MessageAnswer::No);
  Trigger(commands::kQuitter);
  EXPECT_EQ(Windows(), 0);
  EXPECT_EQ(MessageCount(), 4);
}

// The dialog offers the JPEG under the photo's name and asks before replacing a file; a name
// without extension is a JPEG. A cancelled quality dialog writes nothing; a name the program cannot
// write is written as a bitmap beside it, and said.
TEST_F(DocumentWindow, SavingWritesTheChosenKindAndCleansTheCaption) {
  frmImage* document = Open(QStringLiteral("source.bmp"), 37, 23);
  Click(commands::kGauche);
  ui.ChooseName(folder.filePath(QStringLiteral("photo")));
  WhenModal<fSauvJpg>([](fSauvJpg* dialog) { dialog->cmdCancelJPG()->click(); });
  Click(commands::kEnregistrer);
  const FileDialogRequest& request = ui.FileDialogs()[0].request;
  EXPECT_EQ(request.defaultName, folder.filePath(QStringLiteral("source")));
  EXPECT_EQ(request.filters.value(request.filterIndex - 1).pattern, QStringLiteral("*.JPG"));
  EXPECT_TRUE(request.overwritePrompt);
  const QString jpeg = folder.filePath(QStringLiteral("photo.JPG"));
  EXPECT_FALSE(QFileInfo::exists(jpeg));
  EXPECT_TRUE(document->Document().Dirty());

  const QString chosen = folder.filePath(QStringLiteral("copie.gif"));
  ui.ChooseName(chosen).Answer(MessageAnswer::Ok);
  Click(commands::kEnregistrer);
  ExpectMessage(0, Messages::kFormatIncompatible);
  EXPECT_FALSE(QFileInfo::exists(chosen));
  EXPECT_TRUE(QFileInfo::exists(folder.filePath(QStringLiteral("copie.bmp"))));

  ui.ChooseName(jpeg);
  WhenModal<fSauvJpg>([](fSauvJpg* dialog) { dialog->EnregJPG()->click(); });
  Trigger(commands::kEnregistrer);
  EXPECT_TRUE(QFileInfo::exists(jpeg));
  EXPECT_EQ(Caption(document), QStringLiteral("Photo: ") + jpeg);
  EXPECT_FALSE(document->Document().Dirty());
}

// A photo that cannot be opened, saves as BMP and as JPEG that fail, and an effect the document
// refuses are each said once, as the window says every failure; the photo stays as it was.
TEST_F(DocumentWindow, OpenSaveAndEffectFailuresAreToldWithTheirOwnTexts) {
  const QString letter = folder.filePath(QStringLiteral("lettre.jpg"));
  Touch(letter, "Cher ami, voici la photo promise.");
  frmImage* document = Open(QStringLiteral("fil.bmp"), 1000, 1);  // web size: 400 x 0
  const QString absent = folder.filePath(QStringLiteral("absent"));
  ui.Answer(MessageAnswer::Ok);
  EXPECT_EQ(OpenPath(letter), nullptr);
  ui.ChooseName(absent + QStringLiteral("/fil.bmp")).Answer(MessageAnswer::Ok);
  Click("SauvPhoto");
  ui.ChooseName(absent + QStringLiteral("/fil.JPG")).Answer(MessageAnswer::Ok);
  WhenModal<fSauvJpg>([](fSauvJpg* dialog) { dialog->EnregJPG()->click(); });
  Click("SauvPhoto");
  ui.Answer(MessageAnswer::Ok);
  Click("TaillWeb");

  const QString unsaved = Messages::kEnregistrementErreur + QStringLiteral("le dossier « ") +
                          absent + " » n'existe pas";
  ASSERT_EQ(MessageCount(), 4);
  ExpectMessage(0, Messages::kOuvertureErreur + "format d'image inconnu", MessageIcon::Exclamation);
  ExpectMessage(1, unsaved, MessageIcon::Exclamation);
  ExpectMessage(2, unsaved, MessageIcon::Exclamation);
  ExpectMessage(3,
                QStringLiteral("Impossible de retailler la photo en 400 x 0 : chaque côté doit "
                               "mesurer au moins 1 pixel."),
                MessageIcon::Exclamation);
  EXPECT_EQ(Windows(), 1);
  EXPECT_EQ(document->Document().ImageWidth(), 1000);
  EXPECT_EQ(Caption(document), QStringLiteral("Photo: ") + folder.filePath("fil.bmp"));
}

}  // namespace
}  // namespace fotavel::testing
