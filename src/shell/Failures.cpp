// The window's messages for failures.
#include "shell/Failures.h"

#include <QCoreApplication>

#include "document/DocumentError.h"

namespace fotavel {

FailureMessage FailureBox(const Error& error) {
  return {FailureText(error), MessageIcon::Exclamation};
}

FailureMessage FailureBox(std::exception_ptr failure) {
  return FailureBox(DescribeFailure(failure));
}

FailureMessage PasteFailureBox(std::exception_ptr failure) {
  // Writing the temporary file is part of the paste, not a save of the
  // user's photo: the paste's own head replaces the save message's.
  const Error error = DescribeFailure(failure);
  return {
      QCoreApplication::translate("fotavel::mfrmMain", "Erreur lors de l'opération 'Coller': ") +
          QString::fromStdString(error.description()),
      MessageIcon::Exclamation};
}

void ShowFailure(UiServices& ui, const FailureMessage& message, QWidget* owner) {
  ui.Message(message.text, message.icon, MessageButtons::Ok, owner);
}

}  // namespace fotavel
