// The engine's error object: number, description and source, as callers show them.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace fotavel {

// Numbers sit on the object-error base 0x80040000 used by the engine's
// historical messages; the first three texts are kept word for word.
namespace ImageProcessErrors {
inline constexpr std::uint32_t kObjectErrorBase = 0x80040000u;
inline constexpr std::uint32_t kSizeNotOdd = kObjectErrorBase + 1305;       // 0x80040519
inline constexpr std::uint32_t kInvalidFilterType = kObjectErrorBase + 1306;  // 0x8004051A
inline constexpr std::uint32_t kInvalidSize = kObjectErrorBase + 1306;        // 0x8004051A
// Refusals that keep the engine from dividing by zero or reading outside a surface.
inline constexpr std::uint32_t kZeroWeight = kObjectErrorBase + 1307;
inline constexpr std::uint32_t kKernelIndex = kObjectErrorBase + 1308;
inline constexpr std::uint32_t kKernelNotSized = kObjectErrorBase + 1309;
inline constexpr std::uint32_t kSizeMismatch = kObjectErrorBase + 1310;
inline constexpr std::uint32_t kSourceTooSmall = kObjectErrorBase + 1311;
inline constexpr std::uint32_t kBadMatrix = kObjectErrorBase + 1312;
inline constexpr std::uint32_t kZeroDivisor = kObjectErrorBase + 1313;
inline constexpr std::uint32_t kMatrixRange = kObjectErrorBase + 1314;
inline constexpr std::uint32_t kEmptySurface = kObjectErrorBase + 1315;
// The runtime's own number for a failed allocation.
inline constexpr std::uint32_t kOutOfMemory = 7;
}  // namespace ImageProcessErrors

class ImageProcessError : public std::runtime_error {
 public:
  ImageProcessError(std::uint32_t number, std::string description);

  std::uint32_t number() const { return number_; }
  const std::string& description() const { return description_; }
  // The program's base name followed by ".cImageProcess".
  const std::string& source() const { return source_; }

 private:
  std::uint32_t number_;
  std::string description_;
  std::string source_;
};

// The executable's base name, which errors carry as their source. Programs set
// it from argv[0] at start; until then it is "fotavel".
void SetProgramName(std::string_view argv0);
const std::string& ProgramName();

}  // namespace fotavel
