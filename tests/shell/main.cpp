// Runs the window's tests inside a QApplication, offscreen by default.
#include <gtest/gtest.h>

#include <QApplication>

#include "document/Translations.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  // The tests read the French texts, whatever the language of the machine;
  // FOTAVEL_TEST_LANGUAGE runs chosen ones in another language.
  if (!fotavel::UseLanguage(qEnvironmentVariable("FOTAVEL_TEST_LANGUAGE", QStringLiteral("fr")))) {
    return 2;
  }
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
