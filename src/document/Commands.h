// The table of effect commands: stable name → document member with its fixed arguments.
#pragma once

#include <QString>
#include <QStringView>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "surface/cDIBSection.h"

namespace fotavel {

class PhotoDocument;

// What a command's argument text ("=…" after its name) was read into.
struct CommandArgument {
  std::vector<std::int32_t> numbers;
  QString file;
};

// What a command may need beyond the document: reading another picture (the
// combination's second photo), io::ReadPicture when unset. It throws as
// io::ReadPicture does, and the failure goes on to the command's caller.
struct CommandContext {
  std::function<cDIBSection(const QString& path)> readPicture;
};

struct CommandInfo {
  const char* name;   // stable name, as the batch tool and the menus know it
  const char* usage;  // how it is written, for the help text
  const char* help;   // what it does, in French
  // Reads the argument text (empty when there is none). False, with a French
  // message in `error`, when the text does not fit the command.
  bool (*parse)(QStringView text, CommandArgument& out, QString& error);
  // Runs the command on the document; throws as the document does.
  void (*run)(PhotoDocument& document, const CommandArgument& argument, CommandContext& context);
};

std::span<const CommandInfo> Commands();
// The command of that name, or nullptr.
const CommandInfo* FindCommand(QStringView name);

}  // namespace fotavel
