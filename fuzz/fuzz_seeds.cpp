// fuzz_seeds: writes the small seed corpus of the fuzz targets into a folder per target.
#include "TextCodec.h"

#include <QDir>
#include <QFile>
#include <QStringList>

namespace {

QStringList album(const QString &title, const QStringList &tracks, int count = -1)
{
    QStringList lines{ QStringLiteral("-newalbum"), QStringLiteral("author: Ансамбль"), QStringLiteral("album: ") + title,
                       QStringLiteral("url: "), QStringLiteral("discriptionfile: notes\\a.htm"),
                       QStringLiteral("nt: %1").arg(count < 0 ? tracks.size() : count), QStringLiteral("image: ") };
    for (const QString &t : tracks)
        lines << QStringLiteral("track: ") + t << QStringLiteral("size: 03:41") << QStringLiteral("file: C:\\m\\") + t
              << QStringLiteral("dfile: ");
    lines << QStringLiteral("--endofalbum");
    return lines;
}

void write(const QString &folder, const QString &name, const QByteArray &bytes)
{
    QDir().mkpath(folder);
    QFile f(folder + QLatin1Char('/') + name);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(f.fileName()));
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2)
        qFatal("usage: fuzz_seeds CORPUS_FOLDER");
    const QString root = QString::fromLocal8Bit(argv[1]);
    const QStringList plain = album(QStringLiteral("Зима"), { QStringLiteral("Первый снег"), QStringLiteral("Thaw") })
        + album(QStringLiteral("Live"), { QStringLiteral("a") }) + album(QStringLiteral("Live"), { QStringLiteral("a"), QStringLiteral("a") })
        + QStringList{ QStringLiteral("ini: dark.ini") };
    QStringList damaged = album(QStringLiteral("Big"), { QStringLiteral("x") }, 3) + album(QStringLiteral("Empty"), {});
    damaged.last() = QStringLiteral("--endofalbum ");
    const QStringList bjork = album(QStringLiteral("Björk"), { QStringLiteral("Jóga") });

    const QList<std::pair<QString, QByteArray>> seeds{
        { QStringLiteral("cp1251"), TextCodec::encodeLines(plain, TextCodec::TFileEncoding()) },
        { QStringLiteral("damaged"), TextCodec::encodeLines(damaged, TextCodec::TFileEncoding()) },
        { QStringLiteral("utf8-mark"), "\xEF\xBB\xBF" + (plain + bjork).join(QStringLiteral("\r\n")).toUtf8() },
        { QStringLiteral("utf8"), (bjork + plain).join(QStringLiteral("\n")).toUtf8() },
        { QStringLiteral("mixed"), "\xEF\xBB\xBF" + bjork.join(QStringLiteral("\r\n")).toUtf8() + "\r\n"
              + TextCodec::encodeLines(plain, TextCodec::TFileEncoding()) },
    };
    for (const char *target : { "fuzz_textcodec", "fuzz_loadlist", "fuzz_listedits" }) {
        for (const auto &[name, bytes] : seeds) {
            // The edit target reads its first byte as the choice of node and command.
            const bool edits = QByteArray(target) == "fuzz_listedits";
            for (char choice : edits ? QByteArray("\x01\x04\x07\x0a") : QByteArray(1, 0))
                write(root + QLatin1Char('/') + QString::fromLatin1(target), name + QString::number(int(choice)),
                      edits ? choice + bytes : bytes);
        }
    }
    return 0;
}
