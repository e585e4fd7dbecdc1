// language: CutSubstring, ExtractBetween, StripDelimited, trimming and position search.
#include "language.h"

#include "KsError.h"

#include <algorithm>
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

QString StripDelimited(const QString &open, QChar close, const QString &text)
{
    // The text in work is head + text[rest..]: head is what earlier passes kept, and no delimiter
    // starts inside it (an opening one may start in its last characters and end in the rest). Each
    // pass removes from the first opening through the first closing delimiter, or everything through
    // a closing one that comes first, and moves rest past that closing one. The searches in text only
    // move forward, so the whole is linear where searching the shortened text again was quadratic.
    const QStringView whole(text);
    QString head;
    qsizetype rest = 0;
    qsizetype nextOpen = -2, nextClose = -2; // first match in text at rest or later; -1 none, -2 not searched
    const auto next = [&](qsizetype &cached, auto needle) {
        if (cached == -2 || (cached >= 0 && cached < rest))
            cached = whole.indexOf(needle, rest);
        return cached;
    };
    for (bool firstPass = true;; firstPass = false) {
        // The first opening delimiter: one that starts in head, else the first in the rest.
        qsizetype openAt = -1;
        for (qsizetype k = std::min(open.size() - 1, head.size()); k >= 1 && openAt < 0; --k)
            if (head.endsWith(QStringView(open).first(k)) && whole.sliced(rest).startsWith(QStringView(open).sliced(k)))
                openAt = head.size() - k;
        if (openAt < 0 && !open.isEmpty() && next(nextOpen, QStringView(open)) >= 0)
            openAt = head.size() + nextOpen - rest;
        if (openAt < 0 && !firstPass)
            break;
        const qsizetype closeAt = next(nextClose, close); // never in head
        if (closeAt < 0) {
            if (openAt >= 0) { // unclosed: removed to the end
                if (openAt < head.size())
                    head.truncate(openAt);
                else
                    head += whole.sliced(rest, openAt - head.size());
                rest = text.size();
            }
            break;
        }
        if (openAt < 0 || head.size() + closeAt - rest < openAt) {
            head.clear(); // a closing delimiter first: everything through it goes
        } else if (openAt < head.size()) {
            head.truncate(openAt);
        } else {
            head += whole.sliced(rest, openAt - head.size());
        }
        rest = closeAt + 1;
        if (openAt < 0)
            break;
    }
    head += whole.sliced(rest);
    return head;
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
