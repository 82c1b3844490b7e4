// The document's errors, in the same shape as the engine's, and the one road every failure takes.
#pragma once

#include <QString>
#include <cstdint>
#include <exception>

#include "effects/ImageProcessError.h"

namespace fotavel {

namespace DocumentErrors {
// A command the document refuses: no photo, an argument that does not fit.
inline constexpr std::uint32_t kRefused = ImageProcessErrors::kObjectErrorBase + 1400;
// The logo could not be stamped (settings or picture unreadable).
inline constexpr std::uint32_t kLogo = ImageProcessErrors::kObjectErrorBase + 1401;
// Anything the program did not foresee.
inline constexpr std::uint32_t kUnexpected = ImageProcessErrors::kObjectErrorBase + 1402;
// The runtime's number for a failed allocation, as the engine uses it.
inline constexpr std::uint32_t kOutOfMemory = ImageProcessErrors::kOutOfMemory.number;
}  // namespace DocumentErrors

// A failure of the document, with the French text the user sees. Its source
// is the program's base name followed by ".PhotoDocument".
class DocumentError : public Error {
 public:
  explicit DocumentError(const QString& text, std::uint32_t number = DocumentErrors::kRefused);
  QString text() const { return QString::fromStdString(description()); }
};

// Any failure in the form the window and the batch tool report: the engine's
// and the document's errors as they were raised, except that running out of
// memory (the engine's, a std::bad_alloc) reads "Mémoire insuffisante…"; a
// std::system_error keeps the system's number with a French description;
// anything else is an unexpected error that says what it was.
Error DescribeFailure(std::exception_ptr failure);

// What the user was doing when the failure came, as its number tells: the
// head of the open message for a picture that could not be read ("Une erreur
// est survenue lors de l'ouverture de : "), of the save message for one that
// could not be written ("Erreur lors de l'enregistrement de la photo: "),
// nothing for every other failure.
QString FailurePrefix(const Error& error);

// The failure as the user reads it: the prefix, then the description.
inline QString FailureText(const Error& error) {
  return FailurePrefix(error) + QString::fromStdString(error.description());
}

}  // namespace fotavel
