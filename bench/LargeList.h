// LargeList: a generated list of 25,000 albums and 100,000 tracks shared by the benchmarks.
#pragma once

#include "LinesFile.h"

#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

namespace {

using namespace Qt::StringLiterals;

constexpr int kAlbums = 25000;
constexpr int kTracksPerAlbum = 4;

QString albumTitle(int i)
{
    return i % 2 ? u"Альбом номер %1 — зимние песни"_s.arg(i) : u"Album number %1, Winter Songs"_s.arg(i);
}

QString trackTitle(int album, int k)
{
    return k % 2 ? u"Песня %1 из альбома %2"_s.arg(k + 1).arg(album) : u"Track %1 of album %2"_s.arg(k + 1).arg(album);
}

// The generated list, written once per run to a temporary folder, in code page 1251 with CR LF.
struct LargeList
{
    QTemporaryDir dir;
    QString fileName;
    qsizetype lineCount = 0;
    qint64 bytes = 0;

    LargeList()
    {
        fileName = dir.filePath(u"large.lst"_s);
        QStringList lines;
        lines.reserve(kAlbums * (8 + 4 * kTracksPerAlbum));
        for (int a = 0; a < kAlbums; ++a) {
            lines << u"-newalbum"_s << (a % 2 ? u"author: Ансамбль Север"_s : u"author: Ensemble Nord"_s)
                  << u"album: "_s + albumTitle(a) << u"url: "_s << u"discriptionfile: notes\\album%1.htm"_s.arg(a)
                  << u"nt: %1"_s.arg(kTracksPerAlbum) << u"image: C:\\Covers\\album%1.jpg"_s.arg(a);
            for (int k = 0; k < kTracksPerAlbum; ++k)
                lines << u"track: "_s + trackTitle(a, k) << u"size: 0%1:4%2"_s.arg(k).arg(a % 10)
                      << u"file: Music\\%1\\%2.mp3"_s.arg(a).arg(k) << u"dfile: "_s;
            lines << u"--endofalbum"_s;
        }
        lineCount = lines.size();
        LinesFile::writeLines(fileName, lines);
        bytes = QFile(fileName).size();
    }
};

const LargeList &largeList()
{
    static const LargeList list;
    return list;
}

// A damaged list of about the given size whose albums overlap: every eight lines a "-newalbum" whose
// count takes all the lines after it as its tracks.
[[maybe_unused]] QByteArray overlappingList(qint64 bytes)
{
    const QList<QByteArray> unit{ "-newalbum", "author: a", "album: x", "url: ", "discriptionfile: ", "nt: %1",
                                  "image: ", "track: t" };
    const qint64 units = bytes / 64;
    QByteArray out;
    for (qint64 u = 0; u < units; ++u) {
        const qint64 remaining = (units - u) * 8 - 7;
        for (const QByteArray &line : unit)
            out += (line.contains('%') ? QByteArray("nt: ") + QByteArray::number(remaining / 4) : line) + "\r\n";
    }
    return out;
}

} // namespace
