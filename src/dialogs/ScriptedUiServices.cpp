// Scripted message boxes and file dialogs for the tests of the windows.
#include "dialogs/ScriptedUiServices.h"

#include <QFileInfo>
#include <QtDebug>

namespace fotavel {
namespace {

bool Offers(MessageButtons buttons, MessageAnswer answer) {
  switch (buttons) {
    case MessageButtons::Ok:
      return answer == MessageAnswer::Ok;
    case MessageButtons::YesNo:
      return answer == MessageAnswer::Yes || answer == MessageAnswer::No;
    case MessageButtons::YesNoCancel:
      return answer != MessageAnswer::Ok;
  }
  return false;
}

MessageAnswer ClosedWithoutAnswer(MessageButtons buttons) {
  switch (buttons) {
    case MessageButtons::Ok:
      return MessageAnswer::Ok;
    case MessageButtons::YesNo:
      return MessageAnswer::No;
    case MessageButtons::YesNoCancel:
      break;
  }
  return MessageAnswer::Cancel;
}

QString Quoted(const QString& text) { return u'"' + text + u'"'; }

}  // namespace

ScriptedUiServices& ScriptedUiServices::Answer(MessageAnswer answer) {
  m_script.emplace_back(answer);
  return *this;
}

ScriptedUiServices& ScriptedUiServices::ChooseName(const QString& name, int filterIndex) {
  m_script.emplace_back(FileStep{false, name, filterIndex});
  return *this;
}

ScriptedUiServices& ScriptedUiServices::CancelDialog() {
  m_script.emplace_back(FileStep{true, {}, 0});
  return *this;
}

void ScriptedUiServices::NoteUnexpected(const QString& what) {
  qWarning().noquote() << "unexpected:" << what;
  m_unexpected.append(what);
}

MessageAnswer ScriptedUiServices::Message(const QString& text, MessageIcon icon,
                                          MessageButtons buttons, QWidget* /*owner*/,
                                          const QString& title) {
  m_messages.push_back({text, icon, buttons, title});
  if (m_script.empty()) {
    NoteUnexpected(QStringLiteral("message box with no answer scripted: ") + Quoted(text));
    return ClosedWithoutAnswer(buttons);
  }
  const MessageAnswer* answer = std::get_if<MessageAnswer>(&m_script.front());
  if (answer == nullptr) {
    NoteUnexpected(QStringLiteral("message box where a file dialog was scripted: ") + Quoted(text));
    return ClosedWithoutAnswer(buttons);
  }
  if (!Offers(buttons, *answer)) {
    NoteUnexpected(QStringLiteral("scripted answer not among the box's buttons: ") + Quoted(text));
    return ClosedWithoutAnswer(buttons);
  }
  const MessageAnswer given = *answer;
  m_script.pop_front();
  return given;
}

std::optional<FileChoice> ScriptedUiServices::ChooseFile(FileDialogKind kind,
                                                         const FileDialogRequest& request,
                                                         QWidget* /*owner*/) {
  m_fileDialogs.push_back({kind, request});
  if (m_script.empty()) {
    NoteUnexpected(QStringLiteral("file dialog with no choice scripted: ") + Quoted(request.title));
    return std::nullopt;
  }
  const FileStep* step = std::get_if<FileStep>(&m_script.front());
  if (step == nullptr) {
    NoteUnexpected(QStringLiteral("file dialog where a message answer was scripted: ") +
                   Quoted(request.title));
    return std::nullopt;
  }
  if (step->cancel) {
    m_script.pop_front();
    return std::nullopt;
  }
  FileChoice choice;
  choice.filterIndex = step->filterIndex == 0 ? ShownFilterIndex(request) : step->filterIndex;
  choice.path = WithDefaultExtension(step->name, DefaultExtensionFor(request, choice.filterIndex));
  choice.paths = QStringList{choice.path};
  const bool wantsExisting =
      kind == FileDialogKind::Open && (request.mustExist || request.multiSelect);
  // A real dialog would not let the user confirm such a name at all.
  if (wantsExisting && !QFileInfo::exists(choice.path)) {
    NoteUnexpected(QStringLiteral("scripted file does not exist: ") + Quoted(choice.path));
    return std::nullopt;
  }
  if (step->filterIndex != 0 &&
      (step->filterIndex < 1 || step->filterIndex > request.filters.size())) {
    NoteUnexpected(QStringLiteral("scripted filter entry %1 not offered").arg(step->filterIndex));
    return std::nullopt;
  }
  m_script.pop_front();
  return choice;
}

}  // namespace fotavel
