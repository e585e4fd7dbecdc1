// StrUt1: WildPos, CutAtStar, MatchMask and the whole-name comparison of the file finder.
#include "StrUt1.h"

#include "language.h"

#include <algorithm>

namespace {

// Whether pattern fits text at index at (0-based), "?" fitting any character.
bool fitsAt(const QString &pattern, const QString &text, qsizetype at)
{
    for (qsizetype k = 0; k < pattern.size(); ++k)
        if (pattern.at(k) != u'?' && pattern.at(k) != text.at(at + k))
            return false;
    return true;
}

char16_t latinUpper(char16_t c)
{
    return c >= u'a' && c <= u'z' ? char16_t(c - u'a' + u'A') : c;
}

} // namespace

qsizetype WildPos(const QString &pattern, const QString &text)
{
    if (!pattern.contains(u'?'))
        return language::Pos(pattern, text);
    for (qsizetype k = 0; k + pattern.size() <= text.size(); ++k)
        if (fitsAt(pattern, text, k))
            return k + 1;
    return 0;
}

qsizetype CutAtStar(QString &mask)
{
    const qsizetype star = mask.indexOf(u'*');
    if (star < 0)
        return 0;
    mask.truncate(star);
    return star + 1;
}

bool MatchMask(const QString &nameIn, const QString &maskIn, bool ignoreCase)
{
    if (nameIn == maskIn)
        return true;
    // "*.ext" with a plain ASCII extension: the end of the name compared in place, as below after
    // upper-casing, when that end is ASCII too (only other characters can change length in upper case).
    const QStringView suffix = QStringView(maskIn).mid(1);
    const auto plain = [](QChar c) { return c.unicode() < 128 && c != u'*' && c != u'?'; };
    if (maskIn.startsWith(u'*') && !suffix.isEmpty() && std::all_of(suffix.begin(), suffix.end(), plain)) {
        if (nameIn.size() < suffix.size())
            return false;
        const QStringView end = QStringView(nameIn).right(suffix.size());
        if (!ignoreCase)
            return end == suffix;
        if (std::all_of(end.begin(), end.end(), [](QChar c) { return c.unicode() < 128; }))
            return end.compare(suffix, Qt::CaseInsensitive) == 0;
    }
    QString mask = maskIn;
    while (mask.contains(QLatin1String("**")))
        mask.replace(QLatin1String("**"), QLatin1String("*"));
    if (mask == QLatin1String("*"))
        return true;
    const QString name = ignoreCase ? nameIn.toUpper() : nameIn;
    if (ignoreCase)
        mask = mask.toUpper();

    // i and j index name and mask from 0.
    qsizetype i = 0;
    qsizetype j = 0;
    // Wildcards are the mask's alone: a "*" or "?" in the name is an ordinary character.
    while (i < name.size() && j < mask.size()) {
        if (mask.at(j) != u'*' && (name.at(i) == mask.at(j) || mask.at(j) == u'?')) {
            ++i;
            ++j;
        } else if (mask.at(j) == u'*') {
            QString segment = mask.mid(j + 1);
            if (CutAtStar(segment) == 0) {
                // The last segment fits the end of the rest of the name.
                const qsizetype rest = name.size() - i;
                return segment.size() <= rest && fitsAt(segment, name, name.size() - segment.size());
            }
            const qsizetype found = WildPos(segment, name.mid(i));
            if (found == 0)
                return false;
            i += found - 1 + segment.size();
            j += segment.size() + 1;
        } else {
            return false;
        }
    }
    if (i < name.size())
        return false;
    return j >= mask.size() || mask.mid(j) == QLatin1String("*");
}

bool SameName(const QString &name, const QString &other, bool ignoreCase)
{
    if (!ignoreCase || name.size() != other.size())
        return name == other;
    for (qsizetype k = 0; k < name.size(); ++k)
        if (latinUpper(name.at(k).unicode()) != latinUpper(other.at(k).unicode()))
            return false;
    return true;
}
