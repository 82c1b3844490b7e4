// The program's error objects and the program name that errors carry as source.
#include "effects/ImageProcessError.h"

#include <utility>

namespace fotavel {
namespace {
std::string& ProgramNameStorage() {
  static std::string name = "fotavel";
  return name;
}
}  // namespace

Error::Error(std::uint32_t number, std::string description, std::string source)
    : std::runtime_error(description),
      number_(number),
      description_(std::move(description)),
      source_(std::move(source)) {}

ImageProcessError::ImageProcessError(std::uint32_t number, std::string description)
    : Error(number, std::move(description), ProgramName() + ".cImageProcess") {}

void SetProgramName(std::string_view argv0) {
  const auto slash = argv0.find_last_of('/');
  if (slash != std::string_view::npos) argv0.remove_prefix(slash + 1);
  if (!argv0.empty()) ProgramNameStorage() = std::string(argv0);
}

const std::string& ProgramName() { return ProgramNameStorage(); }

}  // namespace fotavel
