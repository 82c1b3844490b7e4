// The table of effect commands shared by the batch tool and the window's buttons and menus.
#include "document/Commands.h"

#include <QCoreApplication>
#include <QList>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <stdexcept>
#include <string>

#include "document/DocumentError.h"
#include "document/Messages.h"
#include "document/PhotoDocument.h"
#include "effects/CropGeometry.h"
#include "io/PictureFiles.h"

namespace fotavel {
namespace {

bool ReadInt(QStringView text, std::int32_t& value) {
  bool ok = false;
  const int parsed = text.trimmed().toInt(&ok);
  if (ok) value = parsed;
  return ok;
}

// Reads `count` integers separated by `separator`.
bool ReadInts(QStringView text, QChar separator, qsizetype count, CommandArgument& out) {
  const QList<QStringView> fields = text.split(separator);
  if (count >= 0 && fields.size() != count) return false;
  for (QStringView field : fields) {
    std::int32_t value = 0;
    if (!ReadInt(field, value)) return false;
    out.numbers.push_back(value);
  }
  return true;
}

bool NoArgument(QStringView text, CommandArgument&, QString& error) {
  if (text.isEmpty()) return true;
  error = QCoreApplication::translate("Commands", "cet effet ne prend pas de valeur");
  return false;
}

template <std::int32_t Default>
bool OptionalNumber(QStringView text, CommandArgument& out, QString& error) {
  std::int32_t value = Default;
  if (!text.isEmpty() && !ReadInt(text, value)) {
    error = QCoreApplication::translate("Commands", "nombre entier attendu");
    return false;
  }
  out.numbers.push_back(value);
  return true;
}

bool FilterNumber(QStringView text, CommandArgument& out, QString& error) {
  std::int32_t type = 0;
  if (!ReadInt(text, type) || type < 1 || type > 11) {
    error = QCoreApplication::translate("Commands", "le type de filtre va de 1 à 11");
    return false;
  }
  out.numbers.push_back(type);
  return true;
}

// N:P:v1,v2,… — the size and weight are checked by the engine itself.
bool Kernel(QStringView text, CommandArgument& out, QString& error) {
  const QList<QStringView> parts = text.split(QLatin1Char(':'));
  std::int32_t size = 0, weight = 0;
  if (parts.size() != 3 || !ReadInt(parts[0], size) || !ReadInt(parts[1], weight) ||
      !ReadInts(parts[2], QLatin1Char(','), -1, out)) {
    error = QCoreApplication::translate("Commands", "forme attendue : N:P:v1,v2,…");
    return false;
  }
  if (size > 0 && out.numbers.size() != std::size_t(size) * std::size_t(size)) {
    error = QCoreApplication::translate("Commands", "un noyau de %1 x %1 demande %2 valeurs")
                .arg(size)
                .arg(std::int64_t(size) * size);
    return false;
  }
  out.numbers.insert(out.numbers.begin(), {size, weight});
  return true;
}

bool SizeLxH(QStringView text, CommandArgument& out, QString& error) {
  if (!ReadInts(text, QLatin1Char('x'), 2, out)) {
    error = QCoreApplication::translate("Commands", "forme attendue : LARGEURxHAUTEUR");
    return false;
  }
  return true;
}

bool Rectangle(QStringView text, CommandArgument& out, QString& error) {
  if (!ReadInts(text, QLatin1Char(','), 4, out)) {
    error = QCoreApplication::translate("Commands", "forme attendue : GAUCHE,HAUT,DROITE,BAS");
    return false;
  }
  return true;
}

// FICHIER[:TYPE:M1:O1:M2:O2]; a file name may itself hold ":", so the five
// numbers are only taken when they are all there at the end.
bool Combination(QStringView text, CommandArgument& out, QString& error) {
  // The fifth ":" from the end, if the text has that many.
  qsizetype cut = text.size();
  for (int i = 0; i < 5 && cut > 0; ++i) cut = text.lastIndexOf(QLatin1Char(':'), cut - 1);
  CommandArgument numbers;
  if (cut > 0 && ReadInts(text.mid(cut + 1), QLatin1Char(':'), 5, numbers)) {
    out.file = text.left(cut).toString();
    out.numbers = numbers.numbers;
  } else {
    out.file = text.toString();
    out.numbers = {1, 1, 0, 1, 0};
  }
  if (out.file.isEmpty()) {
    error = QCoreApplication::translate("Commands", "fichier de la seconde photo attendu");
    return false;
  }
  return true;
}

// G,H,D,B (the edges, as masquer takes them) or L:H (a ratio).
bool CropArgument(QStringView text, CommandArgument& out, QString& error) {
  const bool ratio = text.contains(QLatin1Char(':'));
  if (!ReadInts(text, ratio ? QLatin1Char(':') : QLatin1Char(','), ratio ? 2 : 4, out)) {
    error = QCoreApplication::translate(
        "Commands", "forme attendue : GAUCHE,HAUT,DROITE,BAS ou LARGEUR:HAUTEUR");
    return false;
  }
  const std::vector<std::int32_t>& n = out.numbers;
  if (ratio && (n[0] < 1 || n[1] < 1)) {
    error = QCoreApplication::translate("Commands",
                                        "les deux termes du rapport sont des entiers de 1 ou plus");
    return false;
  }
  if (!ratio && (n[0] < 0 || n[1] < 0)) {
    error = QCoreApplication::translate(
        "Commands", "les bords se comptent en pixels à partir de 0, le coin haut gauche");
    return false;
  }
  if (!ratio && (n[0] >= n[2] || n[1] >= n[3])) {
    error = QCoreApplication::translate("Commands",
                                        "la droite doit dépasser la gauche, et le bas le haut");
    return false;
  }
  return true;
}

// The angle is read as a script writes it, whatever language the user runs
// the program in: a decimal point, never a comma, no exponent, nothing that
// is not a finite number.
bool ReadDegrees(QStringView text, double& value) {
  QByteArray bytes = text.trimmed().toLatin1();
  // from_chars takes a minus sign only; a plus sign is as good, but only one sign.
  if (bytes.startsWith('+') && !bytes.startsWith("+-")) bytes.remove(0, 1);
  const char* end = bytes.constData() + bytes.size();
  const auto [stop, status] =
      std::from_chars(bytes.constData(), end, value, std::chars_format::fixed);
  return !bytes.isEmpty() && status == std::errc() && stop == end && std::isfinite(value);
}

// A[:blanc]
bool Straightening(QStringView text, CommandArgument& out, QString& error) {
  const qsizetype colon = text.indexOf(QLatin1Char(':'));
  out.white = colon >= 0;
  if ((out.white && text.mid(colon + 1) != QLatin1String("blanc")) ||
      !ReadDegrees(text.left(colon < 0 ? text.size() : colon), out.degrees)) {
    error = QCoreApplication::translate(
        "Commands",
        "forme attendue : ANGLE ou ANGLE:blanc, l'angle en degrés avec un point décimal "
        "(-2.5)");
    return false;
  }
  if (std::abs(out.degrees) > kMaxStraightenDegrees) {
    error = QCoreApplication::translate("Commands", "l'angle va de -45 à 45 degrés");
    return false;
  }
  return true;
}

// X,Y,R: the point counted from the top-left corner, the radius around it.
bool EyePoint(QStringView text, CommandArgument& out, QString& error) {
  if (!ReadInts(text, QLatin1Char(','), 3, out)) {
    error = QCoreApplication::translate("Commands", "forme attendue : X,Y,RAYON");
    return false;
  }
  if (out.numbers[0] < 0 || out.numbers[1] < 0 || out.numbers[2] < 1) {
    error = QCoreApplication::translate(
        "Commands",
        "le point se compte en pixels à partir de 0, le coin haut gauche, et le rayon vaut au "
        "moins 1");
    return false;
  }
  return true;
}

// L[,C[,S[,T]]]: the adjustment window's four sliders in its order, the
// values left out at 0 so that a script names only what it changes.
bool AdjustNumbers(QStringView text, CommandArgument& out, QString& error) {
  const QList<QStringView> fields = text.split(QLatin1Char(','));
  if (text.isEmpty() || fields.size() > 4 || !ReadInts(text, QLatin1Char(','), -1, out)) {
    error = QCoreApplication::translate(
        "Commands", "forme attendue : LUMINOSITÉ[,CONTRASTE[,SATURATION[,CHALEUR]]]");
    return false;
  }
  if (std::any_of(out.numbers.begin(), out.numbers.end(),
                  [](std::int32_t v) { return v < -100 || v > 100; })) {
    error = QCoreApplication::translate("Commands", "chaque réglage va de -100 à 100");
    return false;
  }
  out.numbers.resize(4, 0);
  return true;
}

std::int32_t N(const CommandArgument& a, std::size_t i) { return a.numbers[i]; }

void RunRedEyes(PhotoDocument& d, const CommandArgument& a, CommandContext&) {
  const bool fits = N(a, 0) < d.ImageWidth() && N(a, 1) < d.ImageHeight();
  bool found = false;
  try {
    found = d.YeuxRouges(N(a, 0), N(a, 1), N(a, 2));
  } catch (const DocumentError& error) {
    // A point past the photo's edges is the argument's fault, as for a crop.
    if (fits || d.Picture().empty()) throw;
    throw MisfitArgument(error.text(), error.number());
  }
  // A script that names an eye expects it corrected: a photo left as it was
  // must not pass for done.
  if (!found) {
    throw DocumentError(QCoreApplication::translate(
                            "Commands", "Aucun œil rouge trouvé à %1 pixels ou moins de (%2, %3).")
                            .arg(N(a, 2))
                            .arg(N(a, 0))
                            .arg(N(a, 1)));
  }
}

void RunCrop(PhotoDocument& d, const CommandArgument& a, CommandContext&) {
  if (a.numbers.size() == 2) {
    d.Recadrer(LargestCentred(d.ImageWidth(), d.ImageHeight(), N(a, 0), N(a, 1)));
    return;
  }
  const PixelRect rect{N(a, 0), N(a, 1), N(a, 2) - N(a, 0), N(a, 3) - N(a, 1)};
  const bool fits = RectInside(rect, d.ImageWidth(), d.ImageHeight());
  try {
    d.Recadrer(rect);
  } catch (const DocumentError& error) {
    // The document's own words, which name the photo's size; only what the
    // refusal is counted as changes.
    if (fits || d.Picture().empty()) throw;
    throw MisfitArgument(error.text(), error.number());
  }
}

// -n, except that -(-2^31), which 32 bits cannot hold, becomes 2^31 - 1. The
// saturation clamps its percentage to -100 … 25600 long before either, so the
// effect is the same as with the exact opposite.
std::int32_t Opposite(std::int32_t n) {
  return n == std::numeric_limits<std::int32_t>::min() ? std::numeric_limits<std::int32_t>::max()
                                                       : -n;
}

const CommandInfo kCommands[] = {
    {CommandNames::kNette, "nette", QT_TRANSLATE_NOOP("Commands", "rendre plus net (filtre 5)"),
     NoArgument,
     [](PhotoDocument& d, const CommandArgument&, CommandContext&) { d.ProcessImage(5); }},
    {CommandNames::kFloue, "floue", QT_TRANSLATE_NOOP("Commands", "rendre flou (filtre 1)"),
     NoArgument,
     [](PhotoDocument& d, const CommandArgument&, CommandContext&) { d.ProcessImage(1); }},
    {CommandNames::kFiltre, QT_TRANSLATE_NOOP("Commands", "filtre=N"),
     QT_TRANSLATE_NOOP("Commands", "filtre de type N, de 1 à 11"), FilterNumber,
     [](PhotoDocument& d, const CommandArgument& a, CommandContext&) { d.ProcessImage(N(a, 0)); }},
    {CommandNames::kNoyau, QT_TRANSLATE_NOOP("Commands", "noyau=N:P:v1,v2,..."),
     QT_TRANSLATE_NOOP("Commands",
                       "noyau N x N de poids P, valeurs ligne par ligne depuis le haut"),
     Kernel,
     [](PhotoDocument& d, const CommandArgument& a, CommandContext&) {
       d.ProcessKernel(N(a, 0), N(a, 1), std::span(a.numbers).subspan(2));
     }},
    {CommandNames::kClair, QT_TRANSLATE_NOOP("Commands", "clair[=P]"),
     QT_TRANSLATE_NOOP("Commands", "éclaircir de P % (20)"), OptionalNumber<20>,
     [](PhotoDocument& d, const CommandArgument& a, CommandContext&) { d.Lighten(N(a, 0)); }},
    {CommandNames::kSombre, QT_TRANSLATE_NOOP("Commands", "sombre[=A]"),
     QT_TRANSLATE_NOOP("Commands", "assombrir, chaque couleur × A / 255 (240)"),
     OptionalNumber<240>,
     [](PhotoDocument& d, const CommandArgument& a, CommandContext&) { d.Fade(N(a, 0)); }},
    {CommandNames::kColorer, QT_TRANSLATE_NOOP("Commands", "colorer[=P]"),
     QT_TRANSLATE_NOOP("Commands", "plus de couleur, P % (30)"), OptionalNumber<30>,
     [](PhotoDocument& d, const CommandArgument& a, CommandContext&) { d.saturation(N(a, 0)); }},
    {CommandNames::kTernir, QT_TRANSLATE_NOOP("Commands", "ternir[=P]"),
     QT_TRANSLATE_NOOP("Commands", "moins de couleur, P % (30)"), OptionalNumber<30>,
     [](PhotoDocument& d, const CommandArgument& a, CommandContext&) {
       d.saturation(Opposite(N(a, 0)));
     }},
    {CommandNames::kGris, "gris", QT_TRANSLATE_NOOP("Commands", "niveaux de gris"), NoArgument,
     [](PhotoDocument& d, const CommandArgument&, CommandContext&) { d.GrayScale(); }},
    {CommandNames::kPhotocopie, "photocopie",
     QT_TRANSLATE_NOOP("Commands", "noir et blanc tranché"), NoArgument,
     [](PhotoDocument& d, const CommandArgument&, CommandContext&) { d.CoupeNB(); }},
    {CommandNames::kPlume, "plume",
     QT_TRANSLATE_NOOP("Commands", "dessin à la plume (noir et blanc tramé)"), NoArgument,
     [](PhotoDocument& d, const CommandArgument&, CommandContext&) { d.BlackAndWhite(); }},
    {CommandNames::kDiffusion, QT_TRANSLATE_NOOP("Commands", "diffusion[=F]"),
     QT_TRANSLATE_NOOP("Commands", "diffusion des points, facteur F (6)"), OptionalNumber<6>,
     [](PhotoDocument& d, const CommandArgument& a, CommandContext&) { d.Diffusion(N(a, 0)); }},
    {CommandNames::kContours, "contours", QT_TRANSLATE_NOOP("Commands", "trouver les contours"),
     NoArgument,
     [](PhotoDocument& d, const CommandArgument&, CommandContext&) { d.TrouvContours(); }},
    {CommandNames::kNegatif, "negatif", QT_TRANSLATE_NOOP("Commands", "négatif"), NoArgument,
     [](PhotoDocument& d, const CommandArgument&, CommandContext&) { d.NegativeImage(); }},
    {CommandNames::kGauche, "gauche", QT_TRANSLATE_NOOP("Commands", "quart de tour à gauche"),
     NoArgument, [](PhotoDocument& d, const CommandArgument&, CommandContext&) { d.Piv_Gche(); }},
    {CommandNames::kDroite, "droite", QT_TRANSLATE_NOOP("Commands", "quart de tour à droite"),
     NoArgument, [](PhotoDocument& d, const CommandArgument&, CommandContext&) { d.Piv_Drt(); }},
    {CommandNames::kCiel, "ciel",
     QT_TRANSLATE_NOOP("Commands", "ciel bleu à la place d'un ciel blanc"), NoArgument,
     [](PhotoDocument& d, const CommandArgument&, CommandContext&) { d.Applique_ciel(); }},
    {CommandNames::kWeb, "web",
     QT_TRANSLATE_NOOP("Commands", "format Web : le grand côté passe à 400 pixels"), NoArgument,
     [](PhotoDocument& d, const CommandArgument&, CommandContext&) {
       const auto [width, height] = PhotoDocument::WebSize(d.ImageWidth(), d.ImageHeight());
       d.Resample(width, height);
     }},
    {CommandNames::kTaille, QT_TRANSLATE_NOOP("Commands", "taille=LxH"),
     QT_TRANSLATE_NOOP("Commands", "retailler en L x H pixels"), SizeLxH,
     [](PhotoDocument& d, const CommandArgument& a, CommandContext&) {
       d.Resample(N(a, 0), N(a, 1));
     }},
    {CommandNames::kMasquer, QT_TRANSLATE_NOOP("Commands", "masquer=G,H,D,B"),
     QT_TRANSLATE_NOOP(
         "Commands",
         "flouter la zone (gauche, haut, droite, bas en pixels depuis le coin haut gauche)"),
     Rectangle,
     [](PhotoDocument& d, const CommandArgument& a, CommandContext&) {
       d.MasquerZone(N(a, 0), N(a, 1), N(a, 2), N(a, 3));
     }},
    {CommandNames::kLogo, "logo",
     QT_TRANSLATE_NOOP("Commands", "insérer le logo du dossier des paramètres"), NoArgument,
     [](PhotoDocument& d, const CommandArgument&, CommandContext&) {
       if (!d.InsererLogo()) {
         throw DocumentError(
             QCoreApplication::translate("Commands",
                                         "Aucun logo n'est configuré (logo.png, .jpg, .bmp ou "
                                         ".gif dans le dossier des paramètres)."));
       }
     }},
    {CommandNames::kCombiner, QT_TRANSLATE_NOOP("Commands", "combiner=FICHIER[:TYPE:M1:O1:M2:O2]"),
     QT_TRANSLATE_NOOP("Commands",
                       "combiner avec une seconde photo (1 addition, 2 plus sombre, 3 plus clair)"),
     Combination,
     [](PhotoDocument& d, const CommandArgument& a, CommandContext& context) {
       const cDIBSection second =
           context.readPicture ? context.readPicture(a.file) : io::ReadPicture(a.file);
       const CombinationSettings settings{N(a, 0), N(a, 1), N(a, 2), N(a, 3), N(a, 4)};
       d.Combine(settings, d.Picture(), second);
     }},
    {CommandNames::kRecadrer, QT_TRANSLATE_NOOP("Commands", "recadrer=G,H,D,B ou L:H"),
     QT_TRANSLATE_NOOP("Commands",
                       "garder les colonnes G à D-1 et les lignes H à B-1 (pixels depuis le coin\n"
                       "haut gauche : largeur D - G, hauteur B - H) ; L:H, le plus grand\n"
                       "rectangle centré de proportions L:H (3:2, 1:1…)"),
     CropArgument, RunCrop},
    {CommandNames::kRedresser, QT_TRANSLATE_NOOP("Commands", "redresser=A[:blanc]"),
     QT_TRANSLATE_NOOP("Commands",
                       "tourner de A degrés, de -45 à 45 avec un point décimal (-2.5), positif\n"
                       "dans le sens des aiguilles d'une montre, et garder le plus grand\n"
                       "rectangle sans coin vide ; :blanc garde toute la photo, coins en blanc"),
     Straightening,
     [](PhotoDocument& d, const CommandArgument& a, CommandContext&) {
       d.Redresser(a.degrees, a.white);
     }},
    // A photo with nothing to improve is left as it is: not a failure, the
    // script gets its photo back unchanged.
    {CommandNames::kAuto, "auto",
     QT_TRANSLATE_NOOP("Commands",
                       "amélioration automatique : niveaux étirés couleur par couleur et, pour\n"
                       "une photo terne, un peu plus de couleur ; une photo qui couvre déjà\n"
                       "toute la gamme reste telle quelle"),
     NoArgument,
     [](PhotoDocument& d, const CommandArgument&, CommandContext&) { d.AmeliorationAuto(); }},
    {CommandNames::kReglages, QT_TRANSLATE_NOOP("Commands", "reglages=L[,C[,S[,T]]]"),
     QT_TRANSLATE_NOOP("Commands",
                       "régler luminosité L, contraste C, saturation S et chaleur T, chacun de\n"
                       "-100 à 100, 0 ne change rien ; les valeurs omises à la fin valent 0"),
     AdjustNumbers,
     [](PhotoDocument& d, const CommandArgument& a, CommandContext&) {
       d.Regler(AdjustSettings{N(a, 0), N(a, 1), N(a, 2), N(a, 3)});
     }},
    {CommandNames::kYeuxRouges, QT_TRANSLATE_NOOP("Commands", "yeux-rouges=X,Y,R"),
     QT_TRANSLATE_NOOP("Commands",
                       "corriger l'œil rouge le plus proche du point (X, Y), en pixels depuis le\n"
                       "coin haut gauche, dans un rayon de R pixels ; une erreur si aucun n'y est"),
     EyePoint, RunRedEyes},
};

}  // namespace

std::span<const CommandInfo> Commands() { return kCommands; }

const CommandInfo& CommandNamed(std::string_view name) {
  const auto it = std::find_if(std::begin(kCommands), std::end(kCommands),
                               [&](const CommandInfo& c) { return name == c.name; });
  if (it == std::end(kCommands)) {
    throw std::logic_error("no command is named " + std::string(name));
  }
  return *it;
}

const CommandInfo* FindCommand(QStringView name) {
  const auto it = std::find_if(std::begin(kCommands), std::end(kCommands),
                               [&](const CommandInfo& c) { return name == QLatin1String(c.name); });
  return it == std::end(kCommands) ? nullptr : &*it;
}

}  // namespace fotavel
