// ID3v2Tags: the ID3v2 tag at the start of an audio file: where it ends, the six text fields the tag
// editor shows, and a new image of the tag with those fields changed and every other frame kept.
#pragma once

#include "TagEditing.h"

#include <QByteArray>
#include <QByteArrayView>

namespace ID3v2Tags {

/// Bytes of a tag header (and of a footer).
constexpr qint64 HeaderSize = 10;

/// A tag header: the major version as stored and the bytes of the whole tag, header and footer
/// included; Size 0 when the bytes open no tag.
struct THeader
{
    int Version = 0;
    qint64 Size = 0;
    bool Exists() const { return Size > 0; }
    /// A version whose frames this program reads and writes (2.2, 2.3, 2.4).
    bool Editable() const { return Exists() && Version >= 2 && Version <= 4; }
};

/// The tag whose header opens bytes; none when they hold fewer than HeaderSize bytes or no sane header.
THeader ParseHeader(QByteArrayView bytes);

/// The tag that opens a file, when the file holds all of it; none otherwise. Throws KsError when the
/// file cannot be opened or read.
THeader ReadHeader(const QString &path);

/// The text of the frames the editor shows, from a tag image: title, artist, album, recording time,
/// track and the comment without a description; empty for a frame the tag lacks.
TagEditing::TTagFields ReadFields(const QByteArray &tag);

/// A new image of tag with the frames of each field that differs from ReadFields(tag) replaced by one
/// Unicode frame (by none for an empty field). The version stays 2.3 or 2.4; a 2.2 tag becomes 2.3.
/// Every other frame is kept: a rebuild that would lose one, or that reads back other text, is refused.
struct TRebuilt
{
    QByteArray Tag; ///< the new image; empty when no field changed or the rebuild was refused
    QString Refusal; ///< why no image was built; empty otherwise
};
TRebuilt Rebuild(const QByteArray &tag, const TagEditing::TTagFields &fields);

} // namespace ID3v2Tags
