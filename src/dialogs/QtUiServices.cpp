// Message boxes and file dialogs shown with Qt's widgets.
#include "dialogs/QtUiServices.h"

#include <QAbstractButton>
#include <QFileDialog>

namespace fotavel {
namespace {

QMessageBox::Icon QtIcon(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::Information:
      return QMessageBox::Information;
    case MessageIcon::Question:
      return QMessageBox::Question;
    case MessageIcon::Exclamation:
      return QMessageBox::Warning;
    case MessageIcon::Stop:
      return QMessageBox::Critical;
    case MessageIcon::None:
      break;
  }
  return QMessageBox::NoIcon;
}

// The answer a box gives when it is closed without a button.
MessageAnswer EscapeAnswer(MessageButtons buttons) {
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

// The texts use the "\r\n" line breaks the program writes everywhere; a
// label would show the "\r" as a stray glyph on some platforms.
QString DisplayText(const QString& text) {
  QString shown = text;
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return shown;
}

}  // namespace

std::unique_ptr<QMessageBox> QtUiServices::MakeMessageBox(const QString& text, MessageIcon icon,
                                                          MessageButtons buttons, QWidget* owner) {
  auto box = std::make_unique<QMessageBox>(owner);
  box->setWindowTitle(kAppTitle);
  box->setIcon(QtIcon(icon));
  // A file name may hold "<": the text is never markup.
  box->setTextFormat(Qt::PlainText);
  box->setText(DisplayText(text));
  switch (buttons) {
    case MessageButtons::Ok:
      box->setStandardButtons(QMessageBox::Ok);
      box->setDefaultButton(QMessageBox::Ok);
      box->setEscapeButton(QMessageBox::Ok);
      break;
    case MessageButtons::YesNo:
      box->setStandardButtons(QMessageBox::Yes | QMessageBox::No);
      box->setDefaultButton(QMessageBox::Yes);
      box->setEscapeButton(QMessageBox::No);
      break;
    case MessageButtons::YesNoCancel:
      box->setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
      box->setDefaultButton(QMessageBox::Yes);
      box->setEscapeButton(QMessageBox::Cancel);
      break;
  }
  return box;
}

MessageAnswer QtUiServices::AnswerOf(QMessageBox::StandardButton pressed, MessageButtons buttons) {
  switch (pressed) {
    case QMessageBox::Ok:
      return MessageAnswer::Ok;
    case QMessageBox::Yes:
      return MessageAnswer::Yes;
    case QMessageBox::No:
      return MessageAnswer::No;
    case QMessageBox::Cancel:
      return MessageAnswer::Cancel;
    default:
      return EscapeAnswer(buttons);
  }
}

MessageAnswer QtUiServices::Message(const QString& text, MessageIcon icon, MessageButtons buttons,
                                    QWidget* owner, const QString& title) {
  const std::unique_ptr<QMessageBox> box = MakeMessageBox(text, icon, buttons, owner);
  box->setWindowTitle(title);
  box->exec();
  return AnswerOf(box->standardButton(box->clickedButton()), buttons);
}

QString QtUiServices::NameFilterOf(const FileFilter& filter) {
  QStringList wildcards = filter.pattern.split(u';', Qt::SkipEmptyParts);
  for (QString& wildcard : wildcards) {
    wildcard = wildcard.trimmed();
    // "*.*" means every file, including those without an extension, which
    // the literal pattern would leave out here.
    if (wildcard == QStringLiteral("*.*")) wildcard = QStringLiteral("*");
  }
  wildcards.removeAll(QString());
  if (wildcards.isEmpty()) wildcards.append(QStringLiteral("*"));
  // Qt reads the wildcards from the last parenthesised group and shows, with
  // HideNameFilterDetails, what stands before it: the description verbatim,
  // even one that carries its own "(*.JPG;*.PNG)".
  return filter.description + QStringLiteral(" (") + wildcards.join(u' ') + u')';
}

std::unique_ptr<QFileDialog> QtUiServices::MakeFileDialog(FileDialogKind kind,
                                                          const FileDialogRequest& request,
                                                          QWidget* owner) {
  auto dialog = std::make_unique<QFileDialog>(owner);
  // The same dialog on every desktop, and one the tests can drive.
  dialog->setOption(QFileDialog::DontUseNativeDialog);
  dialog->setOption(QFileDialog::HideNameFilterDetails);
  if (kind == FileDialogKind::Open) {
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    if (request.multiSelect) {
      dialog->setFileMode(QFileDialog::ExistingFiles);
    } else if (request.mustExist) {
      dialog->setFileMode(QFileDialog::ExistingFile);
    } else {
      dialog->setFileMode(QFileDialog::AnyFile);
    }
  } else {
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    // Qt asks before replacing a file unless told not to.
    dialog->setOption(QFileDialog::DontConfirmOverwrite, !request.overwritePrompt);
  }
  // An empty title leaves Qt's own "Open" / "Save As".
  if (!request.title.isEmpty()) dialog->setWindowTitle(request.title);
  if (!request.filters.isEmpty()) {
    QStringList nameFilters;
    for (const FileFilter& filter : request.filters) nameFilters.append(NameFilterOf(filter));
    dialog->setNameFilters(nameFilters);
    dialog->selectNameFilter(nameFilters.at(ShownFilterIndex(request) - 1));
  }
  if (!request.initialDir.isEmpty()) dialog->setDirectory(request.initialDir);
  if (!request.defaultExt.isEmpty()) {
    // A name typed without an extension takes that of the type chosen in the list.
    QFileDialog* shown = dialog.get();
    shown->setDefaultSuffix(DefaultExtensionFor(request, ShownFilterIndex(request)));
    QObject::connect(
        shown, &QFileDialog::filterSelected, shown, [shown, request](const QString& selected) {
          shown->setDefaultSuffix(DefaultExtensionFor(request, FilterIndexOf(request, selected)));
        });
  }
  // After the folder: a bare name lands in it, a path opens its own folder.
  if (!request.defaultName.isEmpty()) dialog->selectFile(request.defaultName);
  return dialog;
}

FileChoice QtUiServices::ChoiceOf(const QFileDialog& dialog, const FileDialogRequest& request) {
  FileChoice choice;
  choice.paths = dialog.selectedFiles();
  choice.path = choice.paths.value(0);
  choice.filterIndex = FilterIndexOf(request, dialog.selectedNameFilter());
  return choice;
}

int QtUiServices::FilterIndexOf(const FileDialogRequest& request, const QString& selected) {
  // With the details hidden Qt reports the entry as shown, without its
  // wildcards; other versions report the whole name filter. Either names
  // the entry; two entries with the same description are told apart by none.
  for (qsizetype i = 0; i < request.filters.size(); ++i) {
    const QString nameFilter = NameFilterOf(request.filters.at(i));
    if (selected == nameFilter || selected == request.filters.at(i).description.trimmed()) {
      return static_cast<int>(i) + 1;
    }
  }
  return ShownFilterIndex(request);
}

std::optional<FileChoice> QtUiServices::ChooseFile(FileDialogKind kind,
                                                   const FileDialogRequest& request,
                                                   QWidget* owner) {
  const std::unique_ptr<QFileDialog> dialog = MakeFileDialog(kind, request, owner);
  if (dialog->exec() != QDialog::Accepted) return std::nullopt;
  FileChoice choice = ChoiceOf(*dialog, request);
  if (choice.path.isEmpty()) return std::nullopt;
  return choice;
}

}  // namespace fotavel
