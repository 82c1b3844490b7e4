// The command line of fotavel-batch, read into options before any file is touched.
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

#include "document/Commands.h"
#include "io/SaveFormats.h"

namespace fotavel::batch {

using OutputFormat = io::SaveFormat;

struct EffectStep {
  QString text;  // as written, for messages ("clair=30")
  const CommandInfo* command = nullptr;
  CommandArgument argument;
};

struct BatchOptions {
  std::vector<EffectStep> effects;
  QStringList inputs;
  QString output;
  int quality = 70;
  bool formatGiven = false;
  OutputFormat format = OutputFormat::Jpeg;
  QString paramFolder;
  bool timings = false;
  // A JPEG's metadata goes into the JPEG written from it (--sans-meta: not).
  bool metadata = true;
  // --sans-perte: the photo is written without loss or not at all.
  bool lossless = false;
  // --poids-max: the largest file allowed, in bytes; 0 when not given.
  std::uint64_t maxBytes = 0;
  bool help = false;
  // How many photos are worked on at once (-j); 0 when not given: one per core.
  int jobs = 0;
  // Threads each photo's passes share (--threads); 0 when not given: the
  // cores, or FOTAVEL_THREADS. Either way held to the cores -j leaves each photo.
  int threads = 0;
};

// Reads the arguments (without the program name). False with a French
// message in `error` for a usage error; the caller prints the usage. Names
// are taken as they are: the caller decodes the command line with
// io::ArgumentsFromNative, so that a name that is not UTF-8 keeps its bytes.
bool ParseArguments(const QStringList& arguments, BatchOptions& options, QString& error);

// The output format a single output file's extension asks for (any that
// io::FormatForName knows); false when it is none of them.
bool FormatForFile(const QString& path, OutputFormat& format);

// Where the result of `input` goes when there are several inputs: its base
// name with the format's usual extension (io::ExtensionFor).
QString OutputPathFor(const QString& input, const QString& folder, OutputFormat format);

// Where each input's result goes, in input order: the output itself for a
// single input, otherwise OutputPathFor in the output folder.
std::vector<QString> OutputTargets(const BatchOptions& options);

QString UsageText();

}  // namespace fotavel::batch
