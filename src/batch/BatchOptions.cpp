// The command line of fotavel-batch: options, effects and the output rules.
#include "batch/BatchOptions.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <algorithm>
#include <cstdint>
#include <limits>

#include "batch/FileIdentity.h"

namespace fotavel::batch {

bool FormatForFile(const QString& path, OutputFormat& format) {
  return io::FormatForName(path, format);
}

QString OutputPathFor(const QString& input, const QString& folder, OutputFormat format) {
  return QDir(folder).filePath(QFileInfo(input).completeBaseName() + QLatin1Char('.') +
                               io::ExtensionFor(format));
}

std::vector<QString> OutputTargets(const BatchOptions& options) {
  const bool severalInputs = options.inputs.size() > 1 || IsFolder(options.output);
  std::vector<QString> targets;
  targets.reserve(std::size_t(options.inputs.size()));
  for (const QString& input : options.inputs) {
    targets.push_back(severalInputs ? OutputPathFor(input, options.output, options.format)
                                    : options.output);
  }
  return targets;
}

namespace {

bool ReadEffect(const QString& text, EffectStep& step, QString& error) {
  const qsizetype equals = text.indexOf(QLatin1Char('='));
  const QStringView name = QStringView(text).left(equals < 0 ? text.size() : equals);
  step.text = text;
  step.command = FindCommand(name);
  if (step.command == nullptr) {
    error = QCoreApplication::translate("fotavel-batch", "effet inconnu : %1").arg(name.toString());
    return false;
  }
  QString detail;
  const QStringView argument = equals < 0 ? QStringView() : QStringView(text).mid(equals + 1);
  if (equals >= 0 && argument.isEmpty()) {
    error = QCoreApplication::translate("fotavel-batch", "valeur manquante après « %1= »")
                .arg(name.toString());
    return false;
  }
  if (!step.command->parse(argument, step.argument, detail)) {
    error = QCoreApplication::translate("fotavel-batch", "%1 : %2").arg(text, detail);
    return false;
  }
  return true;
}

// A second photo of a combination that a photo of the same run writes over
// would be combined as it was for the photos taken before that one and as it
// became for those after: the results would depend on the order photos are
// taken in, which several workers do not keep. Such a run is refused before
// anything is read. A single photo combined with its own result's old content
// is taken in one order only, and stays allowed.
bool SecondPhotosStay(const BatchOptions& options, QString& error) {
  if (options.inputs.size() < 2) return true;
  QHash<QString, QString> written;  // file → the first input whose result it is
  const std::vector<QString> targets = OutputTargets(options);
  for (std::size_t k = 0; k < targets.size(); ++k) {
    const QString key = FileKey(targets[k]);
    if (!written.contains(key)) written.insert(key, options.inputs[qsizetype(k)]);
  }
  for (const EffectStep& step : options.effects) {
    if (step.argument.file.isEmpty()) continue;
    const auto writer = written.constFind(FileKey(step.argument.file));
    if (writer == written.cend()) continue;
    error = QCoreApplication::translate(
                "fotavel-batch",
                "%1 : la seconde photo serait remplacée pendant la série par le "
                "résultat de %2")
                .arg(step.text, *writer);
    return false;
  }
  return true;
}

// -f's names: each format's usual extension.
bool FolderFormat(const QString& name, OutputFormat& format) {
  for (const OutputFormat f : {OutputFormat::Jpeg, OutputFormat::Bmp, OutputFormat::Png,
                               OutputFormat::Webp, OutputFormat::Avif, OutputFormat::Tiff}) {
    if (name == io::ExtensionFor(f)) {
      format = f;
      return true;
    }
  }
  return false;
}

// --poids-max's size: whole bytes, or thousands with K, millions with M.
bool ReadFileSize(const QString& text, std::uint64_t& bytes) {
  std::uint64_t unit = 1;
  QStringView digits(text);
  if (text.endsWith(QLatin1Char('K'), Qt::CaseInsensitive)) unit = 1000;
  if (text.endsWith(QLatin1Char('M'), Qt::CaseInsensitive)) unit = 1000000;
  if (unit != 1) digits.chop(1);
  // Only digits: toULongLong would take a sign or spaces around them.
  if (digits.isEmpty() ||
      !std::all_of(digits.begin(), digits.end(), [](QChar c) { return c >= u'0' && c <= u'9'; })) {
    return false;
  }
  bool ok = false;
  const std::uint64_t count = digits.toULongLong(&ok);
  if (!ok || count == 0 || count > std::numeric_limits<std::uint64_t>::max() / unit) return false;
  bytes = count * unit;
  return true;
}

// --sans-perte and --poids-max ask what the output format may not give: an
// AVIF always loses something, and only a file written at a quality can be
// made to fit a size (a lossless one is as large as it is).
bool FormatTakesSaveOptions(const BatchOptions& options, QString& error) {
  if (options.lossless && options.format == OutputFormat::Avif) {
    error = QCoreApplication::translate("fotavel-batch",
                                        "--sans-perte : le format AVIF ne s'écrit pas sans perte");
    return false;
  }
  const io::EncodeSettings settings{.format = options.format, .lossless = options.lossless};
  // A JPEG written without loss keeps the size of its blocks.
  if (options.maxBytes != 0 && (options.lossless || !io::HasQuality(settings))) {
    error = QCoreApplication::translate(
        "fotavel-batch",
        "--poids-max : seuls les JPEG, WebP et AVIF écrits avec une qualité, sans --sans-perte, "
        "peuvent être ajustés à une taille");
    return false;
  }
  return true;
}

}  // namespace

bool ParseArguments(const QStringList& arguments, BatchOptions& options, QString& error) {
  for (qsizetype i = 0; i < arguments.size(); ++i) {
    const QString& a = arguments[i];
    const auto value = [&](QString& out) {
      if (i + 1 >= arguments.size()) {
        error = QCoreApplication::translate("fotavel-batch", "%1 demande une valeur").arg(a);
        return false;
      }
      out = arguments[++i];
      return true;
    };
    QString v;
    if (a == QStringLiteral("-h") || a == QStringLiteral("--help")) {
      options.help = true;
      return true;
    } else if (a == QStringLiteral("-e")) {
      EffectStep step;
      if (!value(v) || !ReadEffect(v, step, error)) return false;
      options.effects.push_back(std::move(step));
    } else if (a == QStringLiteral("-q")) {
      bool ok = false;
      if (!value(v)) return false;
      options.quality = v.toInt(&ok);
      if (!ok || options.quality < 45 || options.quality > 100) {
        error = QCoreApplication::translate("fotavel-batch", "la qualité va de 45 à 100");
        return false;
      }
    } else if (a == QStringLiteral("-f")) {
      if (!value(v)) return false;
      options.formatGiven = true;
      if (!FolderFormat(v, options.format)) {
        error =
            QCoreApplication::translate(
                "fotavel-batch", "format de sortie inconnu : %1 (jpg, bmp, png, webp, avif ou tif)")
                .arg(v);
        return false;
      }
    } else if (a == QStringLiteral("-j")) {
      bool ok = false;
      if (!value(v)) return false;
      options.jobs = v.toInt(&ok);
      if (!ok || options.jobs < 1) {
        error = QCoreApplication::translate(
                    "fotavel-batch",
                    "-j : le nombre de photos traitées à la fois est un entier de 1 ou "
                    "plus (« %1 »)")
                    .arg(v);
        return false;
      }
    } else if (a == QStringLiteral("--threads")) {
      bool ok = false;
      if (!value(v)) return false;
      options.threads = v.toInt(&ok);
      if (!ok || options.threads < 1) {
        error = QCoreApplication::translate(
                    "fotavel-batch",
                    "--threads : le nombre de fils de calcul est un entier de 1 ou plus (« %1 »)")
                    .arg(v);
        return false;
      }
    } else if (a == QStringLiteral("--param")) {
      if (!value(options.paramFolder)) return false;
    } else if (a == QStringLiteral("--temps")) {
      options.timings = true;
    } else if (a == QStringLiteral("--sans-meta")) {
      options.metadata = false;
    } else if (a == QStringLiteral("--sans-perte")) {
      options.lossless = true;
    } else if (a == QStringLiteral("--poids-max")) {
      if (!value(v)) return false;
      if (!ReadFileSize(v, options.maxBytes)) {
        error = QCoreApplication::translate(
                    "fotavel-batch",
                    "--poids-max : la taille est un nombre d'octets de 1 ou plus, suivi ou non "
                    "de K (milliers) ou M (millions) (« %1 »)")
                    .arg(v);
        return false;
      }
    } else if (a == QStringLiteral("-o")) {
      if (!value(options.output)) return false;
    } else if (a.startsWith(QLatin1Char('-')) && a.size() > 1) {
      error = QCoreApplication::translate("fotavel-batch", "option inconnue : %1").arg(a);
      return false;
    } else {
      options.inputs.push_back(a);
    }
  }
  if (options.inputs.isEmpty()) {
    error = QCoreApplication::translate("fotavel-batch", "aucune photo à traiter");
    return false;
  }
  if (options.output.isEmpty()) {
    error = QCoreApplication::translate("fotavel-batch", "la sortie manque (-o SORTIE)");
    return false;
  }
  if (options.inputs.size() == 1 && !IsFolder(options.output)) {
    if (!FormatForFile(options.output, options.format)) {
      error = QCoreApplication::translate("fotavel-batch",
                                          "format de sortie inconnu : %1 (.jpg, .jpeg, .bmp, "
                                          ".png, .webp, .avif, .tif ou .tiff)")
                  .arg(options.output);
      return false;
    }
  } else if (!IsFolder(options.output)) {
    error =
        QCoreApplication::translate(
            "fotavel-batch", "avec plusieurs photos, la sortie doit être un dossier existant : %1")
            .arg(options.output);
    return false;
  }
  return FormatTakesSaveOptions(options, error) && SecondPhotosStay(options, error);
}

QString UsageText() {
  QString text = QCoreApplication::translate(
      "fotavel-batch",
      "Usage : fotavel-batch [-e EFFET]... [-q QUALITE] [-f FORMAT] [--sans-perte] "
      "[--poids-max TAILLE] [-j N] [--threads N] [--param DOSSIER] [--temps] [--sans-meta] "
      "ENTREE... -o SORTIE\n"
      "\n"
      "Ouvre chaque photo ENTREE, lui applique les effets dans l'ordre donné et enregistre le "
      "résultat.\n"
      "Une seule ENTREE : SORTIE est un fichier dont l'extension (.jpg, .jpeg, .bmp, .png, .webp, "
      ".avif, .tif ou .tiff) choisit le format.\n"
      "Plusieurs ENTREE : SORTIE est un dossier existant ; chaque résultat y prend le nom de la "
      "photo, en .jpg (ou dans le format donné par -f).\n"
      "\n"
      "  -e EFFET        effet à appliquer (plusieurs -e possibles)\n"
      "  -q QUALITE      qualité des JPEG, WebP et AVIF, de 45 à 100 (70)\n"
      "  -f FORMAT       format des résultats dans un dossier : jpg, bmp, png, webp, avif\n"
      "                  ou tif (jpg)\n"
      "  --sans-perte    résultats écrits sans perte ou refusés : un JPEG en déplaçant les\n"
      "                  blocs du JPEG d'origine (la photo ne peut être que tournée, gauche,\n"
      "                  droite, et ses côtés doivent tomber sur des blocs entiers), un WebP\n"
      "                  sans perte ; refusé pour l'AVIF ; PNG, TIFF et BMP ne perdent rien\n"
      "  --poids-max TAILLE\n"
      "                  taille maximale de chaque JPEG, WebP ou AVIF, en octets ou suivie\n"
      "                  de K (milliers) ou M (millions) : la meilleure qualité jusqu'à -q\n"
      "                  qui tient, la photo réduite de moitié si aucune ne suffit\n"
      "  -j N            nombre de photos traitées à la fois (autant que de cœurs)\n"
      "  --threads N     nombre de fils de calcul de chaque photo (par défaut, les cœurs\n"
      "                  que -j laisse à chacune)\n"
      "  --param DOSSIER dossier du logo et de fotavel.ini\n"
      "  --temps         durée de chaque effet sur la sortie d'erreur\n"
      "  --sans-meta     résultats écrits sans les métadonnées de la photo d'origine (EXIF,\n"
      "                  IPTC, XMP, profil de couleurs), recopiées par défaut\n"
      "  -h, --help      cette aide\n"
      "\n"
      "Effets :\n");
  // A help of several lines goes on under its first one, in the same column.
  const QString nextLine = QStringLiteral("\n") + QString(40, QLatin1Char(' '));
  for (const CommandInfo& c : Commands()) {
    text += QStringLiteral("  %1%2\n")
                .arg(QCoreApplication::translate("Commands", c.usage), -38)
                .arg(QCoreApplication::translate("Commands", c.help)
                         .replace(QLatin1Char('\n'), nextLine));
  }
  return text;
}

}  // namespace fotavel::batch
