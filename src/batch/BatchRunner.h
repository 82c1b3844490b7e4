// Runs fotavel-batch's effects on each input through the photo document.
#pragma once

#include <QTextStream>
#include <cstdint>

#include "batch/BatchOptions.h"

namespace fotavel::batch {

// Exit codes: 0 every photo written, 1 a photo failed (the others went on), 2 usage.
// The memory the photos share is what the machine has available when the
// run begins.
int RunBatch(const BatchOptions& options, const QString& programFolder, QTextStream& err,
             bool progressBar);
// The same with `availableMemory` bytes to share (0: not known, as when the
// system does not say).
int RunBatch(const BatchOptions& options, const QString& programFolder, QTextStream& err,
             bool progressBar, std::uint64_t availableMemory);

}  // namespace fotavel::batch
