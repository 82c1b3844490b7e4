// The program's error object (number, description, source) and the engine's own kind of it.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

// Marks a text for the translation tools without translating it: the engine
// holds no Qt, so its descriptions stay the source texts, and the document and
// the batch tool translate them where they reach the user. The definition is
// Qt's own, word for word, so that a file that also includes Qt compiles.
#ifndef QT_TRANSLATE_NOOP
#define QT_TRANSLATE_NOOP(scope, x) x
#endif

namespace fotavel {

// One kind of refusal: its number and its exact description.
struct ErrorKind {
  std::uint32_t number;
  const char* description;
};

// Numbers sit on the object-error base 0x80040000 used by the engine's
// historical messages; the first three texts are kept word for word (two
// spaces after "size." included).
namespace ImageProcessErrors {
inline constexpr std::uint32_t kObjectErrorBase = 0x80040000u;
inline constexpr ErrorKind kSizeNotOdd{
    kObjectErrorBase + 1305, QT_TRANSLATE_NOOP("ImageProcessError", "Size must be an odd number")};
inline constexpr ErrorKind kInvalidFilterType{
    kObjectErrorBase + 1306, QT_TRANSLATE_NOOP("ImageProcessError", "Invalid filter types.")};
inline constexpr ErrorKind kInvalidSize{
    kObjectErrorBase + 1306,
    QT_TRANSLATE_NOOP("ImageProcessError",
                      "Invalid size.  Size should be an odd number from 3 to 9")};
// Refusals that keep the engine from dividing by zero or reading outside a surface.
inline constexpr ErrorKind kZeroWeight{
    kObjectErrorBase + 1307,
    QT_TRANSLATE_NOOP("ImageProcessError", "Filter weight must not be 0.")};
inline constexpr ErrorKind kKernelIndex{
    kObjectErrorBase + 1308, QT_TRANSLATE_NOOP("ImageProcessError", "Kernel index out of range.")};
inline constexpr ErrorKind kKernelNotSized{
    kObjectErrorBase + 1309,
    QT_TRANSLATE_NOOP("ImageProcessError", "The kernel size has not been set.")};
inline constexpr ErrorKind kSizeMismatch{
    kObjectErrorBase + 1310,
    QT_TRANSLATE_NOOP("ImageProcessError", "The two pictures must be the same size.")};
inline constexpr ErrorKind kSourceTooSmall{
    kObjectErrorBase + 1311,
    QT_TRANSLATE_NOOP("ImageProcessError", "The source picture is smaller than the destination.")};
inline constexpr ErrorKind kBadMatrix{
    kObjectErrorBase + 1312,
    QT_TRANSLATE_NOOP("ImageProcessError", "The matrix must be square and complete.")};
inline constexpr ErrorKind kZeroDivisor{
    kObjectErrorBase + 1313, QT_TRANSLATE_NOOP("ImageProcessError", "The divisor must not be 0.")};
inline constexpr ErrorKind kMatrixRange{
    kObjectErrorBase + 1314,
    QT_TRANSLATE_NOOP("ImageProcessError", "The matrix sums could leave the 16-bit range.")};
inline constexpr ErrorKind kEmptySurface{
    kObjectErrorBase + 1315, QT_TRANSLATE_NOOP("ImageProcessError", "The picture is empty.")};
inline constexpr ErrorKind kCropOutside{
    kObjectErrorBase + 1316,
    QT_TRANSLATE_NOOP("ImageProcessError", "The rectangle must lie inside the picture.")};
inline constexpr ErrorKind kAngleRange{
    kObjectErrorBase + 1317,
    QT_TRANSLATE_NOOP("ImageProcessError", "The angle must be from -45 to 45 degrees.")};
inline constexpr ErrorKind kRedEyePoint{
    kObjectErrorBase + 1318,
    QT_TRANSLATE_NOOP("ImageProcessError",
                      "The point must lie inside the picture and the radius be at least 1.")};
// The runtime's own number for a failed allocation.
inline constexpr ErrorKind kOutOfMemory{7, QT_TRANSLATE_NOOP("ImageProcessError", "Out of memory")};
}  // namespace ImageProcessErrors

// Every failure the program reports travels as one of these: the engine
// raises ImageProcessError, the document DocumentError, and whoever shows
// the failure (the window, the batch tool) catches this one type. The
// description is UTF-8.
class Error : public std::runtime_error {
 public:
  Error(std::uint32_t number, std::string description, std::string source);

  std::uint32_t number() const { return number_; }
  const std::string& description() const { return description_; }
  const std::string& source() const { return source_; }

 private:
  std::uint32_t number_;
  std::string description_;
  std::string source_;
};

// Raised by the engine; its source is the program's base name followed by
// ".cImageProcess".
class ImageProcessError : public Error {
 public:
  ImageProcessError(std::uint32_t number, std::string description);
  explicit ImageProcessError(const ErrorKind& kind)
      : ImageProcessError(kind.number, kind.description) {}
};

// The executable's base name, which errors carry as their source. Programs set
// it from argv[0] at start; until then it is "fotavel".
void SetProgramName(std::string_view argv0);
const std::string& ProgramName();

}  // namespace fotavel
