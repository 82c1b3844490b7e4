// Runs fotavel-batch's effects on each input through the photo document, several photos at once,
// and says what happened in the order of the inputs.
#include "batch/BatchRunner.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QHash>
#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <exception>
#include <limits>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#include "batch/FileIdentity.h"
#include "document/AppServices.h"
#include "document/DocumentError.h"
#include "document/Messages.h"
#include "document/PhotoDocument.h"
#include "effects/ImageProcessError.h"
#include "io/FileError.h"
#include "io/PictureFiles.h"
#include "io/SystemMemory.h"
#include "surface/WorkerPool.h"

namespace fotavel::batch {
namespace {

// Everything the photos of a run have to say, kept per photo until it is the
// photo's turn to be printed, so that the text comes out in input order and
// the same whatever the number of workers. Workers append; the thread that
// called RunBatch prints.
class RunLog {
 public:
  explicit RunLog(std::size_t photos) : photos_(photos) {}

  void Append(std::size_t photo, QString text, bool memoryWarning = false) {
    const std::lock_guard lock(mutex_);
    photos_[photo].pieces.push_back({std::move(text), memoryWarning});
    Changed();
  }
  // `status`: the photo's exit status (see RunBatch).
  void Finish(std::size_t photo, int status) noexcept {
    const std::lock_guard lock(mutex_);
    photos_[photo].finished = true;
    photos_[photo].status = status;
    ++finished_;
    Changed();
    finishedOne_.notify_all();
  }
  // Returns once every photo of `photos` has finished.
  void WaitFor(const std::vector<std::size_t>& photos) {
    std::unique_lock lock(mutex_);
    finishedOne_.wait(lock, [&] {
      return std::all_of(photos.begin(), photos.end(),
                         [this](std::size_t photo) { return photos_[photo].finished; });
    });
  }

  // Prints each photo's pieces as soon as every photo before it has finished,
  // redrawing the count of finished photos after them, until the last photo
  // has finished. The highest of the photos' statuses.
  int Relay(QTextStream& err, bool progressBar);

 private:
  struct Piece {
    QString text;
    // The warning that the machine may lack memory for the photo's size is
    // said once per run, by the first photo in input order that meets it.
    bool memoryWarning;
  };
  struct Photo {
    std::vector<Piece> pieces;
    bool finished = false;
    int status = 0;
  };

  void Changed() {
    changed_ = true;
    wake_.notify_one();
  }

  std::mutex mutex_;
  std::condition_variable wake_;
  std::condition_variable finishedOne_;
  bool changed_ = false;
  std::vector<Photo> photos_;
  std::size_t finished_ = 0;
};

// The count of finished photos on a line of its own at the bottom of a
// terminal; text printed meanwhile goes above it.
class PhotoCount {
 public:
  PhotoCount(QTextStream& err, bool shown, std::size_t total)
      : err_(err), shown_(shown), total_(total) {}

  void Print(const QString& text, std::size_t finished) {
    if (drawn_ > 0) err_ << '\r' << QString(drawn_, QLatin1Char(' ')) << '\r';
    drawn_ = 0;
    err_ << text;
    if (shown_ && finished < total_) {
      const int filled = int(finished * kBar / total_);
      const QString line = QCoreApplication::translate("fotavel-batch", "Photos [%1%2] %3/%4")
                               .arg(QString(filled, QLatin1Char('#')))
                               .arg(QString(kBar - filled, QLatin1Char(' ')))
                               .arg(finished)
                               .arg(total_);
      err_ << line;
      drawn_ = line.size();
    }
    err_ << Qt::flush;
  }

 private:
  static constexpr int kBar = 30;
  QTextStream& err_;
  bool shown_;
  std::size_t total_;
  qsizetype drawn_ = 0;  // the length of the line on the screen, 0 when none is
};

int RunLog::Relay(QTextStream& err, bool progressBar) {
  PhotoCount count(err, progressBar, photos_.size());
  std::size_t head = 0;     // the first photo not wholly printed
  std::size_t printed = 0;  // how many of its pieces are
  std::size_t counted = std::numeric_limits<std::size_t>::max();
  bool warned = false;
  int status = 0;
  std::unique_lock lock(mutex_);
  for (;;) {
    changed_ = false;
    QString text;
    while (head < photos_.size()) {
      Photo& photo = photos_[head];
      for (; printed < photo.pieces.size(); ++printed) {
        const Piece& piece = photo.pieces[printed];
        if (piece.memoryWarning && std::exchange(warned, true)) continue;
        text += piece.text;
      }
      if (!photo.finished) break;
      status = std::max(status, photo.status);
      photo.pieces = {};
      ++head;
      printed = 0;
    }
    const std::size_t finished = finished_;
    const bool done = head == photos_.size();
    lock.unlock();
    if (!text.isEmpty() || finished != counted) count.Print(text, finished);
    counted = finished;
    if (done) return status;
    lock.lock();
    wake_.wait(lock, [this] { return changed_; });
  }
}

// One photo's listener: what the window's status area would show that the
// batch tool says.
class PhotoObserver : public DocumentObserver {
 public:
  PhotoObserver(RunLog& log, std::size_t photo) : log_(log), photo_(photo) {}

  void MemoryWarning(const QString& text) override {
    log_.Append(photo_, QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")) + '\n',
                true);
  }
  void PassComplete(std::int32_t milliseconds) override {
    passes_++;
    lastPassMs_ = milliseconds;
  }

  void Begin() { passes_ = 0; }
  int passes() const { return passes_; }
  std::int32_t lastPassMs() const { return lastPassMs_; }

 private:
  RunLog& log_;
  std::size_t photo_;
  int passes_ = 0;
  std::int32_t lastPassMs_ = 0;
};

// Every failure of a photo, whatever failed (opening it, an effect, the logo,
// the second photo of a combination, saving), in one shape: the photo, what
// went wrong as the window says it (an open or a save failure after its
// message's head), then the error's number and source for whoever reports it
// further. An open or save failure of another file than the photo (its
// result, the second photo) names that file after the head, the one thing
// the window's message leaves out.
QString FailureLine(const QString& input, std::exception_ptr failure) {
  const Error error = DescribeFailure(failure);
  const QString prefix = FailurePrefix(error);
  QString file;
  try {
    std::rethrow_exception(failure);
  } catch (const io::FileError& fileError) {
    if (!prefix.isEmpty() && fileError.path() != input) file = fileError.path();
  } catch (...) {
  }
  return QCoreApplication::translate("fotavel-batch", "%1 : %2%3%4 (erreur 0x%5, %6)\n")
      .arg(input, prefix,
           file.isEmpty() ? QString()
                          : QCoreApplication::translate("fotavel-batch", "%1 : ").arg(file),
           QString::fromStdString(error.description()),
           QString::number(error.number(), 16).toUpper(), QString::fromStdString(error.source()));
}

// A photo only turned since it was opened from a JPEG is written by moving
// its blocks when they all move whole: nothing is lost, and it is faster than
// an encode. Blocks that would not move whole, or any other change, take the
// encoder, unless the run asked for no loss (--sans-perte): then the photo is
// refused, with the reason (other changes, edges off the blocks, not a JPEG),
// as any photo that cannot be written. Unturned, its blocks are then copied
// as they are.
void SaveJpeg(const BatchOptions& options, PhotoDocument& document, const QString& target) {
  if (options.lossless) {
    document.SaveJpegLossless(target, false);
    return;
  }
  const LosslessJpeg lossless = document.LosslessJpegSave();
  if (lossless.possible && lossless.perfect) {
    document.SaveJpegLossless(target, false);
  } else {
    document.FoncEregJPG(options.quality, target);
  }
}

// Writes the result in the format the options ask for. A photo that had to
// be made smaller to fit --poids-max is said, with the size it was written
// at: the file no longer holds all the photo's pixels.
void SaveResult(const BatchOptions& options, PhotoDocument& document, const QString& target,
                RunLog& log, std::size_t photo) {
  const io::EncodeSettings settings{
      .format = options.format, .quality = options.quality, .lossless = options.lossless};
  if (options.maxBytes != 0) {
    const SizeFitted fitted = document.SaveWithinSize(target, settings, options.maxBytes);
    if (fitted.halvings > 0) {
      log.Append(photo,
                 QCoreApplication::translate(
                     "fotavel-batch", "%1 : réduite à %2 x %3 pour ne pas dépasser %4 octets\n")
                     .arg(options.inputs[qsizetype(photo)])
                     .arg(fitted.width)
                     .arg(fitted.height)
                     .arg(options.maxBytes));
    }
  } else if (options.format == OutputFormat::Jpeg) {
    SaveJpeg(options, document, target);
  } else if (options.format == OutputFormat::Bmp) {
    document.SaveBitmap(target);
  } else {
    document.SavePicture(target, settings);
  }
}

// Opens `input`, runs the effects and writes the result to `target`; throws
// whatever failed on the way.
void RunOne(const BatchOptions& options, AppServices& services, RunLog& log, std::size_t photo,
            const QString& target, std::uint64_t memoryShare) {
  const QString& input = options.inputs[qsizetype(photo)];
  PhotoObserver observer(log, photo);
  PhotoDocument document(services, &observer);
  document.SetUndoEnabled(false);
  // The memory a command may count on is the photo's share of what was free
  // when the run began, less what its document already holds: the same
  // whatever the other photos are doing at that moment, so that a photo is
  // refused or warned about for its own sizes only, never for the order in
  // which the workers happen to meet the photos. 0 (not known) stays 0.
  if (memoryShare != 0) {
    document.SetAvailableMemoryProbe([&document, memoryShare] {
      const std::uint64_t held = document.HeldBytes();
      return held < memoryShare ? memoryShare - held : 1;
    });
  }
  // Each photo draws its diffusion as if it were the only one the program
  // ever opened: the result then does not depend on the other photos of the
  // run, their order or how many run at once.
  document.UseOwnRandomSequence();
  document.OpenFile(input, false);
  if (!options.metadata) document.DropMetadata();
  CommandContext context;
  for (const EffectStep& step : options.effects) {
    observer.Begin();
    QElapsedTimer clock;
    clock.start();
    step.command->run(document, step.argument, context);
    if (options.timings) {
      // The status line shows the time of the last engine pass; a command
      // without one (a resize) is timed as a whole.
      const qint64 ms = observer.passes() > 0 ? observer.lastPassMs() : clock.elapsed();
      log.Append(photo, QCoreApplication::translate("fotavel-batch", "%1 : %2")
                                .arg(step.text, Messages::Realise(int(ms))) +
                            '\n');
    }
  }
  SaveResult(options, document, target, log, photo);
}

// What the workers of a run share, set before the first one starts.
struct Run {
  const BatchOptions& options;
  const QString& programFolder;
  std::vector<QString> targets;  // where each photo's result goes
  // What each photo's commands may count on (see RunOne); 0 when not known.
  std::uint64_t memoryShare = 0;
  // The earlier photos each photo must wait for (see SharedFileOrder).
  std::vector<std::vector<std::size_t>> after;
  RunLog log;
  std::atomic<std::size_t> next{0};
};

// The photos each photo must wait for, so that photos sharing a file meet it
// in input order, as a single worker would have them: a photo that writes a
// file waits for the earlier ones that read or write it, a photo that reads a
// file for the earlier one that writes it. Two inputs of the same base name
// going into one folder, or a result written over a later input, then come
// out as with one worker. Files are compared by what they are (FileKey), not
// by how they are named: a link, a "..", a "./" or a hard link name the file
// they lead to.
std::vector<std::vector<std::size_t>> SharedFileOrder(const QStringList& inputs,
                                                      const std::vector<QString>& targets) {
  struct Use {
    std::optional<std::size_t> writer;
    std::vector<std::size_t> readers;  // since the last write
  };
  QHash<QString, Use> uses;
  std::vector<std::vector<std::size_t>> after(targets.size());
  for (std::size_t k = 0; k < targets.size(); ++k) {
    Use& read = uses[FileKey(inputs[qsizetype(k)])];
    if (read.writer) after[k].push_back(*read.writer);
    read.readers.push_back(k);
    Use& written = uses[FileKey(targets[k])];
    if (written.writer && *written.writer != k) after[k].push_back(*written.writer);
    for (std::size_t reader : written.readers) {
      if (reader != k) after[k].push_back(reader);
    }
    written.writer = k;
    written.readers.clear();
  }
  return after;
}

// A worker: takes the next photo not yet taken until there is none left, so
// that no more photos are open at once than there are workers. A photo is
// taken only after every photo before it, so the photos it waits for are
// already taken and the first photo not finished never waits.
void Work(Run& run) noexcept {
  const BatchOptions& options = run.options;
  for (std::size_t photo; (photo = run.next.fetch_add(1)) < run.targets.size();) {
    int status = 1;
    try {
      const QString& input = options.inputs[qsizetype(photo)];
      try {
        run.log.WaitFor(run.after[photo]);
        // The application's services hold a little state of their own (the
        // logo's readiness, the param folder once resolved): each photo has
        // its own, as it has its own document.
        AppServices services(run.programFolder);
        if (!options.paramFolder.isEmpty()) services.SetParamFolder(options.paramFolder);
        RunOne(options, services, run.log, photo, run.targets[photo], run.memoryShare);
        status = 0;
      } catch (const MisfitArgument&) {
        // An effect's argument this photo cannot take (a rectangle past its
        // edges) is the user's mistake, as a malformed one is, and the run
        // ends with the usage status. The photo is said and not written like
        // any refused photo, and the others are still done: stopping the
        // run here would leave written whichever photos the workers happened
        // to finish first.
        status = 2;
        run.log.Append(photo, FailureLine(input, std::current_exception()));
      } catch (...) {
        // Unreadable, refused by an effect, unwritable, or memory ran out
        // anywhere on the way: this photo is not written, the next one still
        // gets its chance.
        run.log.Append(photo, FailureLine(input, std::current_exception()));
      }
    } catch (...) {
      // Not even the failure could be put into words (no memory left for
      // them): the photo still counts as failed.
    }
    run.log.Finish(photo, status);
  }
}

}  // namespace

int RunBatch(const BatchOptions& options, const QString& programFolder, QTextStream& err,
             bool progressBar) {
  return RunBatch(options, programFolder, err, progressBar, io::AvailableMemoryBytes());
}

int RunBatch(const BatchOptions& options, const QString& programFolder, QTextStream& err,
             bool progressBar, std::uint64_t availableMemory) {
  const std::size_t photos = std::size_t(options.inputs.size());
  Run run{options, programFolder, OutputTargets(options), 0, {}, RunLog(photos)};
  run.after = SharedFileOrder(options.inputs, run.targets);

  const std::size_t jobs = std::min<std::size_t>(
      photos, options.jobs > 0 ? unsigned(options.jobs)
                               : std::max(1u, std::thread::hardware_concurrency()));
  // The photos worked on at once share the cores: each one's passes take at
  // most the cores left to it, so that -j × threads never exceeds them.
  const std::int32_t cores = std::int32_t(std::max(1u, std::thread::hardware_concurrency()));
  const std::int32_t wanted = options.threads > 0 ? options.threads : ThreadCount();
  const std::int32_t previousThreads = SetThreadCount(
      std::max<std::int32_t>(1, std::min<std::int32_t>(wanted, cores / std::int32_t(jobs))));
  std::vector<std::jthread> workers;
  workers.reserve(jobs);
  // As many photos may be open at once as there are workers: each has its
  // share of the memory, fixed before the first one starts. Opening a photo
  // takes half of it at most, as the window's documents take half of what
  // is free (the photo's scratch surface comes beside it); the budget is the
  // whole program's, so it is set here once for the run, not per photo.
  run.memoryShare = availableMemory / std::max<std::size_t>(jobs, 1);
  const std::uint64_t previousBudget = io::SetPictureMemoryBudget(
      run.memoryShare != 0 ? std::max<std::uint64_t>(run.memoryShare / 2, 1)
                           : io::PictureMemoryBudget());
  for (std::size_t i = 0; i < jobs; ++i) {
    try {
      workers.emplace_back([&run] { Work(run); });
    } catch (const std::system_error&) {
      // The system gives no more threads: the run goes on with those it gave.
      break;
    }
  }
  // With none at all this thread does the work, and prints once it is done.
  if (workers.empty()) Work(run);
  const int status = run.log.Relay(err, progressBar);
  workers.clear();
  SetThreadCount(previousThreads);
  io::SetPictureMemoryBudget(previousBudget);
  return status;
}

}  // namespace fotavel::batch
