// Fuzz target: any bytes as the settings file fotavel.ini, read key by key, as the logo's
// placement, and that placement drawn.
#include <QFile>
#include <QImage>
#include <cstdint>
#include <cstdlib>
#include <stdexcept>
#include <utility>

#include "FuzzSupport.h"
#include "document/AppServices.h"
#include "document/ModImage.h"
#include "io/FileError.h"

namespace {

fotavel::AppServices* g_services = nullptr;
QByteArray g_settingsPath;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  const QString folder = fotavel::fuzz::Start();
  g_services = new fotavel::AppServices(folder);
  g_services->SetParamFolder(folder);
  g_settingsPath = QFile::encodeName(folder + QStringLiteral("/fotavel.ini"));
  // A small logo beside the settings, so that whatever placement they give is drawn.
  QImage logo(5, 3, QImage::Format_ARGB32);
  logo.fill(qRgba(200, 40, 90, 128));
  logo.setPixel(0, 0, qRgba(100, 100, 100, 255));
  if (!logo.save(folder + QStringLiteral("/logo.png"))) std::abort();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fotavel::fuzz::WriteFile(g_settingsPath, data, size);
  for (const char* key : {"Ext", "Tll", "Trs", "Agl", "DstX", "DstY", ""}) {
    g_services->LireParamIni(QLatin1String(key));
  }
  fotavel::LogoSettings settings;
  try {
    settings = fotavel::ModImage::LireReglagesLogo(*g_services);
  } catch (const std::runtime_error&) {
    return 0;  // a value that is no number: the logo command stops there
  }
  // Wide and tall photos take the logo's size from different sides.
  for (const auto& [width, height] : {std::pair{7, 4}, std::pair{3, 9}}) {
    fotavel::cDIBSection photo;
    if (!photo.Create(width, height)) std::abort();
    try {
      fotavel::ModImage::DessineLogo(g_services->ParamFolder() + QStringLiteral("/logo.png"), photo,
                                     settings);
    } catch (const fotavel::io::FileError&) {
      // A placement that cannot be drawn: the logo command says so and stops.
    }
  }
  return 0;
}
