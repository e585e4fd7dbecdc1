// SafeSave_win: QSaveFile writes a temporary file beside the target and replaces it when complete.
#include "SafeSave.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

bool SafeSave::WriteFile(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(bytes) != bytes.size())
        return false;
    return file.commit();
}

bool SafeSave::RemoveFile(const QString &path)
{
    const QFileInfo info(path);
    return info.isFile() && !info.isSymLink() && info.isWritable() && QFile::remove(path);
}
