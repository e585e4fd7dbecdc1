// FuzzSupport: what the fuzz targets share: a loaded list from bytes, and a failing check that aborts.
#pragma once

#include "CatalogueTree.h"
#include "KsError.h"
#include "OpenList.h"
#include "TextCodec.h"

#include <QByteArray>
#include <QCoreApplication>
#include <cstdio>
#include <cstdlib>

/// An invariant that does not hold is a finding: print it and abort so that libFuzzer keeps the input.
#define KS_FUZZ_CHECK(condition)                                                                                   \
    do {                                                                                                           \
        if (!(condition)) {                                                                                        \
            std::fprintf(stderr, "invariant failed: %s (%s:%d)\n", #condition, __FILE__, __LINE__);              \
            std::abort();                                                                                          \
        }                                                                                                          \
    } while (false)

namespace FuzzSupport {

/// Qt's converters want an application object; one for the whole run.
inline void ensureApplication()
{
    static int argc = 1;
    static char name[] = "fuzz";
    static char *argv[] = { name, nullptr };
    static QCoreApplication app(argc, argv);
}

/// Loads a list from bytes as LoadList loads a file; false when the load stopped with a message.
inline bool load(const QByteArray &bytes, TOpenList &list, TCatalogueTree &tree)
{
    LinesFile::TLinesText text;
    text.Lines = TextCodec::decodeLines(bytes, &text.Encoding);
    try {
        list.LoadLines(std::move(text), QStringLiteral("/fuzz/list.lst"), tree, TLoadContext{ QStringLiteral("/p/"), {}, {} });
        return true;
    } catch (const KsError &) {
        return false;
    }
}

/// The byte lines of a file as the reader splits them, after a leading byte-order mark.
inline QList<QByteArray> byteLines(QByteArray bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    QList<QByteArray> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\r' && bytes[i] != '\n')
            continue;
        lines.append(bytes.mid(start, i - start));
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < bytes.size())
        lines.append(bytes.mid(start));
    return lines;
}

} // namespace FuzzSupport
