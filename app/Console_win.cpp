// Console_win: the C runtime's terminal test, and binary mode against its CR LF translation.
#include "Console.h"

#include <cstdio>
#include <fcntl.h>
#include <io.h>

namespace Console {

bool ErrorIsTerminal()
{
    return _isatty(_fileno(stderr)) != 0;
}

void BinaryOutput()
{
    _setmode(_fileno(stdout), _O_BINARY);
}

} // namespace Console
