// How the window tells the user that something failed: the one place that turns any failure into
// a message box.
#pragma once

#include <QString>
#include <exception>

#include "dialogs/UiServices.h"
#include "effects/ImageProcessError.h"

class QWidget;

namespace fotavel {

// A message box's text and icon.
struct FailureMessage {
  QString text;
  MessageIcon icon;
};

// A failure as the window shows it: a photo that could not be opened after
// "Une erreur est survenue lors de l'ouverture de : ", one that could not be
// saved after "Erreur lors de l'enregistrement de la photo: ", any other
// (an effect's, the document's, the logo settings') as its description; with
// the exclamation icon. An exception that is not the program's Error is
// described first (DescribeFailure): running out of memory reads
// "Mémoire insuffisante…".
FailureMessage FailureBox(const Error& error);
FailureMessage FailureBox(std::exception_ptr failure);

// A paste that failed before its picture reached a document (the clipboard,
// the temporary file): "Erreur lors de l'opération 'Coller': " and the
// description, whatever the failure's number.
FailureMessage PasteFailureBox(std::exception_ptr failure);

// Shows the failure's box, owned by `owner`.
void ShowFailure(UiServices& ui, const FailureMessage& message, QWidget* owner);
inline void ShowFailure(UiServices& ui, std::exception_ptr failure, QWidget* owner) {
  ShowFailure(ui, FailureBox(failure), owner);
}

}  // namespace fotavel
