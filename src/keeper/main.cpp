// fotavel-presse-papiers: keeps a picture on the X11 clipboard after the program that put it there
// has ended.
//
// On X11 the clipboard's content lives in the program that owns it and dies
// with it, unless a clipboard manager takes a copy. A photo handed back to
// the poster editor must survive Fotavel's exit: Fotavel starts this small
// program with a bitmap file, which it reads, removes, and serves as the
// clipboard's picture until another program takes the clipboard, the way
// command-line clipboard tools do.
//
//   fotavel-presse-papiers FICHIER
#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <cstdio>

int main(int argc, char* argv[]) {
  QGuiApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage : fotavel-presse-papiers FICHIER\n");
    return 2;
  }
  const QString path = QString::fromLocal8Bit(argv[1]);
  const QImage picture(path);
  QFile::remove(path);
  if (picture.isNull()) {
    std::fprintf(stderr, "fotavel-presse-papiers : image illisible : %s\n", argv[1]);
    return 1;
  }
  QClipboard* clipboard = QGuiApplication::clipboard();
  auto* data = new QMimeData;
  data->setImageData(picture);
  clipboard->setMimeData(data);
  // Our work ends when someone else puts something on the clipboard.
  QObject::connect(clipboard, &QClipboard::changed, &app, [clipboard](QClipboard::Mode mode) {
    if (mode == QClipboard::Clipboard && !clipboard->ownsClipboard()) QCoreApplication::quit();
  });
  return QGuiApplication::exec();
}
