// The undo ring and the effect commands run through the document's frame.
#include <stdexcept>

#include "DocumentFixture.h"
#include "document/Commands.h"
#include "document/DocumentError.h"
#include "effects/ImageProcessError.h"

namespace fotavel::testing {
namespace {

TEST_F(DocumentTest, SixStepsThenSixUndosGiveBackTheLastFiveStates) {
  OpenRandom(11, 7);
  std::vector<cDIBSection> states;
  states.push_back(Copy(document.Picture()));
  const std::function<void()> steps[] = {
      [&] { document.Lighten(); },       [&] { document.Piv_Gche(); },
      [&] { document.Fade(); },          [&] { document.GrayScale(); },
      [&] { document.NegativeImage(); }, [&] { document.Piv_Drt(); }};
  for (const auto& step : steps) {
    step();
    states.push_back(Copy(document.Picture()));
  }
  EXPECT_EQ(document.UndoCount(), 5);
  for (int k = 0; k < 5; ++k) {
    document.Annuler();
    EXPECT_TRUE(SamePixels(document.Picture(), states[5 - k])) << "undo " << k + 1;
  }
  EXPECT_FALSE(document.CanUndo());
  EXPECT_EQ(observer.undo.back(), false);
  // The state before the first step fell out of the ring.
  document.Annuler();
  EXPECT_TRUE(SamePixels(document.Picture(), states[1]));
}

// Each redo gives back the state the matching undo took away, turns with their sizes; the photo a
// redo replaces goes back into the ring, so the five undos still reach as far. A new change forgets
// what was undone; neither undo nor redo touches the caption or the dirty flag.
TEST_F(DocumentTest, RedoGivesBackEveryUndoneStateUntilANewChange) {
  OpenRandom(11, 7);
  std::vector<cDIBSection> states;
  states.push_back(Copy(document.Picture()));
  const std::function<void()> steps[] = {[&] { document.Lighten(); }, [&] { document.Piv_Gche(); },
                                         [&] { document.Fade(); }, [&] { document.GrayScale(); },
                                         [&] { document.NegativeImage(); }};
  for (const auto& step : steps) {
    step();
    states.push_back(Copy(document.Picture()));
  }
  const QString caption = document.Caption();
  for (int k = 4; k >= 0; --k) document.Annuler();
  EXPECT_TRUE(SamePixels(document.Picture(), states[0]));
  EXPECT_FALSE(document.CanUndo());
  for (int k = 1; k <= 5; ++k) {
    ASSERT_TRUE(document.CanRedo()) << k;
    document.Retablir();
    EXPECT_TRUE(SamePixels(document.Picture(), states[k])) << "redo " << k;
  }
  EXPECT_FALSE(document.CanRedo());
  EXPECT_EQ(observer.redo.back(), false);
  EXPECT_EQ(document.UndoCount(), 5);
  EXPECT_EQ(document.Caption(), caption);
  EXPECT_TRUE(document.Dirty());

  document.Annuler();
  document.Annuler();
  document.Piv_Drt();
  EXPECT_FALSE(document.CanRedo());
  EXPECT_EQ(observer.redo.back(), false);
  const cDIBSection turned = Copy(document.Picture());
  document.Retablir();
  EXPECT_TRUE(SamePixels(document.Picture(), turned));
  EXPECT_EQ(document.UndoCount(), 4);
  document.Annuler();
  EXPECT_TRUE(SamePixels(document.Picture(), states[3]));
}

TEST_F(DocumentTest, TheStatusShowsTheSizeOfAPhotoTurnedAndTurnedBack) {
  OpenRandom(10, 4);
  document.Activate();
  EXPECT_EQ(observer.size, QStringLiteral("10 x 4 - 0Ko"));
  document.Piv_Drt();
  EXPECT_EQ(observer.size, QStringLiteral("4 x 10 - 0Ko"));
  document.Annuler();
  EXPECT_EQ(observer.size, QStringLiteral("10 x 4 - 0Ko"));
  document.Piv_Gche();
  EXPECT_EQ(observer.size, QStringLiteral("4 x 10 - 0Ko"));
}

TEST(CommandNames, EveryNameTheProgramHoldsIsInTheTableAndAnyOtherIsAFault) {
  namespace n = CommandNames;
  const char* const held[] = {
      n::kNette,    n::kFloue,    n::kFiltre,    n::kNoyau,      n::kClair,    n::kSombre,
      n::kColorer,  n::kTernir,   n::kGris,      n::kPhotocopie, n::kPlume,    n::kDiffusion,
      n::kContours, n::kNegatif,  n::kGauche,    n::kDroite,     n::kCiel,     n::kWeb,
      n::kTaille,   n::kMasquer,  n::kLogo,      n::kCombiner,   n::kRecadrer, n::kRedresser,
      n::kAuto,     n::kReglages, n::kYeuxRouges};
  for (const char* name : held) EXPECT_STREQ(CommandNamed(name).name, name);
  EXPECT_EQ(std::size(held), Commands().size()) << "a command the window cannot name";
  EXPECT_THROW(CommandNamed("Nette"), std::logic_error);
  EXPECT_EQ(FindCommand(u"Nette"), nullptr) << "what a user types is only looked for";
}

// The window prepares memory when idle, and a pass lets the window's timers run while it reports
// progress: the scratch surface it is filtering into must not be written then.
TEST_F(DocumentTest, PreparingMemoryInTheMiddleOfAPassChangesNothing) {
  struct Meddler : DocumentObserver {
    PhotoDocument* document = nullptr;
    int calls = 0;
    void ProgressValue(std::int32_t) override {
      if (document != nullptr) ++calls, document->PrepareNextCommand();
    }
  };
  const QString path = OpenRandom(700, 500);
  Meddler meddler;
  PhotoDocument meddled(services, &meddler);
  ASSERT_NO_THROW(meddled.OpenFile(path, false));
  meddler.document = &meddled;
  for (const std::int32_t filter : {5, 1, 9}) {
    document.ProcessImage(filter);
    meddled.ProcessImage(filter);
    EXPECT_TRUE(SamePixels(meddled.Picture(), document.Picture())) << "filter " << filter;
  }
  EXPECT_GT(meddler.calls, 0);
  // Between commands it does its work, slice by slice, and changes no pixel.
  int slices = 1;
  while (!meddled.PrepareNextCommand()) ++slices;
  EXPECT_GT(slices, 1) << "the scratch surface, then the blocks for the next command";
  EXPECT_TRUE(SamePixels(meddled.Picture(), document.Picture()));
}

TEST_F(DocumentTest, CustomKernelRowsRunFromTheDisplayedTopAndARefusedOneStoresNothing) {
  // A bright pixel, and a kernel that only takes the pixel above (displayed):
  // the brightness moves one row down on the displayed picture.
  cDIBSection photo = UniformSurface(5, 5, 0, 0, 0);
  SetPixelRGB(photo, 2, 3, 0xFFFFFF);  // storage row 3 = displayed row 1
  OpenPicture(photo);
  const std::int32_t above[9] = {0, 1, 0, 0, 0, 0, 0, 0, 0};
  EXPECT_THROW(document.ProcessKernel(3, 0, above), ImageProcessError);  // weight 0
  EXPECT_THROW(document.ProcessKernel(4, 1, above), ImageProcessError);  // even size
  EXPECT_FALSE(document.CanUndo());
  EXPECT_FALSE(document.Dirty());
  EXPECT_TRUE(SamePixels(document.Picture(), photo));
  document.ProcessKernel(3, 1, above);
  EXPECT_EQ(PixelRGB(document.Picture(), 2, 2), 0xFFFFFFu);  // displayed row 2
  EXPECT_EQ(PixelRGB(document.Picture(), 2, 3), 0u);
}

TEST_F(DocumentTest, ResampleRules) {
  OpenRandom(10, 4);
  document.Resample(10, 4);  // same size: modified, but no undo step and no redraw
  EXPECT_TRUE(document.Dirty());
  EXPECT_FALSE(document.CanUndo());
  document.Resample(5, 2);
  EXPECT_EQ(std::pair(document.ImageWidth(), document.ImageHeight()), std::pair(5, 2));
  EXPECT_EQ(observer.size, QStringLiteral("5 x 2 - 0Ko"));

  // A size the machine cannot hold is refused before anything is mapped:
  // 2 x (60 000 x 3 bytes) x 60 000 rows is more than 20 GB free.
  document.SetAvailableMemoryProbe([] { return std::uint64_t{20} << 30; });
  EXPECT_THROW(document.Resample(60000, 60000), DocumentError);
  EXPECT_EQ(document.ImageWidth(), 5);
  EXPECT_EQ(document.UndoCount(), 1);
}

TEST(WebSize, TheLongerSideBecomes400) {
  const std::tuple<int, int, int, int> cases[] = {{1600, 1200, 400, 300}, {1200, 1600, 300, 400},
                                                  {200, 100, 400, 200},   {1000, 333, 400, 133},
                                                  {1000, 1, 400, 0},      {8, 1000, 3, 400}};
  for (auto [w, h, nw, nh] : cases) {
    EXPECT_EQ(PhotoDocument::WebSize(w, h), std::make_pair(nw, nh)) << w << 'x' << h;
  }
}

TEST_F(DocumentTest, CombineMakesANewPhotoOfTheSmallerSizeFromTheTopLeft) {
  cDIBSection first = UniformSurface(6, 4, 200, 200, 200);
  cDIBSection second = UniformSurface(4, 6, 10, 20, 30);
  SetPixelRGB(second, 0, 5, 0x0A0B0C);  // displayed top-left of the second photo
  document.Combine({1, 1, 0, 1, 0}, first, second);
  EXPECT_EQ(std::pair(document.ImageWidth(), document.ImageHeight()), std::pair(4, 4));
  EXPECT_EQ(PixelRGB(document.Picture(), 0, 3), 0xD2D3D4u);  // 200 + 0x0A0B0C per channel
  EXPECT_EQ(document.filename(), QStringLiteral("Nouvelle photo 1"));
  EXPECT_TRUE(document.Dirty() && !document.CanUndo());
}

// The batch tool's effect arguments: each case a command, its argument, and the numbers read
// (none when it is refused).
TEST(CommandTable, ArgumentsAreReadOrRefused) {
  const struct {
    const char16_t *command, *argument;
    std::vector<std::int32_t> numbers;
  } cases[] = {
      {u"noyau", u"3:-2:1,2,3,4,5,6,7,8,9", {3, -2, 1, 2, 3, 4, 5, 6, 7, 8, 9}},
      {u"noyau", u"3:1:1,2", {}},
      {u"combiner", u"/tmp/a:b.jpg:2:1:0:3:-4", {2, 1, 0, 3, -4}},
  };
  for (const auto& c : cases) {
    CommandArgument a;
    QString error;
    const CommandInfo* command = FindCommand(QString::fromUtf16(c.command));
    ASSERT_NE(command, nullptr);
    EXPECT_EQ(command->parse(QString::fromUtf16(c.argument), a, error), !c.numbers.empty())
        << QString::fromUtf16(c.argument).toStdString();
    if (c.numbers.empty()) continue;
    EXPECT_EQ(a.numbers, c.numbers);
    if (QStringView(c.command) == u"combiner") {
      EXPECT_EQ(a.file, QStringLiteral("/tmp/a:b.jpg"));  // the numbers are read from the right
    }
  }
}

}  // namespace
}  // namespace fotavel::testing
