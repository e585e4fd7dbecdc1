// ProcessSignals: how the process meets the system's signals, set once at start.
#pragma once

/// A write past the file size limit (ulimit -f) then fails with an error, so that the write's rollback
/// runs, instead of the system ending the program in the middle of it. Nothing to do where no such
/// signal exists.
void IgnoreFileSizeSignal();
