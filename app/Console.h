// Console: the standard streams of the work without a window.
#pragma once

namespace Console {

/// True when standard error is a terminal, where progress is shown.
bool ErrorIsTerminal();

/// Standard output passes bytes as they are, with no translation of line ends.
void BinaryOutput();

} // namespace Console
