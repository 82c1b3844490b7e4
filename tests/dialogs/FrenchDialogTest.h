// The dialogs' test bench: the French decimal notation in force, scripted message boxes.
#pragma once

#include <gtest/gtest.h>

#include <QLocale>

#include "dialogs/ScriptedUiServices.h"

namespace fotavel::testing {

// Numbers are typed as a French user types them ("2,5"); every message box
// must have been foreseen by the test.
class FrenchDialogTest : public ::testing::Test {
 protected:
  void SetUp() override { QLocale::setDefault(QLocale(QLocale::French, QLocale::France)); }
  void TearDown() override {
    QLocale::setDefault(m_savedLocale);
    EXPECT_TRUE(ui.Unexpected().isEmpty());
    EXPECT_TRUE(ui.AllUsed());
  }

  QLocale m_savedLocale;
  ScriptedUiServices ui;
};

}  // namespace fotavel::testing
