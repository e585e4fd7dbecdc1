// language: the text routines that take field values out of list lines and quick-load entries.
#pragma once

#include <QString>

namespace language {

/// 1-based position of needle's first occurrence in text; 0 when absent or needle is empty.
qsizetype Pos(const QString &needle, const QString &text);

/// Removes characters with codes 0 to 32 from both ends.
QString Trim(const QString &text);

/// Removes the first occurrence of key; when key is absent, drops the first (key length - 1) characters.
QString CutSubstring(const QString &text, const QString &key);

/// Removes the first occurrence of key compared ignoring letter case; a text without it is kept whole
/// (file extensions: "Song.MP3" less ".mp3" is "Song").
QString RemoveFirstIgnoringCase(const QString &text, const QString &key);

/// The text between the first opening and the first closing delimiter, with the fall-backs for missing ones.
QString ExtractBetween(const QString &open, const QString &close, const QString &text);

/// Removes sections from an opening through a closing delimiter, repeatedly, while the opening one
/// occurs; a closing one before the first opening one is removed with all before it. Linear time.
QString StripDelimited(const QString &open, QChar close, const QString &text);

/// Decimal integer with leading blanks allowed and nothing after the digits;
/// throws KsError "'%s' is not a valid integer value" otherwise.
qint32 StrToInt(const QString &text);

} // namespace language
