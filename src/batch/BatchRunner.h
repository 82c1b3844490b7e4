// Runs fotavel-batch's effects on each input through the photo document.
#pragma once

#include <QTextStream>

#include "batch/BatchOptions.h"

namespace fotavel::batch {

// Exit codes: 0 every photo written, 1 a photo failed (the others went on), 2 usage.
int RunBatch(const BatchOptions& options, const QString& programFolder, QTextStream& err,
             bool progressBar);

}  // namespace fotavel::batch
