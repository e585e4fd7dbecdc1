// StrUt1: file names against masks with the wildcards "*" (any run of characters) and "?" (any one).
#pragma once

#include <QString>

/// The first position (from 1) at which pattern occurs in text, "?" standing for any one character;
/// 0 when it does not occur.
qsizetype WildPos(const QString &pattern, const QString &text);

/// The position (from 1) of the first "*" in mask, 0 when there is none; when there is one, mask is
/// cut to the part before it.
qsizetype CutAtStar(QString &mask);

/// Whether name fits mask. Each segment between two stars takes its first occurrence; the segment
/// after the last star is anchored at the end of the name; a "*" or "?" in the name is an ordinary
/// character. ignoreCase compares upper-case forms.
bool MatchMask(const QString &name, const QString &mask, bool ignoreCase);

/// Whole-name comparison: exact, or ignoring the case of the Latin letters a-z only.
bool SameName(const QString &name, const QString &other, bool ignoreCase);
