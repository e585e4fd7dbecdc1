// TextCodec: code page 1251 and the byte-order-marked UTF-8 used for list files and tags.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace TextCodec {

/// Decodes code page 1251 bytes; every byte maps to one character (NUL included).
QString decode1251(QByteArrayView bytes);

/// True when every character of text has a code page 1251 byte.
bool fits1251(const QString &text);

/// Encodes text in code page 1251; characters without a byte become '?'.
QByteArray encode1251Lossy(const QString &text);

/// Decodes a whole text file: UTF-8 when it starts with the UTF-8 byte-order mark and is valid UTF-8,
/// else code page 1251 (which keeps every byte).
QString decodeFile(QByteArrayView bytes);

/// Encodes a whole text file: code page 1251 when every character fits, else UTF-8 with the mark.
QByteArray encodeFile(const QString &text);

} // namespace TextCodec
