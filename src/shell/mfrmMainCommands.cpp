// The main window's effect commands: find the active document, call one member, show what went
// wrong.
#include <QMdiArea>
#include <optional>

#include "document/Commands.h"
#include "document/Messages.h"
#include "shell/Failures.h"
#include "shell/frmImage.h"
#include "shell/mfrmMain.h"

namespace fotavel {

frmImage* mfrmMain::ImageActive() {
  frmImage* document = ActiveDocument();
  if (document == nullptr) {
    m_ui.Message(Messages::kSelectionnezPhoto, MessageIcon::Information, MessageButtons::Ok, this);
  }
  return document;
}

bool mfrmMain::OnActive(const std::function<void(frmImage&)>& work) {
  frmImage* document = ImageActive();
  return document != nullptr && Guarded([&] { work(*document); });
}

bool mfrmMain::Guarded(const std::function<void()>& work) {
  // The document has already put the photo back as it was; what is left is
  // to tell the user.
  std::optional<FailureMessage> failure;
  try {
    work();
    return true;
  } catch (...) {
    failure = FailureBox(std::current_exception());
  }
  ShowProgress(false);
  SetHourglass(false);
  ShowFailure(m_ui, *failure, this);
  return false;
}

bool mfrmMain::RunNamed(const char* name, std::int32_t argument, bool withArgument) {
  const CommandInfo& command = CommandNamed(name);
  return OnActive([&](frmImage& document) {
    CommandArgument parsed;
    if (withArgument) {
      parsed.numbers.push_back(argument);
    } else {
      // No text: the table's own default arguments.
      QString unused;
      command.parse(QStringView(), parsed, unused);
    }
    CommandContext context;
    command.run(document.Document(), parsed, context);
  });
}

void mfrmMain::Filter(std::int32_t type) { RunNamed(CommandNames::kFiltre, type, true); }

void mfrmMain::cmdMasque_Click() {
  OnActive([](frmImage& document) {
    document.SetMousePointer(document.MousePointer() == frmImage::kPointerCross
                                 ? frmImage::kPointerNormal
                                 : frmImage::kPointerCross);
  });
}

void mfrmMain::TaillWeb_Click() {
  if (RunNamed(CommandNames::kWeb)) ActiveDocument()->TailleNormaleFct();
}

void mfrmMain::AmeliorerPhoto() {
  bool improved = true;
  if (OnActive([&](frmImage& document) { improved = document.Document().AmeliorationAuto(); }) &&
      !improved) {
    const QString keep = QStringLiteral("#");
    SetStatus(tr("La photo n'a pas besoin d'être améliorée."), keep, keep);
  }
}

void mfrmMain::BtAnnuler_Click() {
  OnActive([](frmImage& document) { document.Document().Annuler(); });
}

void mfrmMain::Retablir_Click() {
  OnActive([](frmImage& document) { document.Document().Retablir(); });
}

}  // namespace fotavel
