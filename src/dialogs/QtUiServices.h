// The message and file-dialog service shown with Qt's own message boxes and file dialogs.
#pragma once

#include <QMessageBox>
#include <QString>
#include <memory>

#include "dialogs/UiServices.h"

class QFileDialog;

namespace fotavel {

class QtUiServices : public UiServices {
 public:
  MessageAnswer Message(const QString& text, MessageIcon icon, MessageButtons buttons,
                        QWidget* owner = nullptr, const QString& title = kAppTitle) override;
  std::optional<FileChoice> ChooseFile(FileDialogKind kind, const FileDialogRequest& request,
                                       QWidget* owner = nullptr) override;

  // The two halves of Message and ChooseFile, public so the window's tests can
  // look at the boxes as they are set up without running them.
  static std::unique_ptr<QMessageBox> MakeMessageBox(const QString& text, MessageIcon icon,
                                                     MessageButtons buttons, QWidget* owner);
  static MessageAnswer AnswerOf(QMessageBox::StandardButton pressed, MessageButtons buttons);

  static std::unique_ptr<QFileDialog> MakeFileDialog(FileDialogKind kind,
                                                     const FileDialogRequest& request,
                                                     QWidget* owner);
  // What an accepted dialog made by MakeFileDialog(…, request, …) returns.
  static FileChoice ChoiceOf(const QFileDialog& dialog, const FileDialogRequest& request);

  // The 1-based entry of the request's filters a Qt name filter the dialog
  // reports as selected stands for; the entry shown first when none.
  static int FilterIndexOf(const FileDialogRequest& request, const QString& selected);

  // The Qt name filter standing for `filter`: its description followed by its
  // wildcards in the form Qt reads ("Desc (*.JPG *.PNG)"); the dialog shows
  // the description alone.
  static QString NameFilterOf(const FileFilter& filter);
};

}  // namespace fotavel
