// The window's test bench: a main window over scripted dialogs and photos written to a temporary
// folder.
#pragma once

#include <gtest/gtest.h>

#include <QImage>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QString>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <ostream>

#include "controls/bouton.h"
#include "dialogs/ScriptedUiServices.h"
#include "io/PictureFiles.h"
#include "shell/frmImage.h"
#include "shell/mfrmMain.h"
#include "surface/cDIBSection.h"

inline void PrintTo(const QString& text, std::ostream* os) {
  *os << '"' << text.toStdString() << '"';
}

namespace fotavel::testing {

// A photo whose every pixel differs from its neighbours: turns, filters and undos all show.
inline cDIBSection Pattern(int width, int height) {
  cDIBSection photo;
  EXPECT_TRUE(photo.Create(width, height));
  for (int y = 0; y < height; ++y) {
    std::uint8_t* row = photo.row(y);
    for (int x = 0; x < width; ++x) {
      row[3 * x] = static_cast<std::uint8_t>(x * 7 + y);
      row[3 * x + 1] = static_cast<std::uint8_t>(y * 5 + 40);
      row[3 * x + 2] = static_cast<std::uint8_t>(200 - x - y * 3);
    }
  }
  return photo;
}

// The photo as the window shows it at 100 %: upright, 32-bit pixels.
inline QImage Upright(const cDIBSection& photo) {
  return io::ImageFromSurface(photo).convertToFormat(QImage::Format_RGB32);
}

class ShellTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder.isValid());
    window = std::make_unique<mfrmMain>(ui, folder.path());
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
  }

  void TearDown() override {
    // Unsaved photos go without a question.
    for (QMdiSubWindow* sub : window->Workspace()->subWindowList()) {
      if (auto* document = qobject_cast<frmImage*>(sub->widget())) document->Document().Propre();
    }
    window->close();
    window.reset();
    EXPECT_TRUE(ui.Unexpected().isEmpty())
        << ui.Unexpected().join(QStringLiteral(" | ")).toStdString();
    EXPECT_TRUE(ui.AllUsed());
  }

  QString WritePhoto(const QString& name, int width, int height) {
    const QString path = folder.filePath(name);
    QString error;
    EXPECT_TRUE(io::WriteBmp(Pattern(width, height), path, error)) << error.toStdString();
    return path;
  }

  frmImage* Open(const QString& name, int width = 101, int height = 61) {
    frmImage* document = window->OpenPhoto(WritePhoto(name, width, height));
    QCoreApplication::processEvents();
    return document;
  }

  void Click(const char* buttonName) {
    bouton* button = window->Button(buttonName);
    ASSERT_NE(button, nullptr) << buttonName;
    QTest::mouseClick(button, Qt::LeftButton);
  }

  void Trigger(const char* actionName) {
    auto* action = window->findChild<QAction*>(QString::fromUtf8(actionName));
    ASSERT_NE(action, nullptr) << actionName;
    action->trigger();
  }

  QString Caption(frmImage* document) const { return document->parentWidget()->windowTitle(); }
  QString Status() const { return window->lblStatus()->text(); }
  int MessageCount() const { return static_cast<int>(ui.Messages().size()); }

  QTemporaryDir folder;
  ScriptedUiServices ui;
  std::unique_ptr<mfrmMain> window;
};

}  // namespace fotavel::testing
