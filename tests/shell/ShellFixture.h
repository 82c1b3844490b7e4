// The window's test bench: a main window over scripted dialogs and photos written to a temporary
// folder.
#pragma once

#include <gtest/gtest.h>

#include <QFile>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>
#include <memory>
#include <optional>

#include "controls/SystemColours.h"
#include "controls/bouton.h"
#include "dialogs/ScriptedUiServices.h"
#include "io/PictureFiles.h"
#include "shell/frmImage.h"
#include "shell/mfrmMain.h"
#include "surface/cDIBSection.h"

inline void PrintTo(const QString& text, std::ostream* os) {
  *os << '"' << text.toStdString() << '"';
}
// So that failure messages can name a text as it is.
inline std::ostream& operator<<(std::ostream& os, const QString& text) {
  return os << text.toStdString();
}

namespace fotavel::testing {

// The named widget, action or object below `parent`; the test fails when there is none.
template <class T>
T* Child(const QObject* parent, const char* name) {
  T* child = parent->findChild<T*>(QString::fromUtf8(name));
  EXPECT_NE(child, nullptr) << name;
  return child;
}

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

// The room the main window offers a photo, in pixels, worked out plainly.
inline QSize Room(const mfrmMain& window) {
  const double tx = TwipsPerPixelX(window);
  const double ty = TwipsPerPixelY(window);
  const double w = window.frameGeometry().width() * tx;
  const double h = window.frameGeometry().height() * ty;
  const double vertical = window.BarreOutilsVrt()->width() * tx;
  const double bars = (window.BarreOutils()->height() + window.picStatus()->height()) * ty;
  return {static_cast<int>(std::nearbyint((w - vertical - 800) / tx)),
          static_cast<int>(std::nearbyint((h - bars - 1500) / ty))};
}

// The zoom at which a photo opens in that room: never enlarged, else the smaller of the two
// ratios, to the nearest whole percent (halves to even).
inline int FittingZoom(QSize room, QSize photo) {
  const double zx = room.width() * 100.0 / photo.width();
  const double zy = room.height() * 100.0 / photo.height();
  if (room.width() >= photo.width() && room.height() >= photo.height()) return 100;
  if (room.height() >= photo.height()) return static_cast<int>(std::nearbyint(zx));
  if (room.width() >= photo.width()) return static_cast<int>(std::nearbyint(zy));
  return static_cast<int>(std::nearbyint(std::min(zx, zy)));
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
    return WritePhoto(name, Pattern(width, height));
  }
  QString WritePhoto(const QString& name, const cDIBSection& photo) {
    const QString path = folder.filePath(name);
    EXPECT_NO_THROW(io::WriteBmp(photo, path));
    return path;
  }
  // An empty file, or one holding `bytes`.
  static void Touch(const QString& path, const QByteArray& bytes = {}) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path;
    ASSERT_EQ(file.write(bytes), bytes.size()) << path;
  }

  frmImage* Open(const QString& name, int width = 101, int height = 61) {
    return OpenPath(WritePhoto(name, width, height));
  }
  // The road of the explorer, the command line and a drop: the pane steps aside.
  frmImage* OpenPath(const QString& path) {
    frmImage* before = window->ActiveDocument();
    window->OuvrirPhotos({path});
    QCoreApplication::processEvents();
    frmImage* document = window->ActiveDocument();
    return document == before ? nullptr : document;
  }
  // Closes the document's frame as its close box would.
  void Close(frmImage* document) {
    document->parentWidget()->close();
    QCoreApplication::processEvents();
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

  // The whole photo is on screen: shown at its zoom with neither scroll bar, inside its viewport,
  // in the active window, which lies wholly inside the workspace.
  void ExpectWholePhotoShown(frmImage* document) const {
    ASSERT_NE(document, nullptr);
    const PhotoDocument& photo = document->Document();
    const auto at = [&](int side) {
      return static_cast<int>(std::nearbyint(side * document->Zoom() / 100));
    };
    EXPECT_EQ(document->Image1()->size(), QSize(at(photo.ImageWidth()), at(photo.ImageHeight())));
    EXPECT_TRUE(document->hscScroll()->isHidden());
    EXPECT_TRUE(document->vscScroll()->isHidden());
    EXPECT_TRUE(document->picScrollBox()->rect().contains(document->Image1()->geometry()))
        << document->picScrollBox()->width() << " x " << document->picScrollBox()->height();
    const QWidget* frame = document->parentWidget();
    EXPECT_TRUE(frame->isVisible() && !frame->isMinimized());
    EXPECT_TRUE(window->Workspace()->viewport()->rect().contains(frame->geometry()))
        << frame->x() << "," << frame->y() << " " << frame->width() << " x " << frame->height();
    EXPECT_EQ(window->ActiveDocument(), document);
  }

  QString Caption(frmImage* document) const { return document->parentWidget()->windowTitle(); }
  QString Status() const { return window->lblStatus()->text(); }
  int MessageCount() const { return static_cast<int>(ui.Messages().size()); }
  int Windows() const { return static_cast<int>(window->Workspace()->subWindowList().size()); }
  // Message `index` said `text`, with `icon` when one is given.
  void ExpectMessage(std::size_t index, const QString& text,
                     std::optional<MessageIcon> icon = {}) const {
    ASSERT_LT(index, ui.Messages().size()) << text.toStdString();
    EXPECT_EQ(ui.Messages()[index].text, text);
    if (icon) {
      EXPECT_EQ(ui.Messages()[index].icon, *icon) << text.toStdString();
    }
  }

  QTemporaryDir folder;
  ScriptedUiServices ui;
  std::unique_ptr<mfrmMain> window;
};

}  // namespace fotavel::testing
