// A document over generated photos, with an observer that records what a window would show.
#pragma once

#include <gtest/gtest.h>

#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <vector>

#include "document/AppServices.h"
#include "document/PhotoDocument.h"
#include "io/PictureFiles.h"
#include "io/TestFiles.h"
#include "support/Surfaces.h"

namespace fotavel::testing {

// Writes `bytes` to `path`, replacing what was there.
inline void WriteFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
  ASSERT_EQ(file.write(bytes), bytes.size());
}

class RecordingObserver : public DocumentObserver {
 public:
  QString size;
  std::vector<bool> undo;
  std::vector<bool> redo;
  int warnings = 0;

  void SetStatus(const QString&, const QString&, const QString& s) override {
    if (s != QStringLiteral("#")) size = s;  // "#" leaves it as it is
  }
  void UndoAvailable(bool available) override { undo.push_back(available); }
  void RedoAvailable(bool available) override { redo.push_back(available); }
  void MemoryWarning(const QString&) override { ++warnings; }
};

class DocumentTest : public ::testing::Test {
 protected:
  DocumentTest() : services(folder.path()), document(services, &observer) {
    services.SetParamFolder(folder.path());
    document.SetAvailableMemoryProbe([] { return std::uint64_t(1) << 40; });
  }
  // Writes `picture` as a BMP in the test folder and returns its path.
  QString WritePhoto(const cDIBSection& picture,
                     const QString& name = QStringLiteral("photo.bmp")) {
    const QString path = folder.filePath(name);
    EXPECT_NO_THROW(io::WriteBmp(picture, path));
    return path;
  }
  // Opens `picture`, written first as a BMP; returns its path.
  QString OpenPicture(const cDIBSection& picture) {
    const QString path = WritePhoto(picture);
    EXPECT_NO_THROW(document.OpenFile(path, false));
    return path;
  }
  // Opens a random photo of that size; returns its path.
  QString OpenRandom(std::int32_t width, std::int32_t height, std::uint32_t seed = 7) {
    return OpenPicture(RandomSurface(width, height, seed));
  }

  QTemporaryDir folder;
  AppServices services;
  RecordingObserver observer;
  PhotoDocument document;
};

}  // namespace fotavel::testing
