// Runs fotavel-batch's effects on each input through the photo document, and writes the results.
#include "batch/BatchRunner.h"

#include <QElapsedTimer>
#include <QFileInfo>

#include "document/AppServices.h"
#include "document/DocumentError.h"
#include "document/Messages.h"
#include "document/PhotoDocument.h"
#include "effects/ImageProcessError.h"
#include "io/PictureFiles.h"

namespace fotavel::batch {
namespace {

// Listens to the document the way the window's status area would, and draws
// a text progress bar when standard error is a terminal.
class BatchObserver : public DocumentObserver {
 public:
  BatchObserver(QTextStream& err, bool progressBar) : err_(err), progressBar_(progressBar) {}

  void ProgressMax(std::int32_t max) override { max_ = max; }
  void ProgressValue(std::int32_t value) override {
    if (!progressBar_ || max_ <= 0) return;
    const int percent = int(std::int64_t(std::max(value, 0)) * 100 / max_);
    if (percent == shown_) return;
    shown_ = percent;
    const int filled = percent * 30 / 100;
    err_ << '\r' << label_ << " [" << QString(filled, QLatin1Char('#'))
         << QString(30 - filled, QLatin1Char(' ')) << "] " << percent << " %" << Qt::flush;
  }
  void ShowProgress(bool visible) override {
    if (!visible && progressBar_ && shown_ >= 0) {
      err_ << '\r' << QString(label_.size() + 40, QLatin1Char(' ')) << '\r' << Qt::flush;
    }
    shown_ = -1;
  }
  void MemoryWarning(const QString& text) override {
    if (!warned_)
      err_ << QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")) << '\n';
    warned_ = true;
  }
  void PassComplete(std::int32_t milliseconds) override {
    passes_++;
    lastPassMs_ = milliseconds;
  }

  void Begin(const QString& label) {
    label_ = label;
    passes_ = 0;
  }
  int passes() const { return passes_; }
  std::int32_t lastPassMs() const { return lastPassMs_; }

 private:
  QTextStream& err_;
  bool progressBar_;
  QString label_;
  std::int32_t max_ = 0;
  int shown_ = -1;
  int passes_ = 0;
  std::int32_t lastPassMs_ = 0;
  bool warned_ = false;
};

// One line per failure: the photo, what went wrong, then the error's number
// and source for whoever reports it further.
void PrintFailure(QTextStream& err, const QString& input, const Error& e) {
  err << input << " : " << FailureText(e) << " (erreur 0x"
      << QString::number(e.number(), 16).toUpper() << ", " << QString::fromStdString(e.source())
      << ")\n";
}

// Opens `input`, runs the effects and writes the result to `target`. False
// when it could not be read or written (said on `err`); throws when an effect
// fails.
bool RunOne(const BatchOptions& options, AppServices& services, BatchObserver& observer,
            const QString& input, const QString& target, QTextStream& err) {
  PhotoDocument document(services, &observer);
  document.SetUndoEnabled(false);
  CommandContext context;
  context.readPicture = [](const QString& path, cDIBSection& out, QString& error) {
    return io::ReadPicture(path, out, error);
  };
  QString error;
  if (!document.OpenFile(input, false, error)) {
    err << Messages::kOuvertureErreur << input << " : " << error << '\n';
    return false;
  }
  if (!options.metadata) document.DropMetadata();
  for (const EffectStep& step : options.effects) {
    observer.Begin(step.text);
    QElapsedTimer clock;
    clock.start();
    step.command->run(document, step.argument, context);
    if (options.timings) {
      // The status line shows the time of the last engine pass; a command
      // without one (a resize) is timed as a whole.
      const qint64 ms = observer.passes() > 0 ? observer.lastPassMs() : clock.elapsed();
      err << step.text << " : " << Messages::Realise(int(ms)) << '\n';
    }
  }
  const bool written = options.format == OutputFormat::Jpeg
                           ? document.FoncEregJPG(options.quality, target, error)
                           : document.SaveBitmap(target, error);
  if (!written) err << Messages::kEnregistrementErreur << target << " : " << error << '\n';
  return written;
}

}  // namespace

int RunBatch(const BatchOptions& options, const QString& programFolder, QTextStream& err,
             bool progressBar) {
  AppServices services(programFolder);
  if (!options.paramFolder.isEmpty()) services.SetParamFolder(options.paramFolder);
  BatchObserver observer(err, progressBar);
  const bool severalInputs = options.inputs.size() > 1 || QFileInfo(options.output).isDir();

  int status = 0;
  for (const QString& input : options.inputs) {
    const QString target =
        severalInputs ? OutputPathFor(input, options.output, options.format) : options.output;
    try {
      if (!RunOne(options, services, observer, input, target, err)) status = 1;
    } catch (...) {
      // An effect refused, or memory ran out anywhere on the way: this photo
      // is not written, the next one still gets its chance.
      PrintFailure(err, input, DescribeFailure(std::current_exception()));
      status = 1;
    }
  }
  return status;
}

}  // namespace fotavel::batch
