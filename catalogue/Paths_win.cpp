// Paths_win: stored-path rules on Windows, where only ":\" marks an absolute path.
#include "Paths.h"

#include <QDir>

namespace Paths {

QChar separator() { return u'\\'; }

bool isAbsolute(const QString &stored) { return stored.contains(QLatin1String(":\\")); }

QString toFileSystem(const QString &stored) { return stored; }

QString toNativeFolder(const QString &folder) { return QDir::toNativeSeparators(folder); }

} // namespace Paths
