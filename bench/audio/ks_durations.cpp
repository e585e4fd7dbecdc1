// ks_durations: prints each MP3 file below a folder with its play time in milliseconds.
#include "AudioInfo.h"
#include "KsError.h"

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
    QDirIterator it(QString::fromLocal8Bit(argv[1]), {QStringLiteral("*.mp3")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        files.append(it.next());
    std::sort(files.begin(), files.end());

    TAudioInfo info;
    int failures = 0;
    for (const QString &file : files) {
        try {
            info.AnalyzeFile(file);
            std::printf("%s\t%lld\n", file.toLocal8Bit().constData(), static_cast<long long>(info.Duration));
        } catch (const KsError &e) {
            std::fprintf(stderr, "%s: %s\n", file.toLocal8Bit().constData(), e.what());
            ++failures;
        }
    }
    return failures ? 1 : 0;
}
