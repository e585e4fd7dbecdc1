// LinesFile: whole-file reads into lines and atomic whole-file writes.
#include "LinesFile.h"

#include "KsError.h"
#include "Paths.h"
#include "TextCodec.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace LinesFile {

QStringList splitLines(const QString &text)
{
    QStringList lines;
    const QChar *data = text.constData();
    const qsizetype n = text.size();
    qsizetype start = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = data[i].unicode();
        if (c != u'\r' && c != u'\n')
            continue;
        lines.append(QString(data + start, i - start));
        if (c == u'\r' && i + 1 < n && data[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < n)
        lines.append(QString(data + start, n - start));
    return lines;
}

QString joinLines(const QStringList &lines)
{
    qsizetype total = 0;
    for (const QString &line : lines)
        total += line.size() + 2;
    QString text;
    text.reserve(total);
    for (const QString &line : lines) {
        text += line;
        text += QLatin1String("\r\n");
    }
    return text;
}

QString readText(const QString &fileName)
{
    const QString path = Paths::toFileSystem(fileName);
    QFile file(path);
    // QFile opens a folder without complaint on Linux; a folder is no list.
    if (QFileInfo(path).isDir() || !file.open(QIODevice::ReadOnly))
        throw KsError::cannotOpen(fileName);
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw KsError::cannotOpen(fileName);
    return TextCodec::decodeFile(bytes);
}

QStringList readLines(const QString &fileName)
{
    return splitLines(readText(fileName));
}

void writeText(const QString &fileName, const QString &text)
{
    const QByteArray bytes = TextCodec::encodeFile(text);
    QSaveFile file(Paths::toFileSystem(fileName));
    if (!file.open(QIODevice::WriteOnly))
        throw KsError::cannotCreate(fileName);
    if (file.write(bytes) != bytes.size() || !file.commit())
        throw KsError::cannotCreate(fileName);
}

void writeLines(const QString &fileName, const QStringList &lines)
{
    writeText(fileName, joinLines(lines));
}

} // namespace LinesFile
