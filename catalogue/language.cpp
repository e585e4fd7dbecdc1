// language: CutSubstring, ExtractBetween, StripDelimited, trimming and position search.
#include "language.h"

#include "KsError.h"

#include <limits>

namespace language {

qsizetype Pos(const QString &needle, const QString &text)
{
    if (needle.isEmpty())
        return 0;
    return text.indexOf(needle, 0, Qt::CaseSensitive) + 1;
}

QString Trim(const QString &text)
{
    qsizetype b = 0;
    qsizetype e = text.size();
    while (b < e && text.at(b).unicode() <= 32)
        ++b;
    while (e > b && text.at(e - 1).unicode() <= 32)
        --e;
    if (b == 0 && e == text.size())
        return text;
    return text.mid(b, e - b);
}

QString CutSubstring(const QString &text, const QString &key)
{
    const qsizetype p = Pos(key, text);
    const qsizetype len = key.size();
    if (p > 0)
        return text.left(p - 1) + text.mid(p - 1 + len);
    // Absent key: positions i > len - 1 are kept.
    if (len <= 1)
        return text;
    return text.mid(len - 1);
}

QString RemoveFirstIgnoringCase(const QString &text, const QString &key)
{
    const qsizetype at = key.isEmpty() ? -1 : text.indexOf(key, 0, Qt::CaseInsensitive);
    return at < 0 ? text : text.left(at) + text.mid(at + key.size());
}

QString ExtractBetween(const QString &open, const QString &close, const QString &text)
{
    qsizetype a = Pos(open, text);
    qsizetype b = Pos(close, text);
    if (b == 0 && a > 0)
        b = text.size();
    if (b < a)
        a = 1;
    const qsizetype first = a + 1;
    const qsizetype last = b - 1;
    if (last < first)
        return QString();
    return text.mid(first - 1, last - first + 1);
}

QString StripDelimited(const QString &open, const QString &close, const QString &text)
{
    QString s = text;
    do {
        qsizetype a = Pos(open, s);
        qsizetype b = Pos(close, s);
        if (b == 0 && a > 0)
            b = s.size();
        if (a > b)
            a = 1;
        // Keep positions i < a or i > b (1-based). With a = 0 and b > 0 this removes 1..b;
        // with both 0 nothing is removed.
        if (b > 0) {
            const qsizetype from = a > 0 ? a : 1;
            s = s.left(from - 1) + s.mid(b);
        }
    } while (Pos(open, s) > 0);
    return s;
}

qint32 StrToInt(const QString &text)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && text.at(i) == u' ')
        ++i;
    bool negative = false;
    if (i < n && (text.at(i) == u'-' || text.at(i) == u'+')) {
        negative = text.at(i) == u'-';
        ++i;
    }
    if (i >= n)
        throw KsError::notAnInteger(text);
    qint64 value = 0;
    for (; i < n; ++i) {
        const char16_t c = text.at(i).unicode();
        if (c < u'0' || c > u'9')
            throw KsError::notAnInteger(text);
        value = value * 10 + (c - u'0');
        if (value > qint64(std::numeric_limits<qint32>::max()) + 1)
            throw KsError::notAnInteger(text);
    }
    if (negative)
        value = -value;
    if (value > std::numeric_limits<qint32>::max() || value < std::numeric_limits<qint32>::min())
        throw KsError::notAnInteger(text);
    return qint32(value);
}

} // namespace language
