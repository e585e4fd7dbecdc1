// ProcessSignals_win: Windows raises no signal for a file size limit.
#include "ProcessSignals.h"

void IgnoreFileSizeSignal()
{
}
