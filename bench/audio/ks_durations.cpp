// ks_durations: prints each audio file below a folder with its play time in milliseconds, the exact
// length it was rounded from where the container keeps one ("-" where not), and its format.
#include "AudioInfo.h"
#include "KsError.h"
#include "PlayTime.h"

#include <QDirIterator>
#include <QStringList>

#include <algorithm>
#include <cstdio>

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: ks_durations FOLDER\n");
        return 2;
    }
    QStringList files;
    QDirIterator it(QString::fromLocal8Bit(argv[1]), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        if (PlayTime::IsAudioName(file))
            files.append(file);
    }
    std::sort(files.begin(), files.end());

    TAudioInfo info;
    int failures = 0;
    for (const QString &file : files) {
        try {
            info.AnalyzeFile(file);
            const QByteArray exact = info.Samples.Known()
                ? QByteArray::number(double(info.Samples.Frames) * 1000 / double(info.Samples.Rate), 'f', 1)
                : QByteArrayLiteral("-");
            std::printf("%s\t%lld\t%s\t%s\n", file.toLocal8Bit().constData(), static_cast<long long>(info.Duration),
                        exact.constData(), qPrintable(AudioFormats::Name(info.Format)));
        } catch (const KsError &e) {
            std::fprintf(stderr, "%s: %s\n", file.toLocal8Bit().constData(), e.what());
            ++failures;
        }
    }
    return failures ? 1 : 0;
}
