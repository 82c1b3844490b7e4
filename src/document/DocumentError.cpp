// The document's errors and the function that turns any failure into the program's error object.
#include "document/DocumentError.h"

#include <QCoreApplication>
#include <new>
#include <system_error>

#include "document/Messages.h"
#include "io/FileError.h"

namespace fotavel {

namespace {
std::string DocumentSource() { return ProgramName() + ".PhotoDocument"; }
}  // namespace

DocumentError::DocumentError(const QString& text, std::uint32_t number)
    : Error(number, text.toStdString(), DocumentSource()) {}

Error DescribeFailure(std::exception_ptr failure) {
  const std::string memory = QString(Messages::kMemoireInsuffisante).toStdString();
  try {
    std::rethrow_exception(failure);
  } catch (const ImageProcessError& error) {
    // The engine's own words for this one are terse; the user reads the document's.
    if (error.number() == DocumentErrors::kOutOfMemory) {
      return Error(error.number(), memory, error.source());
    }
    // The engine knows no Qt: its descriptions are the source texts of the
    // "ImageProcessError" context, translated on their one road to the user.
    return Error(
        error.number(),
        QCoreApplication::translate("ImageProcessError", error.description().c_str()).toStdString(),
        error.source());
  } catch (const Error& error) {
    if (error.number() == DocumentErrors::kOutOfMemory) {
      return Error(error.number(), memory, error.source());
    }
    return error;
  } catch (const std::bad_alloc&) {
    return Error(DocumentErrors::kOutOfMemory, memory, DocumentSource());
  } catch (const std::system_error& error) {
    const QString text = Messages::ErreurSysteme(error.code().value(),
                                                 QString::fromLocal8Bit(error.code().message()));
    return Error(std::uint32_t(error.code().value()), text.toStdString(), DocumentSource());
  } catch (const std::exception& error) {
    return Error(DocumentErrors::kUnexpected,
                 Messages::ErreurInattendue(QString::fromLocal8Bit(error.what())).toStdString(),
                 DocumentSource());
  } catch (...) {
    return Error(DocumentErrors::kUnexpected, Messages::ErreurInattendue({}).toStdString(),
                 DocumentSource());
  }
}

QString FailurePrefix(const Error& error) {
  switch (error.number()) {
    case io::FileErrors::kRead:
      return Messages::kOuvertureErreur;
    case io::FileErrors::kWrite:
      return Messages::kEnregistrementErreur;
    default:
      return {};
  }
}

}  // namespace fotavel
