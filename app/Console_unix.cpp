// Console_unix: terminals are told by isatty; output is never translated.
#include "Console.h"

#include <unistd.h>

namespace Console {

bool ErrorIsTerminal()
{
    return ::isatty(STDERR_FILENO) == 1;
}

void BinaryOutput()
{
}

} // namespace Console
