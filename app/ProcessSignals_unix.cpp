// ProcessSignals_unix: SIGXFSZ is ignored, so that write() fails with EFBIG.
#include "ProcessSignals.h"

#include <csignal>

void IgnoreFileSizeSignal()
{
    std::signal(SIGXFSZ, SIG_IGN);
}
