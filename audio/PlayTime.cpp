// PlayTime: "mm:ss" texts of durations and of audio files.
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

const QStringList &AudioExtensions()
{
    static const QStringList extensions{
        u"mp3"_s, u"mp2"_s, u"mp1"_s, u"mpga"_s,                   // MPEG audio
        u"flac"_s, u"ogg"_s, u"oga"_s, u"opus"_s, u"spx"_s,        // FLAC, Ogg
        u"m4a"_s, u"m4b"_s, u"m4r"_s, u"mp4"_s,                    // MP4
        u"wav"_s, u"aif"_s, u"aiff"_s, u"aifc"_s,                  // PCM
        u"wv"_s, u"ape"_s, u"mpc"_s, u"tta"_s, u"wma"_s, u"asf"_s, // through TagLib
    };
    return extensions;
}

bool IsAudioName(const QString &name)
{
    const QStringList &extensions = AudioExtensions();
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot >= 0 && extensions.contains(QStringView(name).mid(dot + 1), Qt::CaseInsensitive);
}

QString OfAudioFile(TAudioInfo &info, const QString &path, bool &readable)
{
    readable = true;
    if (!IsAudioName(path))
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
