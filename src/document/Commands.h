// The table of effect commands: stable name → document member with its fixed arguments.
#pragma once

#include <QString>
#include <QStringView>
#include <cstdint>
#include <functional>
#include <span>
#include <string_view>
#include <vector>

#include "document/DocumentError.h"
#include "surface/cDIBSection.h"

namespace fotavel {

class PhotoDocument;

// The commands' names, as the batch tool reads them and as the window's
// buttons and menus ask for them.
namespace CommandNames {
inline constexpr char kNette[] = "nette";
inline constexpr char kFloue[] = "floue";
inline constexpr char kFiltre[] = "filtre";
inline constexpr char kNoyau[] = "noyau";
inline constexpr char kClair[] = "clair";
inline constexpr char kSombre[] = "sombre";
inline constexpr char kColorer[] = "colorer";
inline constexpr char kTernir[] = "ternir";
inline constexpr char kGris[] = "gris";
inline constexpr char kPhotocopie[] = "photocopie";
inline constexpr char kPlume[] = "plume";
inline constexpr char kDiffusion[] = "diffusion";
inline constexpr char kContours[] = "contours";
inline constexpr char kNegatif[] = "negatif";
inline constexpr char kGauche[] = "gauche";
inline constexpr char kDroite[] = "droite";
inline constexpr char kCiel[] = "ciel";
inline constexpr char kWeb[] = "web";
inline constexpr char kTaille[] = "taille";
inline constexpr char kMasquer[] = "masquer";
inline constexpr char kLogo[] = "logo";
inline constexpr char kCombiner[] = "combiner";
inline constexpr char kRecadrer[] = "recadrer";
inline constexpr char kRedresser[] = "redresser";
inline constexpr char kAuto[] = "auto";
inline constexpr char kReglages[] = "reglages";
inline constexpr char kYeuxRouges[] = "yeux-rouges";
}  // namespace CommandNames

// What a command's argument text ("=…" after its name) was read into.
struct CommandArgument {
  std::vector<std::int32_t> numbers;
  QString file;
  // A straightening's angle, which whole numbers cannot hold, and whether its
  // corners are filled with white.
  double degrees = 0;
  bool white = false;
};

// An argument that the text alone could not show to be wrong, refused by the
// photo it meets (a rectangle that goes past its edges): the user asked for
// something that cannot be, rather than the photo failing. The batch tool
// counts it with the usage errors; the window reads it as any DocumentError.
class MisfitArgument : public DocumentError {
 public:
  using DocumentError::DocumentError;
};

// What a command may need beyond the document: reading another picture (the
// combination's second photo), io::ReadPicture when unset. It throws as
// io::ReadPicture does, and the failure goes on to the command's caller.
struct CommandContext {
  std::function<cDIBSection(const QString& path)> readPicture;
};

struct CommandInfo {
  const char* name;  // stable name, as the batch tool and the menus know it
  // How it is written, for the help text, and what it does: French source
  // texts of the "Commands" context, to translate where they are shown. The
  // name in `usage` stays as it is in every language; the letters that stand
  // for its values are the translator's.
  const char* usage;
  const char* help;
  // Reads the argument text (empty when there is none). False, with a French
  // message in `error`, when the text does not fit the command.
  bool (*parse)(QStringView text, CommandArgument& out, QString& error);
  // Runs the command on the document; throws as the document does.
  void (*run)(PhotoDocument& document, const CommandArgument& argument, CommandContext& context);
};

std::span<const CommandInfo> Commands();
// The command of that name, or nullptr: for names a user typed.
const CommandInfo* FindCommand(QStringView name);
// The command of a name the program itself holds (one of CommandNames).
// Throws std::logic_error for a name the table does not know: that is a
// fault of the program, never a user's, and must not pass unnoticed.
const CommandInfo& CommandNamed(std::string_view name);

}  // namespace fotavel
