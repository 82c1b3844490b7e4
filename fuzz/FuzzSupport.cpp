// What the fuzz targets share: a Qt application, a private temporary folder, input files.
#include "FuzzSupport.h"

#include <QGuiApplication>
#include <QMessageLogger>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>

namespace fotavel::fuzz {

QString Start() {
  // No display is needed, and a fuzzing machine has none.
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  // Qt's readers warn about every damaged file, and the fuzzer makes
  // thousands a second; its own report of a fault is what matters.
  qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
  static int argc = 1;
  static char name[] = "fotavel-fuzz";
  static char* argv[] = {name, nullptr};
  static QGuiApplication application(argc, argv);
  static QTemporaryDir folder;
  if (!folder.isValid()) {
    std::fprintf(stderr, "fuzz: no temporary folder\n");
    std::abort();
  }
  return folder.path();
}

void WriteFile(const QByteArray& path, const std::uint8_t* data, std::size_t size) {
  std::FILE* file = std::fopen(path.constData(), "wb");
  if (file == nullptr || std::fwrite(data, 1, size, file) != size || std::fclose(file) != 0) {
    std::perror(path.constData());
    std::abort();
  }
}

}  // namespace fotavel::fuzz
