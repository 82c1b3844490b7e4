// fuzz_seeds FOLDER: writes small valid inputs for each fuzz target into FOLDER/<target>, made by
// our own writers, Qt and the test builders.
#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QImageWriter>
#include <cstdio>
#include <exiv2/exiv2.hpp>

#include "document/AppServices.h"
#include "document/Commands.h"
#include "io/GifFiles.h"
#include "io/HeifFiles.h"
#include "io/JpegFiles.h"
#include "io/MetadataFiles.h"
#include "io/PictureFiles.h"
#include "io/TestFiles.h"

using namespace fotavel;
using namespace fotavel::testing;

namespace {

int g_failures = 0;

void Check(bool done, const QString& what) {
  if (done) return;
  std::fprintf(stderr, "fuzz_seeds: %s not written\n", qPrintable(what));
  ++g_failures;
}

// Runs `write`; a file it could not write is counted as the others.
template <class Write>
void CheckWritten(Write&& write) {
  try {
    write();
  } catch (const io::FileError& failure) {
    Check(false, failure.path() + QStringLiteral(" (") + failure.text() + QLatin1Char(')'));
  }
}

void PictureSeeds(const QDir& dir) {
  const cDIBSection smooth = SmoothSurface(13, 7);
  CheckWritten([&] { io::WriteBmp(smooth, dir.filePath("bmp24.bmp")); });
  CheckWritten([&] { io::WriteJpeg(smooth, dir.filePath("jpeg420.jpg"), 90); });
  const QByteArray jpeg = ReadBytes(dir.filePath("jpeg420.jpg"));
  for (const std::uint16_t orientation : {3, 6, 8}) {
    WriteBytes(dir.filePath(QStringLiteral("jpeg-exif%1.jpg").arg(orientation)),
               WithExifOrientation(jpeg, orientation));
  }

  // EXIF with a thumbnail, IPTC, XMP and a colour profile, as a camera and a
  // cataloguing program leave them.
  WriteCameraPhoto(dir.filePath("jpeg-metadata.jpg"), smooth, 6, IccProfile("RGB ", 600));

  // Scans beyond the encoder's script, as a file that costs its decoder much
  // more than its bytes; CMYK, baseline and progressive; a progressive file
  // closed by an end marker after its fourth scan.
  const QByteArray progressiveJpeg = EncodeJpeg(smooth, true);
  WriteBytes(dir.filePath("jpeg-many-scans.jpg"), WithEmptyScans(progressiveJpeg, 30));
  WriteBytes(dir.filePath("jpeg-cut-scans.jpg"), KeepScans(progressiveJpeg, 4));
  WriteBytes(dir.filePath("jpeg-cmyk.jpg"), EncodeCmykJpeg(13, 7, 1));
  WriteBytes(dir.filePath("jpeg-cmyk-progressive.jpg"), EncodeCmykJpeg(13, 7, 2, true));

  const QImage image = io::ImageFromSurface(smooth);
  QImageWriter progressive(dir.filePath("jpeg-progressive.jpg"), "jpeg");
  progressive.setProgressiveScanWrite(true);
  Check(progressive.write(image), "progressive JPEG");
  Check(image.convertToFormat(QImage::Format_Grayscale8).save(dir.filePath("jpeg-grey.jpg")),
        "grey JPEG");
  Check(image.convertToFormat(QImage::Format_Indexed8).save(dir.filePath("bmp8.bmp")), "BMP 8");
  Check(image.save(dir.filePath("png-rgb.png")), "PNG");
  QImage alpha = image.convertToFormat(QImage::Format_ARGB32);
  alpha.setPixel(0, 0, qRgba(1, 2, 3, 40));
  Check(alpha.save(dir.filePath("png-alpha.png")), "PNG with alpha");
  Check(image.convertToFormat(QImage::Format_Indexed8).save(dir.filePath("png-indexed.png")),
        "indexed PNG");
  Check(image.convertToFormat(QImage::Format_Grayscale16).save(dir.filePath("png-grey16.png")),
        "16-bit PNG");

  // WebP: lossless with alpha, lossy, and one whose EXIF turns it (added by exiv2).
  QImageWriter lossless(dir.filePath("webp-lossless.webp"), "webp");
  lossless.setQuality(100);
  Check(lossless.write(alpha), "lossless WebP");
  Check(image.save(dir.filePath("webp-lossy.webp"), "webp", 60), "lossy WebP");
  Check(image.save(dir.filePath("webp-exif6.webp"), "webp", 100), "WebP for EXIF");
  try {
    auto tagged = Exiv2::ImageFactory::open(dir.filePath("webp-exif6.webp").toStdString());
    tagged->readMetadata();
    tagged->exifData()["Exif.Image.Orientation"] = std::uint16_t{6};
    tagged->writeMetadata();
  } catch (const Exiv2::AnyError& e) {
    Check(false, QStringLiteral("WebP EXIF: ") + e.what());
  }
  // TIFF: Qt's writer (plain, LZW, alpha), and built by hand: two pages, an
  // orientation, 16-bit grey, CMYK.
  Check(image.save(dir.filePath("tiff-rgb.tif"), "tiff"), "TIFF");
  QImageWriter lzw(dir.filePath("tiff-lzw.tif"), "tiff");
  lzw.setCompression(1);
  Check(lzw.write(alpha), "LZW TIFF with alpha");
  const QByteArray rgb = QByteArray::fromHex("ff0000 00ff00 0000ff 102030 405060 708090");
  WriteBytes(dir.filePath("tiff-pages.tif"),
             MakeTiff({{3, 2, 3, 8, 2, 0, 0, rgb}, {2, 3, 3, 8, 2, 0, 0, rgb}}));
  WriteBytes(dir.filePath("tiff-orient7.tif"), MakeTiff({{2, 3, 3, 8, 2, 7, 0, rgb}}));
  WriteBytes(dir.filePath("tiff-grey16.tif"),
             MakeTiff({{3, 1, 1, 16, 1, 0, 0, QByteArray::fromHex("80008100ff7f")}}));
  WriteBytes(dir.filePath("tiff-cmyk.tif"),
             MakeTiff({{2, 1, 4, 8, 5, 0, 0, QByteArray::fromHex("00000000 4080c020")}}));

  const std::uint32_t colours[4] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};
  WriteBytes(dir.filePath("gif.gif"), MakeGif(3, 2, colours, 3, {0, 1, 2, 3, 0, 1}));
  // Real LZW codes, whose width grows past the first table: whole, and ending
  // a few pixels early.
  std::vector<std::uint8_t> indices(41 * 29 * 4);
  for (std::size_t i = 0; i < indices.size(); ++i) indices[i] = std::uint8_t((i * i / 7) & 3);
  WriteBytes(dir.filePath("gif-lzw.gif"), CompressedGif(82, 58, GifCodes(indices, indices.size())));
  WriteBytes(dir.filePath("gif-lzw-short.gif"),
             CompressedGif(82, 58, GifCodes(indices, indices.size() - 5)));
  // Small frames: libwmf draws the metafile at its natural size.
  WmfRectangle wmf{
      .frameRight = 200, .frameBottom = 100, .left = 50, .top = 25, .right = 150, .bottom = 75};
  WriteBytes(dir.filePath("wmf-placeable.wmf"), MakeWmf(wmf));
  wmf.text = "Fotavel";
  WriteBytes(dir.filePath("wmf-text.wmf"), MakeWmf(wmf));
  wmf.placeable = false;
  WriteBytes(dir.filePath("wmf-plain.wmf"), MakeWmf(wmf));

  // HEIC and AVIF: small, turned, with alpha, deep, grey, with metadata.
  const auto heif = [&dir](const char* name, const HeifPicture& picture) {
    const QByteArray file = MakeHeif(picture);
    Check(!file.isEmpty(), QString::fromLatin1(name));
    WriteBytes(dir.filePath(QString::fromLatin1(name)), file);
  };
  heif("heic.heic", {.width = 13, .height = 7});
  heif("heic-turned-alpha.heic", {.width = 13, .height = 7, .alpha = true, .orientation = 7});
  heif("heic-10bit.heic", {.width = 13, .height = 7, .bits = 10});
  heif("heic-grey.heic", {.width = 13, .height = 7, .grey = true});
  heif("avif.avif", {.avif = true, .width = 13, .height = 7, .orientation = 2});
  heif("avif-12bit-alpha.avif",
       {.avif = true, .width = 13, .height = 7, .bits = 12, .alpha = true});
  heif("avif-metadata.avif",
       {.avif = true,
        .width = 13,
        .height = 7,
        .exif = QByteArray("II*\0\x08\0\0\0\x01\0\x12\x01\x03\0\x01\0\0\0\x06\0\0\0\0\0\0\0", 26),
        .icc = IccProfile("RGB ", 600)});
}

void SettingsSeeds(const QDir& dir) {
  const QList<QList<std::pair<QString, QString>>> files = {
      {{"Ext", "png"}, {"Tll", "10"}, {"Trs", "25"}, {"Agl", "0"}, {"DstX", "50"}, {"DstY", "80"}},
      {{"Ext", "gif"},
       {"Tll", "35"},
       {"Trs", "0"},
       {"Agl", "-33.5"},
       {"DstX", "90"},
       {"DstY", "10"}},
  };
  for (qsizetype i = 0; i < files.size(); ++i) {
    const QString folder = dir.filePath(QString::number(i));
    QDir().mkpath(folder);
    AppServices services(folder);
    services.SetParamFolder(folder);
    CheckWritten([&] { services.EcrireParamIni(files[i]); });
    Check(QFile::rename(folder + "/fotavel.ini", dir.filePath(QStringLiteral("ini%1").arg(i))),
          "settings");
    QDir(folder).removeRecursively();
  }
}

// Arguments as the target reads them: one after another, each ended by a NUL.
QByteArray Arguments(std::initializer_list<const char*> arguments) {
  QByteArray joined;
  for (const char* argument : arguments) joined.append(argument).append('\0');
  return joined;
}

void BatchArgsSeeds(const QDir& dir) {
  QList<QByteArray> lines = {
      Arguments({"--help"}),
      Arguments({"-q", "85", "-f", "bmp", "-e", "web", "a.jpg", "b.gif", "-o", "/"}),
      Arguments({"--param", "param", "--temps", "photo.bmp", "-o", "photo.JPEG"}),
      Arguments({"-j", "3", "-e", "diffusion", "a.jpg", "b.jpg", "-o", "/tmp"}),
  };
  for (const char* effect : {"filtre=3", "noyau=3:9:1,1,1,1,1,1,1,1,1", "clair=30",
                             "taille=640x480", "masquer=1,2,30,40", "combiner=autre.jpg",
                             "recadrer=10,20,110,70", "recadrer=3:2", "redresser=-2.5:blanc"}) {
    lines.push_back(Arguments({"-e", effect, "-e", "ciel", "vacances.jpg", "-o", "retouche.jpg"}));
  }
  for (const CommandInfo& command : Commands()) {
    lines.push_back(Arguments({"-e", command.name, "in.jpg", "-o", "out.bmp"}));
  }
  for (qsizetype i = 0; i < lines.size(); ++i) {
    WriteBytes(dir.filePath(QStringLiteral("args%1").arg(i)), lines[i]);
  }
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication application(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: fuzz_seeds FOLDER\n");
    return 2;
  }
  const QDir root(QString::fromLocal8Bit(argv[1]));
  for (const char* target : {"picture", "settings", "batch_args"}) root.mkpath(target);
  PictureSeeds(QDir(root.filePath("picture")));
  SettingsSeeds(QDir(root.filePath("settings")));
  BatchArgsSeeds(QDir(root.filePath("batch_args")));
  return g_failures == 0 ? 0 : 1;
}
