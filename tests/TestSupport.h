// TestSupport: file and error helpers shared by every test.
#pragma once

#include "KsError.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

namespace TestSupport {

/// Writes bytes to a file of the folder and returns its path; a failed write ends the test run.
inline QString writeFile(const QTemporaryDir &dir, const QString &name, const QByteArray &bytes)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write test file %s", qPrintable(path));
    return path;
}

/// The message of the KsError that f throws, or an empty text when it throws none.
template <typename F> QString errorOf(F f)
{
    try {
        f();
    } catch (const KsError &e) {
        return e.message();
    }
    return QString();
}

} // namespace TestSupport
