// Paths_win: stored-path rules on Windows, where only ":\" marks an absolute path.
#include "Paths.h"

#include "ProgramFile.h"

namespace Paths {

QChar separator() { return u'\\'; }

bool isAbsolute(const QString &stored) { return stored.contains(QLatin1String(":\\")); }

QString toFileSystem(const QString &stored) { return stored; }

QString executableFolder() { return QString::fromStdWString(ProgramFile::Folder()); }

} // namespace Paths
