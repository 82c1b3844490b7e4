// Runs fotavel-batch's effects on each input through the photo document.
#pragma once

#include <QTextStream>
#include <cstdint>

#include "batch/BatchOptions.h"

namespace fotavel::batch {

// Exit codes: 0 every photo written, 1 a photo failed (the others went on), 2 usage:
// before any photo is read for the arguments' text, or when a photo could not
// take an effect's argument (MisfitArgument; the others went on, and 2 wins
// over 1).
// The memory the photos share is what the machine has available when the
// run begins.
int RunBatch(const BatchOptions& options, const QString& programFolder, QTextStream& err,
             bool progressBar);
// The same with `availableMemory` bytes to share (0: not known, as when the
// system does not say).
int RunBatch(const BatchOptions& options, const QString& programFolder, QTextStream& err,
             bool progressBar, std::uint64_t availableMemory);

}  // namespace fotavel::batch
