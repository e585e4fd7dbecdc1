// CatalogueTestUtil: small file helpers shared by the catalogue tests.
#pragma once

#include "CatalogueTree.h"
#include "TextCodec.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>

namespace CatalogueTestUtil {

inline void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        qFatal("cannot write test file %s", qPrintable(path));
}

inline QByteArray readBytes(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray("<missing>");
    return f.readAll();
}

/// Lines in code page 1251, each ending with CR LF: the bytes a saved list has.
inline QByteArray listBytes(const QStringList &lines)
{
    QByteArray out;
    for (const QString &line : lines)
        out += TextCodec::encode1251Lossy(line) + "\r\n";
    return out;
}

/// The eight + four-per-track lines of one album block as writers produce them.
inline QStringList albumBlock(const QString &author, const QString &title, const QStringList &tracks)
{
    QStringList lines { QStringLiteral("-newalbum"), QStringLiteral("author: ") + author,
        QStringLiteral("album: ") + title, QStringLiteral("url: "), QStringLiteral("discriptionfile: "),
        QStringLiteral("nt: %1").arg(tracks.size()), QStringLiteral("image: ") };
    for (const QString &t : tracks)
        lines << QStringLiteral("track: ") + t << QStringLiteral("size: 01:00")
              << QStringLiteral("file: ") + t + QStringLiteral(".mp3") << QStringLiteral("dfile: ");
    lines << QStringLiteral("--endofalbum");
    return lines;
}

/// Every node's text in pre-order, tracks indented by two blanks.
inline QStringList texts(const TCatalogueTree &tree)
{
    QStringList out;
    for (int i = 0; i < tree.NodeCount(); ++i) {
        const TTreeNode *n = tree.NodeByIndex(i);
        out << (n->Level() ? QStringLiteral("  ") : QString()) + n->Text();
    }
    return out;
}

} // namespace CatalogueTestUtil
