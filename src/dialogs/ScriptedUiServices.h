// A message and file-dialog service for tests: records what is shown and plays scripted answers.
#pragma once

#include <QString>
#include <QStringList>
#include <deque>
#include <variant>
#include <vector>

#include "dialogs/UiServices.h"

namespace fotavel {

struct RecordedMessage {
  QString text;
  MessageIcon icon = MessageIcon::None;
  MessageButtons buttons = MessageButtons::Ok;
  QString title;
};

struct RecordedFileDialog {
  FileDialogKind kind = FileDialogKind::Open;
  FileDialogRequest request;
};

// Every message box and file dialog takes the next step of one ordered
// script. A call the script does not foresee (the script ran out, or its next
// step is for the other kind of window, or names an answer the box does not
// offer, or a missing file for a dialog that wants an existing one) is
// recorded in Unexpected() and warned about, and answers as a box closed
// without a choice would: OK for an OK box, No for Yes/No, Cancel for
// Yes/No/Cancel, nothing for a file dialog. The step stays for the next call.
// A test asserts Unexpected() is empty and AllUsed() at its end.
class ScriptedUiServices : public UiServices {
 public:
  // The next message box is answered with `answer`.
  ScriptedUiServices& Answer(MessageAnswer answer);
  // The next file dialog is confirmed with `name` typed in, extended as a
  // dialog would (DefaultExtensionFor the entry chosen), and the filter entry
  // `filterIndex` (1-based; 0 keeps the entry shown first).
  ScriptedUiServices& ChooseName(const QString& name, int filterIndex = 0);
  // The next file dialog is cancelled.
  ScriptedUiServices& CancelDialog();

  const std::vector<RecordedMessage>& Messages() const { return m_messages; }
  const std::vector<RecordedFileDialog>& FileDialogs() const { return m_fileDialogs; }
  const QStringList& Unexpected() const { return m_unexpected; }
  bool AllUsed() const { return m_script.empty(); }

  MessageAnswer Message(const QString& text, MessageIcon icon, MessageButtons buttons,
                        QWidget* owner = nullptr, const QString& title = kAppTitle) override;
  std::optional<FileChoice> ChooseFile(FileDialogKind kind, const FileDialogRequest& request,
                                       QWidget* owner = nullptr) override;

 private:
  struct FileStep {
    bool cancel = false;
    QString name;
    int filterIndex = 0;
  };
  using Step = std::variant<MessageAnswer, FileStep>;

  void NoteUnexpected(const QString& what);

  std::deque<Step> m_script;
  std::vector<RecordedMessage> m_messages;
  std::vector<RecordedFileDialog> m_fileDialogs;
  QStringList m_unexpected;
};

}  // namespace fotavel
