// LinesFile: whole-file reads into lines and safe whole-file writes in the encoding the file came in.
#include "LinesFile.h"

#include "KsError.h"
#include "Paths.h"
#include "SafeSave.h"
#include "TextCodec.h"
#include "UndoHistory.h"
#include "language.h"

#include <QFile>
#include <QFileInfo>

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

const QString &lineAt(const QStringList &lines, qsizetype index)
{
    if (index < 0 || index >= lines.size())
        throw KsError::indexOutOfBounds(index);
    return lines.at(index);
}

QString valueAt(const QStringList &lines, qsizetype index, const QString &key)
{
    return language::Trim(language::CutSubstring(lineAt(lines, index), key));
}

TLinesText readFile(const QString &fileName, const TReadLimits &limits)
{
    const QString path = Paths::toFileSystem(fileName);
    // Looked at before it is opened: opening a FIFO would wait for a writer, and a device such as
    // /dev/zero never ends. QFile opens a folder without complaint on Linux; a folder is no list.
    const QFileInfo info(path);
    if (!info.isFile() || info.size() > limits.MaxBytes)
        throw KsError::cannotOpen(fileName);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw KsError::cannotOpen(fileName);
    // A file that grew since it was looked at is read on to its end, but not past the limit.
    QByteArray bytes = file.read(info.size());
    while (file.error() == QFileDevice::NoError && bytes.size() <= limits.MaxBytes) {
        const QByteArray more = file.read(64 * 1024);
        if (more.isEmpty())
            break;
        bytes += more;
    }
    if (file.error() != QFileDevice::NoError || bytes.size() > limits.MaxBytes)
        throw KsError::cannotOpen(fileName);
    if (limits.Utf16Marks && TextCodec::utf16MarkOf(bytes) != TextCodec::TUtf16::None && bytes.size() % 2 != 0)
        throw KsError::cannotOpen(fileName);
    TLinesText text;
    text.Lines = TextCodec::decodeLines(bytes, &text.Encoding, limits.Utf16Marks);
    return text;
}

QStringList readLines(const QString &fileName)
{
    return readFile(fileName).Lines;
}

TextCodec::TFileEncoding writeFile(const QString &fileName, const QStringList &lines,
                                   const TextCodec::TFileEncoding &encoding, TUndoHistory *history)
{
    TextCodec::TFileEncoding written = TextCodec::encodingForSave(lines, encoding);
    const QString path = Paths::toFileSystem(fileName);
    const QByteArray bytes = TextCodec::encodeLines(lines, written);
    if (!(history ? history->Write(path, bytes) : SafeSave::WriteFile(path, bytes)))
        throw KsError::cannotCreate(fileName);
    return written;
}

void writeLines(const QString &fileName, const QStringList &lines, TUndoHistory *history)
{
    writeFile(fileName, lines, TextCodec::TFileEncoding(), history);
}

} // namespace LinesFile
