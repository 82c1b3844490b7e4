// fotavel-batch: the photo document's effects on many files, without a window.
#include <unistd.h>

#include <QCoreApplication>
#include <QLocale>
#include <QTextStream>
#include <cstdio>

#include "batch/BatchOptions.h"
#include "batch/BatchRunner.h"
#include "document/Translations.h"
#include "effects/ImageProcessError.h"
#include "io/FileNames.h"

int main(int argc, char** argv) {
  QCoreApplication application(argc, argv);
  fotavel::UseLanguage(fotavel::ChosenLanguage(QLocale::system().uiLanguages()));
  fotavel::SetProgramName(argv[0]);
  QTextStream out(stdout);
  QTextStream err(stderr);

  fotavel::batch::BatchOptions options;
  QString error;
  // The names as the bytes they were given: Qt's own decoding would turn a
  // byte that is not UTF-8 into another character, naming another file.
  if (!fotavel::batch::ParseArguments(fotavel::io::ArgumentsFromNative(argc, argv).mid(1), options,
                                      error)) {
    err << QCoreApplication::translate("fotavel-batch", "fotavel-batch : %1").arg(error) << "\n\n"
        << fotavel::batch::UsageText();
    return 2;
  }
  if (options.help) {
    out << fotavel::batch::UsageText();
    return 0;
  }
  return fotavel::batch::RunBatch(options, QCoreApplication::applicationDirPath(), err,
                                  isatty(STDERR_FILENO) != 0);
}
