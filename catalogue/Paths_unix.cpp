// Paths_unix: stored-path rules on Linux, where "/" starts an absolute path and "\" is read as "/".
#include "Paths.h"

#include <QCoreApplication>

namespace Paths {

QChar separator() { return u'/'; }

bool isAbsolute(const QString &stored)
{
    return stored.contains(QLatin1String(":\\")) || stored.startsWith(u'/');
}

QString toFileSystem(const QString &stored)
{
    QString path = stored;
    path.replace(u'\\', u'/');
    return path;
}

QString executableFolder()
{
    const QString dir = QCoreApplication::applicationDirPath();
    return dir.isEmpty() || dir.endsWith(u'/') ? dir : dir + u'/';
}

} // namespace Paths
