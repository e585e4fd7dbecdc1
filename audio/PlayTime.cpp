// PlayTime: "mm:ss" texts of durations and of MP3 files.
#include "PlayTime.h"

#include "AudioInfo.h"
#include "KsError.h"

using namespace Qt::StringLiterals;

namespace PlayTime {

QString Text(qint64 durationMs)
{
    const qint64 seconds = qMax<qint64>(0, durationMs) / 1000;
    return u"%1:%2"_s.arg(seconds / 60, 2, 10, QChar(u'0')).arg(seconds % 60, 2, 10, QChar(u'0'));
}

bool IsMp3Name(const QString &name)
{
    return name.endsWith(u".mp3"_s, Qt::CaseInsensitive);
}

QString OfFile(TAudioInfo &info, const QString &path, bool &readable)
{
    readable = true;
    if (!IsMp3Name(path))
        return QString();
    try {
        info.AnalyzeFile(path);
    } catch (const KsError &) {
        // An unreadable or vanished file: the caller counts it and tells the user once.
        readable = false;
        return Text(0);
    }
    return Text(info.Duration);
}

QString UnreadableMessage(int count)
{
    return u"Не удалось прочитать файлов: %1. Их длительность записана как 00:00."_s.arg(count);
}

} // namespace PlayTime
