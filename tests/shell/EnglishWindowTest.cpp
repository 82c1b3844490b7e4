// The window in English: the language chosen from the desktop's list, and no French text left on
// the main window's menus and toolbar or in the resize and JPEG quality dialogs.
#include <QAbstractButton>
#include <QAction>
#include <QFontMetrics>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <functional>
#include <utility>
#include <vector>

#include "dialogs/fSauvJpg.h"
#include "dialogs/frmNewSize.h"
#include "document/Translations.h"
#include "shell/ShellFixture.h"

namespace fotavel::testing {
namespace {

// Where a text stands (its widget or action and which of its texts) and the text.
using Texts = std::vector<std::pair<QString, QString>>;

void AddText(Texts& texts, const QObject& owner, const char* what, const QString& text) {
  if (!text.isEmpty()) {
    const QString name = owner.objectName().isEmpty()
                             ? QString::fromLatin1(owner.metaObject()->className())
                             : owner.objectName();
    texts.emplace_back(name + u'/' + QLatin1String(what), text);
  }
}

// Every menu entry of the menu bar, submenus included.
void MenuTexts(const QMenu& menu, Texts& texts) {
  AddText(texts, *menu.menuAction(), "title", menu.title());
  for (const QAction* action : menu.actions()) {
    if (action->isSeparator()) continue;
    if (action->menu() != nullptr) {
      MenuTexts(*action->menu(), texts);
    } else {
      AddText(texts, *action, "text", action->text());
    }
  }
}

// The texts of the widgets below `window`, in the order they were made: captions, help texts,
// labels, tool tips, and the window's title.
void WidgetTexts(const QWidget& window, Texts& texts) {
  AddText(texts, window, "windowTitle", window.windowTitle());
  for (const QWidget* widget : window.findChildren<QWidget*>()) {
    if (const auto* image = qobject_cast<const bouton*>(widget)) {
      AddText(texts, *image, "Caption", image->Caption());
      AddText(texts, *image, "Legende", image->Legende());
    } else if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) {
      AddText(texts, *button, "text", button->text());
    } else if (const auto* label = qobject_cast<const QLabel*>(widget)) {
      AddText(texts, *label, "text", label->text());
    }
    AddText(texts, *widget, "toolTip", widget->toolTip());
  }
}

Texts MainWindowTexts(UiServices& ui, const QString& folder) {
  mfrmMain window(ui, folder);
  Texts texts;
  for (const QAction* top : window.menuBar()->actions()) {
    if (top->menu() != nullptr) MenuTexts(*top->menu(), texts);
  }
  WidgetTexts(window, texts);
  return texts;
}

Texts DialogTexts(UiServices& ui) {
  Texts texts;
  frmNewSize size(ui);
  size.SetSize(6000, 4000);
  WidgetTexts(size, texts);
  fSauvJpg jpeg(nullptr, true);
  WidgetTexts(jpeg, texts);
  return texts;
}

// The few texts that read the same in both languages, and those that the French window already
// writes in English.
bool SameInBothLanguages(const QString& text) {
  static const QStringList kSame = {kAppTitle,
                                    QStringLiteral("OK"),
                                    QStringLiteral("Logo"),
                                    QStringLiteral("Sharpen"),
                                    QStringLiteral("Blur"),
                                    QStringLiteral("Soften"),
                                    QStringLiteral("Soften More"),
                                    QStringLiteral("Blur More"),
                                    QStringLiteral("Sharpen More"),
                                    QStringLiteral("Dimensions"),
                                    QStringLiteral("&Softening Filters"),
                                    QStringLiteral("S&harpening Filters")};
  // Numbers and signs alone ("»", "100") are not words of a language.
  return kSame.contains(text) || !text.contains(QRegularExpression(QStringLiteral("\\p{L}")));
}

// The texts of the same windows made in French and in English, side by side.
class EnglishWindow : public ::testing::Test {
 protected:
  void TearDown() override {
    // Every other test reads the French texts.
    EXPECT_TRUE(UseLanguage(QStringLiteral("fr")));
  }

  // `make` run once in French and once in English; each English text compared with the French
  // text in its place.
  void ExpectNoFrenchLeft(const std::function<Texts()>& make) {
    ASSERT_TRUE(UseLanguage(QStringLiteral("fr")));
    const Texts french = make();
    ASSERT_TRUE(UseLanguage(QStringLiteral("en")));
    const Texts english = make();
    ASSERT_EQ(english.size(), french.size());
    ASSERT_GT(french.size(), 10u);
    static const QRegularExpression kFrenchLetters(QStringLiteral("[àâçéèêëîïôûùœÀÉÈÊÇŒ]"));
    for (std::size_t i = 0; i < french.size(); ++i) {
      const auto& [place, frenchText] = french[i];
      const QString& englishText = english[i].second;
      ASSERT_EQ(english[i].first, place);
      if (englishText == frenchText) {
        EXPECT_TRUE(SameInBothLanguages(frenchText)) << place << ": still French: " << frenchText;
      }
      EXPECT_FALSE(englishText.contains(kFrenchLetters)) << place << ": " << englishText;
    }
  }

  QTemporaryDir folder;
  ScriptedUiServices ui;
};

TEST_F(EnglishWindow, MenusToolbarAndExplorerHoldNoFrench) {
  ExpectNoFrenchLeft([this] { return MainWindowTexts(ui, folder.path()); });
}

TEST_F(EnglishWindow, ResizeAndQualityDialogsHoldNoFrench) {
  ExpectNoFrenchLeft([this] { return DialogTexts(ui); });
}

// Each caption of the toolbar as the button draws it, one line or one word a line, inside its
// button.
TEST_F(EnglishWindow, ToolbarCaptionsFitTheirButtons) {
  for (const char* language : {"fr", "en"}) {
    SCOPED_TRACE(language);
    ASSERT_TRUE(UseLanguage(QString::fromLatin1(language)));
    mfrmMain window(ui, folder.path());
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    int captions = 0;
    for (const bouton* button : window.BarreOutils()->findChildren<bouton*>()) {
      const QFontMetrics metrics(button->font());
      const QString caption = button->Caption();
      const QStringList lines =
          caption.contains(u' ') && metrics.horizontalAdvance(caption) > button->width()
              ? caption.split(u' ')
              : QStringList{caption};
      for (const QString& line : lines) {
        EXPECT_LE(metrics.horizontalAdvance(line), button->width())
            << button->objectName() << ": " << line;
      }
      ++captions;
    }
    EXPECT_EQ(captions, 18);
  }
}

TEST(ChosenLanguage, FirstOfTheDesktopsLanguagesThatHasATranslation) {
  const auto chosen = [](std::initializer_list<const char*> languages) {
    QStringList list;
    for (const char* language : languages) list << QString::fromLatin1(language);
    return ChosenLanguage(list).toStdString();
  };
  EXPECT_EQ(chosen({"en-GB", "en", "fr-FR"}), "en");
  EXPECT_EQ(chosen({"en_US"}), "en");
  EXPECT_EQ(chosen({"fr-FR", "fr", "en-US"}), "fr");
  EXPECT_EQ(chosen({"fr-CA", "en-CA"}), "fr");
  // No German translation: the next language asked for.
  EXPECT_EQ(chosen({"de-DE", "de", "en-US"}), "en");
  EXPECT_EQ(chosen({"de-DE", "de"}), "fr");
  EXPECT_EQ(chosen({}), "fr");
  EXPECT_EQ(chosen({"", "C"}), "fr");
}

// A language without its file leaves the French texts in place.
TEST_F(EnglishWindow, UnknownLanguageKeepsFrench) {
  const char* const french = "&Fichier";
  ASSERT_TRUE(UseLanguage(QStringLiteral("en")));
  EXPECT_NE(QCoreApplication::translate("fotavel::mfrmMain", french), french);
  EXPECT_FALSE(UseLanguage(QStringLiteral("de")));
  EXPECT_EQ(QCoreApplication::translate("fotavel::mfrmMain", french), french);
  // Qt's own buttons stay French too, not German.
  EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), "Annuler");
}

}  // namespace
}  // namespace fotavel::testing
