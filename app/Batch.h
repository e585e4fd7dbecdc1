// Batch: the work a command line asks for without a window: a folder scanned into list text, a list
// exported as a page or a playlist.
#pragma once

#include "BatchCommand.h"

namespace Batch {

/// Does a command's work (Mode not Window), relative paths in lists taken from programFolder. The list
/// text goes to standard output (UTF-8) or its file; warnings, progress (on a terminal only) and an
/// error, one line "kestrune: ...", go to standard error. Returns the exit status: 0 done, 1 failed.
/// Needs a QCoreApplication.
int Run(const BatchCommand::TCommand &command, const QString &programFolder);

} // namespace Batch
