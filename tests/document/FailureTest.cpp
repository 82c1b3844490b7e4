// Failures of the document: each one said in French, none leaving the photo changed or marked.
#include <QImage>
#include <cerrno>
#include <system_error>

#include "DocumentFixture.h"
#include "document/Commands.h"
#include "document/DocumentError.h"

namespace fotavel::testing {
namespace {

using namespace Qt::StringLiterals;
using namespace std::string_view_literals;

Error Described(auto&& raise) {
  try {
    raise();
  } catch (...) {
    return DescribeFailure(std::current_exception());
  }
  ADD_FAILURE() << "nothing was thrown";
  return Error(0, "", "");
}

// Running out of memory and the document's own errors are described in the tests that meet them.
TEST(DescribeFailure, EveryFailureGetsANumberAFrenchTextAndASource) {
  const std::string document = ProgramName() + ".PhotoDocument";
  const std::string engine = ProgramName() + ".cImageProcess";
  const struct {
    Error got;
    std::uint32_t number;
    std::string description, source;
  } cases[] = {
      {Described([] { throw ImageProcessError(ImageProcessErrors::kSizeNotOdd); }), 0x80040519,
       "Size must be an odd number", engine},
      {Described([] { throw std::system_error(ENOSPC, std::generic_category()); }), ENOSPC,
       "Erreur du système n° 28 : No space left on device", document},
      {Described([] { throw std::out_of_range("index 9"); }), 0x8004057A,
       "Erreur inattendue : index 9", document},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(std::tuple(c.got.number(), c.got.description(), c.got.source()),
              std::tuple(c.number, c.description, c.source));
  }
}

class LogoFailureTest : public DocumentTest {
 protected:
  void Write(const QString& name, const QByteArray& bytes) {
    WriteFile(folder.filePath(name), bytes);
  }
  // The logo command fails, as the user is told, with `text` from `module`, and the photo is as
  // it was, unmarked.
  void ExpectRefused(const QString& text, const char* module = "PhotoDocument",
                     std::uint32_t number = DocumentErrors::kLogo) {
    const cDIBSection before = Copy(document.Picture());
    const Error error = Described([&] { document.InsererLogo(); });
    EXPECT_EQ(FailureText(error), text);
    EXPECT_EQ(error.number(), number);
    EXPECT_EQ(error.source(), ProgramName() + '.' + module);
    EXPECT_TRUE(SamePixels(before, document.Picture()));
    EXPECT_FALSE(document.Dirty());
    EXPECT_EQ(document.UndoCount(), 0);
    EXPECT_TRUE(observer.undo.empty() || !observer.undo.back()) << "the undo button lit";
    EXPECT_FALSE(document.Caption().endsWith(u" modifiée"_s));
  }
};

TEST_F(LogoFailureTest, UnreadableSettingsOrLogoAreReportedNotStamped) {
  OpenRandom(40, 30);
  QImage red(4, 4, QImage::Format_RGB32);
  red.fill(qRgb(255, 0, 0));
  ASSERT_TRUE(red.save(folder.filePath(u"logo.png"_s)));
  Write(u"fotavel.ini"_s, "Ext=png;DstX=0;DstY=0;Tll=grand;Trs=0;Agl=0;");
  ExpectRefused(
      u"Le logo n'a pas pu être inséré : le réglage Tll de fotavel.ini (« grand ») "
      u"n'est pas un nombre valable."_s);
  Write(u"fotavel.ini"_s, "Ext=tif;DstX=0;DstY=0;Tll=10;Trs=0;Agl=0;");
  ExpectRefused(
      u"Le logo n'a pas pu être inséré : le fichier logo.tif est introuvable dans le "
      u"dossier des paramètres."_s);
  Write(u"fotavel.ini"_s, "Ext=png;DstX=0;DstY=0;Tll=10;Trs=0;Agl=0;");
  Write(u"logo.png"_s, "pas une image");
  ExpectRefused(u"Le logo n'a pas pu être inséré : le fichier "_s + folder.filePath(u"logo.png"_s) +
                    u" n'est pas une image lisible."_s,
                "ModImage");
  ASSERT_TRUE(red.save(folder.filePath(u"logo.png"_s)));  // a real logo again: stamped
  EXPECT_TRUE(document.InsererLogo());
  EXPECT_TRUE(document.Dirty());
  EXPECT_EQ(PixelRGB(document.Picture(), 0, 29), 0xFF0000u);
}

// A logo too large for the memory left fails as memory running out, unstamped: what it takes read
// at 4 bytes a pixel, then its 32-bit and premultiplied copies, is counted before any is had.
TEST_F(LogoFailureTest, ALogoTooLargeForTheMemoryLeftIsRefusedUnstamped) {
  OpenRandom(40, 30);
  Write(u"fotavel.ini"_s, "Ext=png;DstX=0;DstY=0;Tll=10;Trs=0;Agl=0;");
  QImage blue(40, 30, QImage::Format_RGB32);
  blue.fill(qRgb(0, 0, 255));
  ASSERT_TRUE(blue.save(folder.filePath(u"logo.png"_s)));
  const std::uint64_t budget = io::SetPictureMemoryBudget(40 * 30 * 12 - 1);
  ExpectRefused(u"Mémoire insuffisante : la photo n'a pas été modifiée."_s, "PhotoDocument",
                DocumentErrors::kOutOfMemory);
  io::SetPictureMemoryBudget(40 * 30 * 12);
  EXPECT_TRUE(document.InsererLogo());
  io::SetPictureMemoryBudget(budget);
  EXPECT_EQ(PixelRGB(document.Picture(), 0, 29), 0x0000FFu);
}

TEST_F(DocumentTest, RunningOutOfMemorySaysSoAndKeepsThePhoto) {
  OpenRandom(20, 20);
  for (int i = 0; i < 5; ++i) document.Lighten(5);  // a full ring: its copies' memory is reused
  const QString caption = document.Caption();
  // Commands that need a new surface fail with the memory message; the
  // others run in the memory they have.
  QStringList failed;
  const auto check = [&](const QString& name, auto&& command) {
    const cDIBSection before = Copy(document.Picture());
    const NoMoreSurfaceMemory full;
    try {
      command();
    } catch (...) {
      failed << name;
      const Error error = DescribeFailure(std::current_exception());
      EXPECT_EQ(error.number(), 7u) << name.toStdString();
      EXPECT_TRUE(FailureText(error).startsWith(u"Mémoire insuffisante"_s)) << error.description();
      EXPECT_TRUE(SamePixels(before, document.Picture())) << name.toStdString();
      EXPECT_EQ(document.Caption(), caption);
    }
  };
  for (const CommandInfo& command : Commands()) {
    CommandArgument argument;
    QString unused;
    // Those that need an argument, and the logo (none is stored), are tried below or elsewhere.
    if (!command.parse(QStringView(), argument, unused) || command.name == "logo"sv) continue;
    CommandContext context;
    check(QString::fromLatin1(command.name), [&] { command.run(document, argument, context); });
  }
  check(u"taille"_s, [&] { document.Resample(30, 10); });
  check(u"combiner"_s, [&] { document.Combine({}, document.Picture(), document.Picture()); });
  EXPECT_EQ(failed.join(u' ').toStdString(),
            "contours negatif gauche droite ciel web taille combiner");

  document.Resample(10, 10);
  check(u"annuler"_s, [&] { document.Annuler(); });  // back to 20 x 20 needs a scratch surface
  EXPECT_EQ(failed.back(), u"annuler"_s);
  document.Annuler();
  EXPECT_EQ(document.ImageWidth(), 20);

  const QString other = WritePhoto(RandomSurface(8, 8, 1), u"autre.bmp"_s);
  const NoMoreSurfaceMemory full;
  const io::FileError unopened = FileFailure([&] { document.OpenFile(other, false); });
  EXPECT_EQ(FailureText(unopened).toStdString(),
            "Une erreur est survenue lors de l'ouverture de : image trop grande pour la mémoire "
            "disponible (8 x 8)");
  EXPECT_EQ(unopened.number(), io::FileErrors::kRead);
  EXPECT_EQ(document.ImageWidth(), 20);
  EXPECT_EQ(document.Caption(), caption);
  EXPECT_NO_THROW(document.SaveBitmap(folder.filePath(u"sauve.bmp"_s)));
  EXPECT_FALSE(document.Dirty());
}

}  // namespace
}  // namespace fotavel::testing
